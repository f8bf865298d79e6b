#!/usr/bin/env bash
# Sets up, builds and runs Korvane.
#   ./korvane.sh [args...]   build, then run the desktop program korvane with the arguments (a file to open)
#   ./korvane.sh test        build, then run every test
#   ./korvane.sh bench       build, then run the benchmarks (with OpenCV beside the image functions)
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(cmake ninja-build ccache g++ pkg-config libgtest-dev libbenchmark-dev locales zlib1g-dev libpng-dev
    libjpeg62-turbo-dev libfreetype-dev libfontconfig-dev fonts-liberation libwxgtk3.2-dev libcanberra-dev xvfb xauth)
BUILD_DIR=build
# OpenCV and SQLite are used by the benchmarks only, for comparison.
[ "${1:-}" = "bench" ] && PACKAGES+=(libopencv-core-dev libopencv-imgproc-dev libopencv-imgcodecs-dev libsqlite3-dev)

install_missing_packages() {
    local missing=()
    for package in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Korvane needs these packages. Install them, then run this again:"
        echo "  sudo apt-get install -y ${missing[*]}"
        exit 1
    fi
    echo "Installing ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
}

configure_and_build() {
    local generator=()
    command -v ninja >/dev/null && generator=(-G Ninja)
    if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
        cmake -S . -B "$BUILD_DIR" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DKORVANE_WERROR="${KORVANE_WERROR:-OFF}"
    fi
    cmake --build "$BUILD_DIR" --parallel "$(nproc)"
}

install_missing_packages
configure_and_build

if [ "${1:-}" = "test" ]; then
    ctest --test-dir "$BUILD_DIR" --output-on-failure --timeout 300 -j "$(nproc)"
elif [ "${1:-}" = "bench" ]; then
    shift
    "$BUILD_DIR/bin/KorvaneCoreBench" "$@"
    "$BUILD_DIR/bin/KorvaneIplBench" "$@"
    "$BUILD_DIR/bin/KorvaneFormatsBench" "$@"
    "$BUILD_DIR/bin/KorvaneSceneBench" "$@"
    xvfb-run -a "$BUILD_DIR/bin/KorvaneWindowBench" "$@"
else
    # The desktop program; without a display it says so and exits non-zero (kortool works on files without one).
    exec "$BUILD_DIR/bin/korvane" "$@"
fi
