#!/usr/bin/env bash
# The Windows installer as a user meets it, under Wine in a prefix of its own:
#
#   check-installer.sh INSTALLER LINUX_BUILD
#
# installs silently (/S, no administrator rights), checks what landed where (the program folder, the Start-menu
# entry, the entry in Windows' list of programs, the .exe's version record read by exiftool), then runs the Linux
# build's desk test, which starts the Start-menu entry on a private X screen and works the program (the notice,
# the splash, today's day typed in Greek, posted, printed to a PDF, the About window, Esc); last, uninstalls
# silently and checks that the program went and the data folder stayed. The windows' pictures are kept in
# the installer's folder, under pictures/ (docs/ holds the ones committed).
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: check-installer.sh INSTALLER LINUX_BUILD" >&2; exit 2; }
installer=$(readlink -f "$1")
linux_build=$(readlink -f "$2")
pictures=${ORVELLA_WINDOWS_PICTURES:-$(dirname "$installer")/pictures}
desk_test=$linux_build/tests/e2e/e2e_windows_desk_test
[ -f "$installer" ] || { echo "no installer at $installer" >&2; exit 1; }
[ -x "$desk_test" ] || { echo "no desk test at $desk_test: build the Linux side first (bash build.sh build)" >&2; exit 1; }

wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64)
wineserver=/usr/lib/wine/wineserver64
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)

tmp=$(mktemp -d)
export WINEPREFIX=$tmp/prefix WINEDEBUG=-all
# No Mono or Gecko prompts, and no Linux menu entries made from the Windows shortcuts.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
cleanup() { "$wineserver" -k 2>/dev/null || true; rm -rf "$tmp"; }
trap cleanup EXIT

failures=0
check() {
    local what=$1; shift
    if "$@" >/dev/null 2>&1; then echo "install: pass    $what"; else echo "install: FAIL    $what"; failures=$((failures + 1)); fi
}

"$wine" wineboot --init >/dev/null 2>&1 || true
"$wineserver" -w
user=$(id -un)
profile=$WINEPREFIX/drive_c/users/$user
programs=$profile/AppData/Local/Programs/Orvella
data=$profile/AppData/Roaming/Orvella
menu="$profile/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Orvella.lnk"

"$wine" "$installer" /S
"$wineserver" -w
for f in orvella.exe orvella-start.exe orvella-datafolder.exe orvella-oldbook-reader.exe uninstall.exe RANTEBOU.rav EBDOMADA.rav qt.conf \
         platforms/qwindows.dll styles/qwindowsvistastyle.dll imageformats/qjpeg.dll \
         Qt6Core.dll libsqlcipher-0.dll libpq.dll libmdb-3.dll libstdc++-6.dll; do
    check "installed $f" test -f "$programs/$f"
done
check "Start-menu entry" test -f "$menu"
check "no desktop shortcut unless asked for" test ! -e "$profile/Desktop/Orvella.lnk"
check "no data folder before the first start" test ! -e "$data"
listed=$("$wine" reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Orvella' 2>/dev/null | tr -d '\r')
check "in the list of programs" grep -q 'DisplayName.*Orvella by Quenmark' <<<"$listed"
check "its uninstaller named there" grep -qi 'UninstallString.*uninstall.exe' <<<"$listed"

# The version record, as a tool that is not ours reads it.
record=$(exiftool -s -s -s -FileVersionNumber -ProductVersionNumber -CompanyName -FileDescription -ProductName \
         -Comments -InternalName "$programs/orvella.exe")
expected=$'1.0.0.0\n1.0.0.0\nQuenmark\nOrvella by Quenmark\nOrvella by Quenmark\nOrvella by Quenmark\nOrvella'
check "version record of orvella.exe" test "$record" = "$expected"
[ "$record" = "$expected" ] || printf 'version record read:\n%s\n' "$record"
check "MAINICON in orvella.exe" sh -c "wrestool -l '$programs/orvella.exe' | grep -q \"name='MAINICON'\""
check "common controls 6 in its manifest" sh -c \
    "wrestool -x --raw --type=24 '$programs/orvella.exe' | grep -q 'Microsoft.Windows.Common-Controls'"
check "a windowed program (no console)" sh -c \
    "x86_64-w64-mingw32-objdump -p '$programs/orvella.exe' | grep -q 'Subsystem.*(Windows GUI)'"
check "the data-folder tool is a console program" sh -c \
    "x86_64-w64-mingw32-objdump -p '$programs/orvella-datafolder.exe' | grep -q 'Subsystem.*(Windows CUI)'"

# What the Start-menu entry runs, started as Windows starts a shortcut; the script ends when the program does.
lnk_windows='C:\users\'"$user"'\AppData\Roaming\Microsoft\Windows\Start Menu\Programs\Orvella.lnk'
cat >"$tmp/start-menu" <<SCRIPT
#!/bin/sh
export WINEPREFIX='$WINEPREFIX' WINEDEBUG=-all WINEDLLOVERRIDES='$WINEDLLOVERRIDES'
'$wine' start /wait '$lnk_windows'
exec '$wineserver' -w
SCRIPT
chmod +x "$tmp/start-menu"
mkdir -p "$pictures"
if ORVELLA_E2E_PROGRAM=$tmp/start-menu ORVELLA_E2E_DATA_FOLDER=$data ORVELLA_E2E_PDF=$tmp/day.pdf \
    ORVELLA_E2E_PDF_TYPED="Z:${tmp//\//\\}\\day.pdf" ORVELLA_E2E_PICTURES=$pictures \
    "$desk_test" -o "$tmp/desk.txt,txt"; then
    desk=0
else
    desk=1
fi
cat "$tmp/desk.txt" 2>/dev/null || true
check "the desk test" test "$desk" -eq 0

"$wine" "$programs/uninstall.exe" /S
"$wineserver" -w
# NSIS's uninstaller copies itself away and runs from there: give it a moment to finish.
for _ in $(seq 1 50); do [ -e "$programs/orvella.exe" ] || break; sleep 0.2; done
check "uninstalled: the program folder is gone" test ! -e "$programs"
check "uninstalled: the Start-menu entry is gone" test ! -e "$menu"
check "uninstalled: the data folder is kept" test -f "$data/data.mdb"
listed=$("$wine" reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Orvella' 2>/dev/null | tr -d '\r' || true)
check "uninstalled: gone from the list of programs" test -z "$(grep DisplayName <<<"$listed")"

echo "install: $failures failed"
[ "$failures" -eq 0 ]
