#!/usr/bin/env bash
# Cross-builds libical 3.0.16 (bookworm's source package) for x86_64-w64-mingw32 into the prefix deps.sh made,
# for the .ics import of the Windows programs:
#
#   bash packaging/windows/deps-ical.sh "$(bash packaging/windows/deps.sh | tail -n1)"
#
# It is a step of its own, with its own stamp in the prefix (named after a hash of this file and the toolchain
# file), so that adding or changing it never rebuilds the libraries of deps.sh, which take forty minutes; a new
# prefix from deps.sh gets libical again here in about three. Nothing of the prefix is needed to build it: only
# the C library, without ICU (only for calendars in other calendar systems, RSCALE), GLib, Berkeley DB, the C++
# bindings, the documentation or the tests. Windows has no system zone files, so libical's own zone descriptions
# are installed too (share/libical/zoneinfo); stage.sh ships them beside the programs, where the import points
# the library at them.
#
# Debian's packaging of libical3 is not served by the mirror (its .debian.tar.xz answers 404), while the upstream
# tarball is, checked against the signed index by apt: the library is built from that tarball as it stands.
#
# ORVELLA_WINDOWS_JOBS    parallel compile jobs (default 2)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
[ $# -eq 1 ] || { echo "usage: deps-ical.sh PREFIX" >&2; exit 2; }
mkdir -p "$1"
prefix=$(cd "$1" && pwd)
jobs=${ORVELLA_WINDOWS_JOBS:-2}
name=libical3
version=3.0.16-1
upstream=3.0.16

say() { printf '%s\n' "$*" >&2; }
die() { say "deps-ical.sh: $*"; exit 1; }

hash=$(cat "${BASH_SOURCE[0]}" "$here/mingw-w64-x86_64.cmake" | sha256sum | cut -c1-12)
stamp=$prefix/.orvella-libical-$hash
if [ -f "$stamp" ]; then
    say "libical: ready in $prefix"
    exit 0
fi

cache=${ORVELLA_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/orvella-windows}
sources=$cache/sources/$name-$version
work=$cache/libical-work
log=$cache/host-logs/libical-$hash.log
mkdir -p "$sources" "$(dirname "$log")"
exec 9>"$prefix/.libical.lock"
flock 9
[ -f "$stamp" ] && { say "libical: ready in $prefix"; exit 0; }

tarball=$sources/${name}_${upstream}.orig.tar.gz
if [ ! -f "$tarball" ]; then
    say "libical: fetching $name $version"
    # The source index comes from deps.sh --host-only; the download fails for the missing Debian tarball only.
    (cd "$sources" && apt-get source -q --download-only "$name=$version") >>"$log" 2>&1 || true
    [ -f "$tarball" ] || die "could not fetch ${name}_${upstream}.orig.tar.gz (see $log)"
fi

say "libical: building (log: $log)"
build() {
    rm -rf "$work"
    mkdir -p "$work/src"
    tar -xzf "$tarball" -C "$work/src" --strip-components=1
    cmake -S "$work/src" -B "$work/build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$here/mingw-w64-x86_64.cmake" -DORVELLA_WINDOWS_PREFIX="$prefix" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DSHARED_ONLY=ON -DUSE_BUILTIN_TZDATA=ON \
        -DICAL_GLIB=OFF -DGOBJECT_INTROSPECTION=OFF -DICAL_GLIB_VAPI=OFF -DWITH_CXX_BINDINGS=OFF \
        -DICAL_BUILD_DOCS=OFF -DLIBICAL_BUILD_TESTING=OFF \
        -DCMAKE_DISABLE_FIND_PACKAGE_ICU=ON -DCMAKE_DISABLE_FIND_PACKAGE_BDB=ON \
        -DCMAKE_DISABLE_FIND_PACKAGE_Doxygen=ON
    nice -n 5 cmake --build "$work/build" -j"$jobs"
    cmake --install "$work/build"
    # Relative, as deps.sh leaves its own .pc files: the prefix stays usable after it is moved.
    sed -i -e "s|^prefix=.*|prefix=\${pcfiledir}/../..|" -e "s|$prefix|\${prefix}|g" "$prefix/lib/pkgconfig/libical.pc"
    # libical's install leaves out the zones at the top of its folder (EET, CET, EST5EDT ...) and whole folders
    # of them (Etc, US, Canada ...), which zones.tab lists all the same: the library then takes such a TZID for a
    # zone without rules, an offset of 0, and every time in it comes out hours off. Every description of the
    # source is copied here, and every zone zones.tab names must have its file.
    local zones=$prefix/share/libical/zoneinfo
    [ -f "$zones/zones.tab" ] || { echo "no zone descriptions installed" >&2; return 1; }
    (cd "$work/src/zoneinfo" && find . -name '*.ics' -print0 | xargs -0 -I{} install -D -m 644 {} "$zones/{}")
    local missing
    missing=$(awk '{ print $3 }' "$zones/zones.tab" | while read -r zone; do
        [ -f "$zones/$zone.ics" ] || printf '%s ' "$zone"; done)
    [ -z "$missing" ] || { echo "zones.tab names zones without a description: $missing" >&2; return 1; }
    ls "$prefix"/bin/libical.dll >/dev/null
}
if ! (set -euo pipefail; build) >>"$log" 2>&1; then
    tail -n 40 "$log" >&2
    die "libical could not be built"
fi
rm -rf "$work"
touch "$stamp"
say "libical: done in $prefix"
