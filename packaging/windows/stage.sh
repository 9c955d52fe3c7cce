#!/usr/bin/env bash
# Gathers what the Windows installer and the portable .zip hold into one folder:
#
#   stage.sh BUILD PREFIX STAGE
#
# BUILD is the cross-build folder, PREFIX the one deps.sh printed, STAGE the folder to fill (made anew). The
# programs, every DLL they load (found by walking their import tables, so nothing is missed and nothing extra
# shipped), the Qt plugins Windows needs (the windows platform, the native style, the JPEG and icon readers),
# the day and week sheets, libical's zone descriptions, and a qt.conf that keeps Qt from looking for plugins
# anywhere else.
set -euo pipefail
[ $# -eq 3 ] || { echo "usage: stage.sh BUILD PREFIX STAGE" >&2; exit 2; }
build=$1 prefix=$2 stage=$3
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source=$(cd "$here/../.." && pwd)
triplet=x86_64-w64-mingw32
objdump=$triplet-objdump

rm -rf "$stage"
mkdir -p "$stage/platforms" "$stage/styles" "$stage/imageformats"

# Qt's project set-up puts every Windows program at the top of the build folder, beside the DLLs it builds.
install -m 755 "$build/orvella.exe" "$build/orvella-datafolder.exe" "$build/orvella-start.exe" \
    "$build/orvella-oldbook-reader.exe" "$stage/"
install -m 755 "$prefix/plugins/platforms/qwindows.dll" "$stage/platforms/"
install -m 755 "$prefix/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
for f in qjpeg qico; do install -m 755 "$prefix/plugins/imageformats/$f.dll" "$stage/imageformats/"; done
install -m 644 "$source/resources/RANTEBOU.rav" "$source/resources/EBDOMADA.rav" "$stage/"
# libical's zone descriptions, for the .ics import (Windows has no zone files of its own).
if [ -d "$prefix/share/libical/zoneinfo" ]; then
    cp -R "$prefix/share/libical/zoneinfo" "$stage/zoneinfo"
    find "$stage/zoneinfo" -type f -exec chmod 644 {} +
fi
printf '[Paths]\nPlugins = .\n' >"$stage/qt.conf"

# Where a DLL may come from: the prefix, then Debian's mingw runtime (libgcc_s, libstdc++, winpthread, zlib).
search=("$prefix/bin" /usr/lib/gcc/$triplet/*-posix /usr/$triplet/lib)
find_dll() {
    local name=$1 d f
    for d in "${search[@]}"; do
        f=$(find "$d" -maxdepth 1 -iname "$name" -print -quit 2>/dev/null)
        [ -n "$f" ] && { printf '%s\n' "$f"; return 0; }
    done
    return 1
}

# Windows' own DLLs are everything the prefix and the runtime do not have; they are never shipped.
declare -A seen=()
queue=("$stage"/*.exe "$stage"/*/*.dll)
while [ ${#queue[@]} -gt 0 ]; do
    file=${queue[0]}; queue=("${queue[@]:1}")
    while read -r dll; do
        key=${dll,,}
        [ -n "${seen[$key]:-}" ] && continue
        seen[$key]=1
        if path=$(find_dll "$dll"); then
            # Under the file's own name: import tables may spell it otherwise ("LIBPQ.dll").
            install -m 755 "$path" "$stage/$(basename "$path")"
            queue+=("$stage/$(basename "$path")")
        fi
    done < <("$objdump" -p "$file" | sed -n 's/^\s*DLL Name: //p')
done
"$triplet-strip" --strip-unneeded "$stage"/*.exe "$stage"/*.dll "$stage"/*/*.dll
echo "staged $(find "$stage" -type f | wc -l) files, $(du -sh "$stage" | cut -f1), in $stage"
