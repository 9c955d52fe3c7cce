#!/usr/bin/env bash
# Orvella's one entry point for developers and users on Debian 12:
#   bash build.sh run [DATA_FOLDER]   install what is needed, build, make the data folder if missing, start Orvella in it
#   bash build.sh test                install what is needed, build, run every test (ctest)
#   bash build.sh bench               install what is needed, build, run the benchmarks and print their table
#   bash build.sh build               install what is needed and build only
#   bash build.sh windows             cross-build the Windows programs, the installer and the portable .zip
#                                     (build-windows/; the libraries come from packaging/windows/deps.sh's cache)
#   bash build.sh windows-test        the same, then run the Windows tests under Wine (ctest -L windows)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build="${ORVELLA_BUILD_DIR:-$here/build}"
mode="${1:-run}"

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-qpa-plugins libgl-dev
    qt6-l10n-tools  # lrelease: the Greek catalogue of the program's texts is compiled at build time
    libsqlcipher-dev sqlcipher sqlite3
    libsqlite3-dev  # only for the test that proves a plain-SQLite build is refused; the program never links it
    libjpeg-dev
    mdbtools-dev libmdb3  # reading older appointment books (Jet .mdb) for the import
    libpq-dev postgresql  # a book on a server: the client library, and the server the tests start and remove
    libical-dev  # reading other calendars' .ics files for the import (parsing, repetitions, time zones)
    openssl  # the certificates of the encrypted server connection test
    locales  # the Greek locale the server connection test makes for itself (localedef), to read libpq in Greek
    googletest libbenchmark-dev
    xvfb xdotool x11-utils xclip libx11-dev imagemagick poppler-utils
    fonts-liberation2 fonts-dejavu-core
    python3-icalendar tzdata  # the export tests read calendars back with a real parser; time zones from the system
    dpkg-dev desktop-file-utils  # the Debian package: dpkg-shlibdeps for its dependencies, the menu entry's check
    clang libclang-rt-14-dev  # the report-definition fuzzer (libFuzzer)
)

install_packages() {
    local missing=() p
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -q
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
}

configure_and_build() {
    # CI turns warnings into errors; elsewhere the build folder keeps whatever it was configured with, so that a
    # run after a CI-style test run doesn't rebuild everything for a changed flag.
    local werror=()
    [ "${CI:-}" = "true" ] && werror=(-DORVELLA_WERROR=ON)
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${werror[@]}"
    cmake --build "$build" --parallel "$(nproc)"
}

windows_build="${ORVELLA_WINDOWS_BUILD_DIR:-$here/build-windows}"
windows_packages=(nsis zip xvfb xdotool x11-utils xclip imagemagick poppler-utils sqlcipher libimage-exiftool-perl icoutils)

# The Windows programs, cross-built with mingw-w64 against the libraries deps.sh built from Debian's sources
# (the first run takes about 40 minutes on two cores, later ones find them in the cache), and the installer and .zip.
# The Linux build comes first: its end-to-end driver works the installed Windows program in the tests.
build_windows() {
    packages+=("${windows_packages[@]}")
    install_packages
    configure_and_build
    local prefix
    prefix=$(bash "$here/packaging/windows/deps.sh" | tail -n1)
    bash "$here/packaging/windows/deps-ical.sh" "$prefix"
    local werror=()
    [ "${CI:-}" = "true" ] && werror=(-DORVELLA_WERROR=ON)
    cmake -S "$here" -B "$windows_build" -G Ninja -DCMAKE_BUILD_TYPE=Release "${werror[@]}" \
        -DCMAKE_TOOLCHAIN_FILE="$here/packaging/windows/mingw-w64-x86_64.cmake" \
        -DORVELLA_WINDOWS_PREFIX="$prefix" -DORVELLA_LINUX_BUILD_DIR="$build"
    cmake --build "$windows_build" --parallel "$(nproc)"
    echo "Windows installer: $windows_build/orvella-setup-1.0.0.exe"
    echo "Windows portable:  $windows_build/orvella-1.0.0-windows-x64.zip"
}

case "$mode" in
    packages)
        # Only what both builds install (CI does this first, before it builds them side by side).
        packages+=("${windows_packages[@]}")
        install_packages
        exit 0
        ;;
    windows)
        build_windows
        exit 0
        ;;
    windows-test)
        build_windows
        # Two at a time: each spends much of its time starting Wine and waiting on it.
        ctest --test-dir "$windows_build" -L windows --output-on-failure --timeout 900 -j2
        exit 0
        ;;
esac

install_packages
configure_and_build

case "$mode" in
    build)
        ;;
    run)
        data="${2:-$here/data}"
        mkdir -p "$data"
        data=$(cd "$data" && pwd)
        # A folder naming a book on a server (server.book) gets no data.mdb beside it.
        if [ ! -e "$data/data.mdb" ] && [ ! -e "$data/server.book" ]; then
            "$build/tools/datafolder/orvella-datafolder" "$data"
        fi
        cd "$data"
        exec "$build/app/orvella"
        ;;
    test)
        ctest --test-dir "$build" --output-on-failure --timeout 900
        ;;
    bench)
        "$here/bench/run-benchmarks.sh" "$build"
        ;;
    *)
        echo "usage: bash build.sh run [DATA_FOLDER] | test | bench | build | windows | windows-test" >&2
        exit 2
        ;;
esac
