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
# GIO, found with pkg-config, starts the desktop's text editor for the page
# source the way the desktop does.
packages+=(libglib2.0-dev pkg-config)
# Benchmarks (bench/) and the whole-process measurement; clang and its
# sanitizer and libFuzzer runtimes for the fuzz targets (fuzz/run.sh).
packages+=(libbenchmark-dev hyperfine time clang libclang-rt-14-dev)
# tidy checks the shipped designs' pages; clang-format and clang-tidy (run by
# a Python script) check the sources: the tests labelled style.
packages+=(tidy clang-format clang-tidy python3)
# The page check (tests/pages, label pages) drives Debian's Chromium from Node.
if [ "$mode" = test ]; then
    packages+=(chromium)
    command -v npm >/dev/null || packages+=(nodejs npm)
fi
# The package check (tests/package, label package) runs lintian on the
# package and man on its manual pages.
if [ "$mode" = test ]; then
    packages+=(lintian man-db)
fi

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

# The page check's packages, pinned by its package-lock.json, whenever npm has
# not installed that lock yet. None of them may download a browser.
if [ "$mode" = test ] && [ ! tests/pages/node_modules/.package-lock.json -nt tests/pages/package-lock.json ]; then
    (cd tests/pages && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund)
fi

# The builds are the presets of CMakePresets.json: build/ (warnings are errors
# for the test run), and for the tests also build-asan/.
if [ "$mode" = test ]; then
    cmake --preset test
    cmake --build --preset test --parallel "$(nproc)"
    # Every test, the layout and clang-tidy's checks among them (label style).
    ctest --preset test
    # The same tests built with AddressSanitizer, LeakSanitizer and UBSan, in
    # their own folder; tests labelled no-sanitizer cannot run there and those
    # labelled style need not run twice (see tests/CMakeLists.txt).
    cmake --preset asan
    cmake --build --preset asan --parallel "$(nproc)"
    ctest --preset asan
    exit
fi

cmake --preset default
cmake --build --preset default --parallel "$(nproc)"
exec build/brindlewick
