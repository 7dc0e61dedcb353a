#!/usr/bin/env bash
# Sets up a Debian 12 or Ubuntu machine for Tessarin, builds it, and runs it or its tests.
#   ./dev.sh run        install what is missing, build, start the game
#   ./dev.sh test       install what is missing, build, run every test (the web page's in three browsers among them)
#   ./dev.sh web        install what is missing, build the web page and serve it on 127.0.0.1 (PORT, 8080)
#   ./dev.sh sanitize   the same tests built with AddressSanitizer and UBSan
#   ./dev.sh fuzz       each fuzz target for FUZZ_SECONDS (60) from its seeds, with clang's libFuzzer
#   ./dev.sh windows    the Windows program with MinGW-w64, its tests under Wine on Xvfb, the installer and zip,
#                       and an install, start and uninstall of the installer under Wine
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"

# Build: compiler, CMake, Qt 6, giflib and libjpeg-turbo (the picture decoders) and the test and benchmark libraries.
# Tests: the desktop-file and AppStream validators, dpkg-dev, file and lintian for the Debian package, Xvfb and XCB
# for the start-up benchmark, xdotool to answer the real program's boxes; D-Bus, the accessibility bus and its Python
# client for the screen-reader test, and dbus-launch, which the program must not make libdbus start where no session
# bus runs. Fuzzing: clang with its libFuzzer and sanitizer runtimes.
packages=(cmake g++ make pkg-config libgtest-dev libbenchmark-dev qt6-base-dev
          libgif-dev libjpeg-dev libqt6gui6 fonts-dejavu-core desktop-file-utils appstream dpkg-dev file lintian
          libxcb1-dev xvfb xauth xdotool dbus dbus-x11 at-spi2-core python3-pyatspi gir1.2-atspi-2.0
          clang libclang-rt-14-dev)
# The web page: Debian's emscripten (its tools run on node with Debian's node modules), and the browsers the page's
# tests run in, driven from node by the npm packages that tests/web/package-lock.json pins: Chromium, Firefox ESR, and
# WebKitGTK's MiniBrowser with its WebDriver, on Xvfb (above) under openbox.
web_packages=(emscripten binaryen chromium firefox-esr webkit2gtk-driver openbox)
# Windows only: the cross compiler, Wine to run the tests, NSIS for the installer, Wine's own fonts, and ImageMagick
# to look at the window.
windows_packages=(g++-mingw-w64-x86-64 wine wine64 nsis fonts-wine imagemagick)

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    # node and npm may come from another source than Debian's (its own npm then comes with node).
    command -v node >/dev/null || missing+=(nodejs)
    command -v npm >/dev/null || missing+=(npm)
    [ ${#missing[@]} -eq 0 ] && return
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() {
    local preset=$1
    local werror=OFF
    [ -n "${CI:-}" ] && werror=ON
    cmake --preset "$preset" -DTESSARIN_WERROR="$werror" >/dev/null
    cmake --build --preset "$preset" --parallel "$(nproc)"
}

# One Wine prefix and one display for the tests, the installer check and the test discovery in the build.
windows() {
    packages+=("${windows_packages[@]}")
    install_missing
    local werror=OFF
    [ -n "${CI:-}" ] && werror=ON
    cmake --preset windows -DTESSARIN_WERROR="$werror" >/dev/null
    xvfb-run -a -s "-screen 0 1280x1100x24" packaging/windows/wine-session bash -c '
        set -euo pipefail
        cmake --build --preset windows --parallel "$1"
        ctest --preset windows --parallel "$1"
        (cd build/windows && cpack -C Release)
        packaging/windows/install_test.sh build/windows/tessarin-*-win64.exe' windows "$(nproc)"
}

# The page's test driver, as the lock file pins it.
web_test_modules() {
    [ tests/web/node_modules/.package-lock.json -nt tests/web/package-lock.json ] && return
    (cd tests/web && npm ci --no-audit --no-fund --loglevel=error)
}

# Every test: the web page's tests hold its board against the default build's (board_pixels), so that goes first.
all_tests() {
    packages+=("${web_packages[@]}")
    install_missing
    web_test_modules
    build default
    build web
    ctest --preset default --parallel "$(nproc)"
    ctest --preset web
}

case "${1:-}" in
    run)      install_missing; build default; exec build/default/src/tessarin ;;
    test)     all_tests ;;
    web)      packages+=("${web_packages[@]}"); install_missing; build web
              exec node tools/serve_page.mjs build/web/page "${PORT:-8080}" ;;
    sanitize) install_missing; build sanitize; ctest --preset sanitize --parallel "$(nproc)" ;;
    fuzz)     install_missing; fuzz/run.sh "${FUZZ_SECONDS:-60}" ;;
    windows)  windows ;;
    *)        echo "usage: $0 run|test|web|sanitize|fuzz|windows" >&2; exit 2 ;;
esac
