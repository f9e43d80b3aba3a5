#!/usr/bin/env bash
# Set-up for a fresh Debian 12 machine.
#   ./ztgl.sh run    install what is missing, build, lay the demo program folder, start ztgl there
#   ./ztgl.sh test   install what is missing, build, run every test through ctest
#   ./ztgl.sh package  install what is missing, build the Debian package in build-package, check it
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

case "${1:-}" in
    run) run ;;
    test) test_all ;;
    package) package ;;
    *) echo "usage: $0 run|test|package" >&2; exit 2 ;;
esac
