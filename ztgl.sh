#!/usr/bin/env bash
# Set-up for a fresh Debian 12 machine.
#   ./ztgl.sh run    install what is missing, build, lay the demo program folder, start ztgl there
#   ./ztgl.sh test   install what is missing, build, run every test through ctest
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")"

PACKAGES=(build-essential cmake qt6-base-dev libqt6sql6-sqlite libqt6sql6-odbc unixodbc-dev tdsodbc
          libsqlite3-dev libsqliteodbc libgtest-dev libgmock-dev libbenchmark-dev fonts-noto-cjk qt6-translations-l10n
          xvfb xauth mdbtools-dev mdbtools pkg-config)
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

case "${1:-}" in
    run) run ;;
    test) test_all ;;
    *) echo "usage: $0 run|test" >&2; exit 2 ;;
esac
