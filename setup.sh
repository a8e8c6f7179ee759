#!/usr/bin/env bash
# Installs what the build needs and is missing, builds, and then either
# starts the program (./setup.sh run) or runs every test (./setup.sh test).
set -euo pipefail
cd "$(dirname "$0")"

mode=${1:-}
case "$mode" in
run | test) ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac

# Qt for the core and the windows, Qt's own Japanese translation for the
# standard dialogs, and a Japanese font so the windows and the pages can be
# read. The desktop file tools check the desktop entry and the AppStream file.
packages=(build-essential cmake qt6-base-dev qt6-webengine-dev libgl-dev fonts-noto-cjk
    qt6-translations-l10n desktop-file-utils appstream)
# Benchmarks (bench/) and the whole-process measurement; clang and its
# sanitizer and libFuzzer runtimes for the fuzz targets (fuzz/run.sh).
packages+=(libbenchmark-dev hyperfine time clang libclang-rt-14-dev)
# tidy checks the shipped designs' pages.
packages+=(tidy)

install_missing() {
    local missing=()
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

install_missing "${packages[@]}"

build=build
if [ "$mode" = test ]; then
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRINDLEWICK_WERROR=ON
else
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" --parallel "$(nproc)"

if [ "$mode" = test ]; then
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" --output-on-failure
    # The same tests built with AddressSanitizer, LeakSanitizer and UBSan, in
    # their own folder. -O1 and line tables only keep the build short; tests
    # labelled no-sanitizer cannot run there (see tests/CMakeLists.txt).
    cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" \
        -DBRINDLEWICK_WERROR=ON -DBRINDLEWICK_SANITIZE=ON -DBRINDLEWICK_BUILD_BENCH=OFF
    cmake --build build-asan --parallel "$(nproc)"
    QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1 \
        UBSAN_OPTIONS=print_stacktrace=1 LSAN_OPTIONS=suppressions="$PWD/tests/lsan.supp" \
        ctest --test-dir build-asan --output-on-failure --label-exclude no-sanitizer
    exit
fi

exec "$build/brindlewick"
