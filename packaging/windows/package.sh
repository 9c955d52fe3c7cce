#!/usr/bin/env bash
# Writes the Windows installer and the portable .zip from a cross-build:
#
#   package.sh BUILD PREFIX     ->  BUILD/orvella-setup-1.0.0.exe, BUILD/orvella-1.0.0-windows-x64.zip
#
# stage.sh gathers the files into BUILD/stage/Orvella; makensis (Debian's nsis) writes the installer from them;
# the .zip holds the same folder, to be unpacked anywhere and started with orvella-start.exe (or orvella.exe in a
# data folder).
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: package.sh BUILD PREFIX" >&2; exit 2; }
build=$(cd "$1" && pwd) prefix=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source=$(cd "$here/../.." && pwd)
version=1.0.0
stage=$build/stage/Orvella
lists=$build/stage/lists

bash "$here/stage.sh" "$build" "$prefix" "$stage"

# Windows paths, relative to the install folder, of every staged file, for the installer and its uninstaller.
mkdir -p "$lists"
: >"$lists/files-install.nsh"
: >"$lists/files-uninstall.nsh"
(cd "$stage" && find . -type d | LC_ALL=C sort) | while read -r dir; do
    rel=${dir#./}; rel=${rel#.}
    win=${rel//\//\\}
    printf 'SetOutPath "$INSTDIR%s"\n' "${win:+\\$win}" >>"$lists/files-install.nsh"
    (cd "$stage/$rel" && find . -maxdepth 1 -type f | LC_ALL=C sort) | while read -r f; do
        f=${f#./}
        printf 'File "%s"\n' "$(printf '%s' "$stage/${rel:+$rel/}$f")" >>"$lists/files-install.nsh"
        printf 'Delete "$INSTDIR\\%s"\n' "${win:+$win\\}$f" >>"$lists/files-uninstall.nsh"
    done
done
(cd "$stage" && find . -mindepth 1 -type d | LC_ALL=C sort -r) | while read -r dir; do
    rel=${dir#./}
    printf 'RMDir "$INSTDIR\\%s"\n' "${rel//\//\\}" >>"$lists/files-uninstall.nsh"
done

installer=$build/orvella-setup-$version.exe
makensis -V2 -NOCD -DSTAGE="$stage" -DICON="$source/resources/orvella.ico" -DLISTS="$lists" -DOUTFILE="$installer" "$here/orvella.nsi"
echo "wrote $installer ($(du -h "$installer" | cut -f1))"

zip=$build/orvella-$version-windows-x64.zip
rm -f "$zip"
(cd "$build/stage" && zip -q -r -X "$zip" Orvella)
echo "wrote $zip ($(du -h "$zip" | cut -f1))"
