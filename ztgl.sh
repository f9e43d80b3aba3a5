#!/usr/bin/env bash
# Set-up for a fresh Debian 12 machine.
#   ./ztgl.sh run    install what is missing, build, lay the demo program folder, start ztgl there
#   ./ztgl.sh test   install what is missing, build, run every test through ctest
#   ./ztgl.sh package  install what is missing, build the Debian package in build-package, check it
#   ./ztgl.sh sanitize  the same suite built with clang, AddressSanitizer and UndefinedBehaviorSanitizer
#   ./ztgl.sh fuzz [RUNS]  each fuzz target on its seed corpus for RUNS inputs (default 5000)
#                      and jetfile_mutations for JET_MUTATIONS damaged Jet files (default 200)
#   ./ztgl.sh coverage  the suite built with gcc --coverage, line coverage of src/ and app/
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")"
# The programs take their folder from ZTGL_HOME when it is set; the demo and the tests lay their own.
unset ZTGL_HOME

PACKAGES=(build-essential cmake qt6-base-dev libqt6sql6-sqlite libqt6sql6-odbc unixodbc-dev tdsodbc
          libsqlite3-dev libsqliteodbc libgtest-dev libgmock-dev libbenchmark-dev fonts-noto-cjk fonts-wqy-zenhei qt6-translations-l10n
          xvfb xauth file mdbtools-dev mdbtools pkg-config)
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
    cp -f "$BUILD_DIR/bin/ztgl" "$BUILD_DIR/bin/ztgl-admin" "$BUILD_DIR/bin/ztgl-jetread" "$DEMO_DIR/"
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

# A release build of its own with Debian's hardening flags, packed by CPack, installed into a
# fresh root by the package test, and checked by lintian where it is installed.
package() {
    install_missing
    local dir=${ZTGL_PACKAGE_DIR:-build-package}
    local flags="DEB_BUILD_MAINT_OPTIONS=hardening=+all DEB_CXXFLAGS_MAINT_STRIP=-g"
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DZTGL_BUILD_TESTS=OFF -DZTGL_BUILD_BENCH=OFF \
        -DCMAKE_CXX_FLAGS="$(env $flags dpkg-buildflags --get CPPFLAGS) $(env $flags dpkg-buildflags --get CXXFLAGS)" \
        -DCMAKE_EXE_LINKER_FLAGS="$(env $flags dpkg-buildflags --get LDFLAGS)" >/dev/null
    cmake --build "$dir" -j"$(nproc)"
    rm -f "$dir"/ztgl_*.deb
    (cd "$dir" && cpack -G DEB >/dev/null)
    local deb
    deb=$(echo "$dir"/ztgl_*.deb)
    bash tests/package/install-test.sh "$deb" || [ $? -eq 77 ]  # 77: skipped what this machine cannot
    if command -v lintian >/dev/null; then
        lintian --fail-on error,warning "$deb"
    else
        echo "lintian is not installed: apt-get install lintian to check the package"
    fi
    echo "Package: $deb   install it with: sudo apt install ./$deb"
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
    # Damaged Jet files through the engine and its reader process: a program of its own (one process per
    # input), a fixed number of inputs from a fixed seed, a reader falling silent stopped after 1 s.
    if ( cd "$work" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
             LSAN_OPTIONS="suppressions=$OLDPWD/tests/lsan.supp" \
             "$OLDPWD/$SAN_BUILD_DIR/bin/jetfile_mutations" "$OLDPWD/tests/data/jet" "${JET_MUTATIONS:-200}" 1 1000 ) \
         >"$work/jetfile_mutations.log" 2>&1; then
        echo "jetfile_mutations: $(grep -o '[0-9]* inputs in [0-9]* s' "$work/jetfile_mutations.log")"
    else
        status=1
        tail -n 40 "$work/jetfile_mutations.log" >&2
        echo "jetfile_mutations: FINDING, see $work/jetfile_mutations.log" >&2
    fi
    [ $status -eq 0 ] && rm -rf "$work"
    return $status
}

# Line coverage of the program (src/ and app/) by the whole suite: a third build folder compiled by
# gcc with --coverage and no optimisation, the suite run once, gcovr's summary printed and the
# per-file table written to the build folder (coverage.txt). Files under tests/, bench/ and fuzz/
# and what the build generates are not counted.
coverage() {
    PACKAGES+=(gcovr)
    install_missing
    local dir=${ZTGL_COV_BUILD_DIR:-build-cov} status=0
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O0 --coverage -DNDEBUG" \
        -DCMAKE_EXE_LINKER_FLAGS=--coverage -DZTGL_BUILD_BENCH=OFF >/dev/null
    cmake --build "$dir" -j"$(nproc)"
    find "$dir" -name '*.gcda' -delete
    ctest --test-dir "$dir" --output-on-failure -j"$(nproc)" --timeout 600 >"$dir/ctest.log" 2>&1 || status=1
    [ $status -eq 0 ] || { tail -n 40 "$dir/ctest.log" >&2; echo "Some tests failed: the figures below leave them out." >&2; }
    # The compiler cache writes source paths relative to the folder each part was compiled in, so
    # gcov runs once per part, from that folder; the parts' figures are then added up.
    local part parts=()
    for part in src app tests; do
        gcovr -r . --object-directory "$dir/$part" "$dir/$part" --filter src/ --filter app/ \
            -j"$(nproc)" --json "$dir/coverage-$part.json"
        parts+=(-a "$dir/coverage-$part.json")
    done
    gcovr -r . "${parts[@]}" --txt "$dir/coverage.txt" --json "$dir/coverage.json" --print-summary
    echo "Per file: $dir/coverage.txt"
    return $status
}

case "${1:-}" in
    run) run ;;
    test) test_all ;;
    package) package ;;
    sanitize) sanitize ;;
    fuzz) fuzz "${2:-}" ;;
    coverage) coverage ;;
    *) echo "usage: $0 run|test|package|sanitize|fuzz [RUNS]|coverage" >&2; exit 2 ;;
esac
