#!/bin/sh
# Sets up a Debian 12 machine for this project, builds it, and then either
# runs the tests or the picker on the demo collection.
#
#   ./build.sh test      install what is missing, build, run every test
#   ./build.sh sanitize  the same on a Debug build with address and
#                        undefined-behaviour checks, in build-sanitize/
#   ./build.sh run       install what is missing, build, open the picker on
#                        the demo collection (see tools/run-picker.sh)
#
# A second run installs nothing and rebuilds only what changed.
set -eu

cd "$(dirname "$0")"
top=$(pwd)
build="${HUEFORM_BUILD_DIR:-$top/build}"

packages="cmake g++ make pkg-config qt6-base-dev libqt6sql6-sqlite libsqlite3-dev libxml2-dev libboost-dev libicu-dev fonts-dejavu-core file"
# The run also needs a display server when there is no display.
run_packages="xvfb xauth"

install_missing() {
    missing=""
    for p in $packages; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
            missing="$missing $p"
        fi
    done
    [ -z "$missing" ] && return 0
    echo "Installing:$missing"
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -q
    # shellcheck disable=SC2086
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
}

# configure_and_build <build type> [<CMake option>...]
configure_and_build() {
    type=$1
    shift
    cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE="$type" -DHUEFORM_WERROR=ON "$@" >/dev/null
    cmake --build "$build" --parallel "$(nproc)"
}

run_tests() {
    cd "$build"
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" --timeout 300
}

case "${1:-}" in
    test)
        install_missing
        configure_and_build RelWithDebInfo
        run_tests
        ;;
    sanitize)
        build="${HUEFORM_SANITIZE_BUILD_DIR:-$top/build-sanitize}"
        install_missing
        configure_and_build Debug -DHUEFORM_SANITIZE=ON
        # Every report ends the program that makes it (leaks at its exit),
        # so the test that ran it fails, with the stack of the report.
        ASAN_OPTIONS="detect_leaks=1:halt_on_error=1"
        LSAN_OPTIONS="suppressions='$top/tests/lsan-suppressions.txt':print_suppressions=0"
        UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
        export ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS
        run_tests
        ;;
    run)
        packages="$packages $run_packages"
        install_missing
        configure_and_build RelWithDebInfo
        "$top/tools/run-picker.sh" "$build"
        ;;
    *)
        echo "usage: $0 test|sanitize|run" >&2
        exit 2
        ;;
esac
