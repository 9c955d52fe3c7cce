#!/usr/bin/env bash
# Runs a cross-built Windows program under Wine: CTest's emulator (the toolchain
# file names it), smoke.sh's runner, and a developer's.
#
#   wine-run.sh [--prefix=DIR] PROGRAM.exe [ARGS...]
#
# DIR is the prefix deps.sh printed (default: $ORVELLA_WINDOWS_PREFIX); its bin
# folder and Debian's mingw runtime folders go on WINEPATH, so the program finds
# the Qt, OpenSSL, SQLCipher, libgcc, libstdc++ and winpthread DLLs without
# copying them beside it.
#
# Wine hands a Windows program the host's environment except PATH, TEMP, TMP,
# HOME and every variable starting with QT_ (it drops those); a variable named
# WINEQT_X reaches the program as QT_X. So every QT_* variable set here is
# passed on under its WINE name, with an absolute host path turned into Wine's
# Z: form for those that hold folders.
#
# With no DISPLAY and no QT_QPA_PLATFORM the program gets the offscreen
# platform: Qt's windows platform waits for ever under Wine without an X
# server. Qt ships no fonts and offscreen on Windows finds none of the
# system's, so QT_QPA_FONTDIR defaults to a folder of Debian's Liberation and
# DejaVu faces.
set -euo pipefail

prefix=${ORVELLA_WINDOWS_PREFIX:-}
case "${1:-}" in
    --prefix=*) prefix=${1#--prefix=}; shift ;;
esac
[ $# -ge 1 ] || { echo "usage: wine-run.sh [--prefix=DIR] PROGRAM.exe [ARGS...]" >&2; exit 2; }

wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine) \
    || { echo "wine-run.sh: wine64 is not installed (apt-get install wine64)" >&2; exit 2; }

cache=${ORVELLA_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/orvella-windows}
export WINEPREFIX=${ORVELLA_WINEPREFIX:-$cache/wine}
export WINEDEBUG=${WINEDEBUG:--all}
# No prompts to install Mono or Gecko: nothing here needs them.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

winpath() {   # /a/b -> Z:\a\b (Wine maps Z: to /)
    local p=$1
    case "$p" in /*) p="Z:${p//\//\\}" ;; esac
    printf '%s' "$p"
}

# A prefix of our own, made once; two runs at the same moment make it once.
if [ ! -f "$WINEPREFIX/.orvella-ready" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 8
        if [ ! -f "$WINEPREFIX/.orvella-ready" ]; then
            "$wine" wineboot --init >/dev/null 2>&1 || true
            wineserver=/usr/lib/wine/wineserver64
            [ -x "$wineserver" ] || wineserver=$(command -v wineserver || echo true)
            "$wineserver" -w || true
            [ -f "$WINEPREFIX/system.reg" ] || { echo "wine-run.sh: could not make $WINEPREFIX" >&2; exit 1; }
            touch "$WINEPREFIX/.orvella-ready"
        fi
    ) 8>"$WINEPREFIX.lock"
fi

dirs=()
[ -n "$prefix" ] && dirs+=("$prefix/bin")
for d in /usr/lib/gcc/x86_64-w64-mingw32/*-posix /usr/x86_64-w64-mingw32/lib; do
    [ -d "$d" ] && dirs+=("$d")
done
wp=
for d in "${dirs[@]}"; do wp+="${wp:+;}$(winpath "$d")"; done
export WINEPATH="$wp${WINEPATH:+;$WINEPATH}"

if [ -z "${QT_QPA_PLATFORM:-}" ] && [ -z "${DISPLAY:-}" ]; then
    export QT_QPA_PLATFORM=offscreen
fi
if [ "${QT_QPA_PLATFORM:-}" = offscreen ] && [ -z "${QT_QPA_FONTDIR:-}" ]; then
    # One flat folder (Qt does not look into subfolders) with Liberation, the faces the windows are measured
    # with where Tahoma is missing, and DejaVu for everything else.
    fonts=$cache/fonts
    if [ ! -d "$fonts" ]; then
        mkdir -p "$fonts.new"
        for f in /usr/share/fonts/truetype/liberation2/*.ttf /usr/share/fonts/truetype/dejavu/*.ttf; do
            [ -f "$f" ] && ln -sf "$f" "$fonts.new/"
        done
        mv -T "$fonts.new" "$fonts" 2>/dev/null || rm -rf "$fonts.new"
    fi
    export QT_QPA_FONTDIR=$fonts
fi
while IFS='=' read -r name _; do
    case "$name" in
        QT_QPA_FONTDIR|QT_PLUGIN_PATH|QT_QPA_PLATFORM_PLUGIN_PATH)
            export "WINE$name=$(winpath "${!name}")" ;;
        QT_*)
            export "WINE$name=${!name}" ;;
    esac
done < <(env | grep -E '^QT_[A-Za-z0-9_]*=' || true)

# A QtTest program (CTest marks them with ORVELLA_QTEST=1) writes its report into a file, which is then shown:
# under Wine the report on standard output may not reach the pipe CTest reads.
if [ "${ORVELLA_QTEST:-}" = 1 ]; then
    report=$(mktemp --suffix=.txt)
    set +e
    "$wine" "$@" -o "$(winpath "$report"),txt"
    rc=$?
    set -e
    cat "$report"
    rm -f "$report"
    exit "$rc"
fi
exec "$wine" "$@"
