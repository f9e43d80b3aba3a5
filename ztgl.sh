#!/usr/bin/env bash
# Set-up for a fresh Debian 12 machine.
#   ./ztgl.sh run    install what is missing, build, lay the demo program folder, start ztgl there
#   ./ztgl.sh test   install what is missing, build, run every test through ctest
#   ./ztgl.sh sanitize  the same suite built with clang, AddressSanitizer and UndefinedBehaviorSanitizer
#   ./ztgl.sh fuzz [RUNS]  each fuzz target on its seed corpus for RUNS inputs (default 5000)
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")"

PACKAGES=(build-essential cmake qt6-base-dev libqt6sql6-sqlite libqt6sql6-odbc unixodbc-dev tdsodbc
          libsqlite3-dev libsqliteodbc libgtest-dev libgmock-dev libbenchmark-dev fonts-noto-cjk qt6-translations-l10n
          xvfb xauth)
BUILD_DIR=${ZTGL_BUILD_DIR:-build}
DEMO_DIR=${ZTGL_DEMO_DIR:-$BUILD_DIR/demo}

install_missing() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() {
    cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$BUILD_DIR" -j"$(nproc)"
}

run() {
    install_missing
    build
    if [ ! -f "$DEMO_DIR/kxconfig.ini" ]; then
        "$BUILD_DIR/bin/ztgl-admin" init-demo "$DEMO_DIR"
    fi
    # The program folder is the folder of the running program: it holds the configuration and data.
    cp -f "$BUILD_DIR/bin/ztgl" "$BUILD_DIR/bin/ztgl-admin" "$DEMO_DIR/"
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
        echo "No display here (neither DISPLAY nor WAYLAND_DISPLAY is set)."
        echo "To start the program on a virtual screen:  xvfb-run -a $DEMO_DIR/ztgl"
        exit 1
    fi
    exec "$DEMO_DIR/ztgl"
}

test_all() {
    install_missing
    build
    ctest --test-dir "$BUILD_DIR" --output-on-failure -j"$(nproc)" --timeout 300
}

# --- sanitize and fuzz: a second build folder, clang with AddressSanitizer and
# UndefinedBehaviorSanitizer on every target (plus libFuzzer's coverage, so that one build serves
# both). Any report ends the program that made it and fails the run: halt_on_error, UBSan without
# recovery, and every report also written under the run's report folder, which must stay empty
# (a report of a child process whose exit code a test does not look at still counts).
SAN_BUILD_DIR=${ZTGL_SAN_BUILD_DIR:-build-san}
SAN_PACKAGES=(clang libclang-rt-14-dev)

build_sanitized() {
    PACKAGES+=("${SAN_PACKAGES[@]}")
    install_missing
    cmake -S . -B "$SAN_BUILD_DIR" -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only -DNDEBUG" \
        -DZTGL_BUILD_FUZZERS=ON -DZTGL_BUILD_BENCH=OFF >/dev/null
    cmake --build "$SAN_BUILD_DIR" -j"$(nproc)" "$@"
}

# Leaks are reported too; tests/lsan.supp may name leaks inside the libraries below the program.
sanitizer_env() {
    local reports=$1
    export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:check_initialization_order=1:detect_stack_use_after_return=1:exitcode=86:log_path=$reports/asan"
    export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:exitcode=86:log_path=$reports/ubsan"
    export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
}

# Fails when a sanitizer wrote a report.
check_reports() {
    local reports=$1
    if compgen -G "$reports/*" >/dev/null; then
        echo "Sanitizer reports:" >&2
        cat "$reports"/* >&2
        return 1
    fi
}

sanitize() {
    build_sanitized
    local reports status=0
    reports=$(mktemp -d)
    ( sanitizer_env "$reports"
      ctest --test-dir "$SAN_BUILD_DIR" --output-on-failure -j"$(nproc)" --timeout 600 ) || status=1
    check_reports "$reports" || status=1
    rm -rf "$reports"
    return $status
}

# Every target runs RUNS inputs from a fixed seed, starting from its corpus in fuzz/corpus; what it
# learns goes to a scratch folder, never into the repository. A finding (crash-…, timeout-…, leak-…)
# stays in the scratch folder, whose name is printed, and fails the run.
fuzz() {
    local runs=${1:-5000}
    build_sanitized --target fuzzers
    local work status=0 exe name
    work=$(mktemp -d)
    for exe in "$PWD/$SAN_BUILD_DIR"/bin/fuzz_*; do
        name=$(basename "$exe")
        mkdir -p "$work/$name"
        if ( cd "$work/$name" &&
             ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
             LSAN_OPTIONS="suppressions=$OLDPWD/tests/lsan.supp" \
             "$exe" -runs="$runs" -seed=1 -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$work/$name/" \
                 "$work/$name" "$OLDPWD/fuzz/corpus/${name#fuzz_}" ) >"$work/$name.log" 2>&1; then
            echo "$name: $(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$work/$name.log")"
        else
            status=1
            tail -n 40 "$work/$name.log" >&2
            echo "$name: FINDING, kept in $work/$name" >&2
        fi
    done
    [ $status -eq 0 ] && rm -rf "$work"
    return $status
}

case "${1:-}" in
    run) run ;;
    test) test_all ;;
    sanitize) sanitize ;;
    fuzz) fuzz "${2:-}" ;;
    *) echo "usage: $0 run|test|sanitize|fuzz [RUNS]" >&2; exit 2 ;;
esac
