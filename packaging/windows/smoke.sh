#!/usr/bin/env bash
# Checks a prefix made by deps.sh: builds smoke/ with the toolchain file against
# it, runs the programs under wine64 and checks what they wrote on the host.
#
#   smoke.sh [PREFIX]      (default: $ORVELLA_WINDOWS_PREFIX, else what deps.sh prints)
#
# Each check prints "smoke: ok ..." or "smoke: FAILED ..."; the script exits 1
# if any failed. deps.sh runs it before stamping a prefix as finished.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
prefix=${1:-${ORVELLA_WINDOWS_PREFIX:-}}
[ -n "$prefix" ] || prefix=$(bash "$here/deps.sh" | tail -n1)
[ -d "$prefix/lib/cmake/Qt6" ] || { echo "smoke: no Qt in $prefix" >&2; exit 1; }
export ORVELLA_WINDOWS_PREFIX=$prefix
legacy=${ORVELLA_LEGACY_BOOKS:-/work/shared/legacy}
jobs=${ORVELLA_WINDOWS_JOBS:-2}

tmp=$(mktemp -d "${TMPDIR:-/tmp}/orvella-windows-smoke.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
run=("$here/wine-run.sh" "--prefix=$prefix")

passed=0 failed=0
ok()  { echo "smoke: ok      $*"; passed=$((passed + 1)); }
bad() { echo "smoke: FAILED  $*"; failed=$((failed + 1)); }
check() {   # check DESCRIPTION COMMAND...
    local what=$1; shift
    if "$@"; then ok "$what"; else bad "$what"; fi
}
has() { grep -qxF -- "$2" "$1"; }     # file holds this exact line
# An SQLCipher book starts with random salt, a plain one with this header.
encrypted() { [ -s "$1" ] && ! cmp -s -n 15 <(printf 'SQLite format 3') "$1"; }
winpath() { printf 'Z:%s' "${1//\//\\}"; }

section() { echo; echo "== $*"; }

section "pkg-config"
if flags=$(PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig" pkg-config --cflags --libs sqlcipher libpq libmdb 2>&1); then
    ok "pkg-config --cflags --libs sqlcipher libpq libmdb: $flags"
else
    bad "pkg-config --cflags --libs sqlcipher libpq libmdb: $flags"
fi
for h in sqlcipher/sqlite3.h libpq-fe.h mdbtools.h jpeglib.h openssl/ssl.h glib-2.0/glib.h; do
    check "header $h" test -f "$prefix/include/$h"
done
for p in platforms/qwindows.dll platforms/qoffscreen.dll imageformats/qjpeg.dll; do
    check "Qt plugin $p" test -f "$prefix/plugins/$p"
done
# Qt 6 builds Windows' printing into Qt6PrintSupport itself (no plugin).
check "Qt6PrintSupport prints through winspool" \
    grep -qi 'DLL Name: winspool.drv' <(x86_64-w64-mingw32-objdump -p "$prefix/bin/Qt6PrintSupport.dll" 2>/dev/null)

section "build (toolchain file, find_package(Qt6), FindJPEG, pkg-config)"
if cmake -S "$here/smoke" -B "$tmp/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$here/mingw-w64-x86_64.cmake" -DORVELLA_WINDOWS_PREFIX="$prefix" \
        >"$tmp/configure.log" 2>&1 \
   && nice -n 5 cmake --build "$tmp/build" -j"$jobs" >"$tmp/build.log" 2>&1; then
    ok "smoke programs built"
else
    cat "$tmp/configure.log" "$tmp/build.log" 2>/dev/null | tail -n 40
    bad "smoke programs built"
    echo "smoke: $passed passed, $failed failed"
    exit 1
fi
smoke=$tmp/build/smoke.exe
qtest=$tmp/build/smoke_qtest.exe
cd "$tmp"

section "QtTest under wine64 (CTest through the toolchain's emulator)"
if (cd "$tmp/build" && ctest --output-on-failure >"$tmp/ctest.log" 2>&1); then
    ok "ctest: the passing test passes and the failing one fails"
else
    cat "$tmp/ctest.log"; bad "ctest: the passing test passes and the failing one fails"
fi
check "QtTest's report of the passing test" grep -q '^PASS   : SmokeTest::passes()' "$tmp/build/qtest-passes.txt"
check "QtTest's report of the failing test" grep -q '^FAIL!  : SmokeTest::failsOnPurpose()' "$tmp/build/qtest-fails.txt"
"${run[@]}" "$qtest" failsOnPurpose -o "$(winpath "$tmp/qf.txt"),txt" >/dev/null 2>&1
rc=$?
check "a failing QtTest exits 1 under wine64 (got $rc)" test "$rc" -eq 1
# Whether QtTest's report reaches a pipe: a fact to know, not a requirement.
piped=$("${run[@]}" "$qtest" passes 2>&1 | cat)
if grep -q 'PASS   : SmokeTest::passes()' <<<"$piped"; then
    echo "smoke: note    QtTest's report on standard output does reach a pipe"
else
    echo "smoke: note    QtTest's report on standard output does not reach a pipe: use -o FILE,txt"
fi

section "SQLCipher: Windows and Linux read each other's books"
key='Kw73Tp-Orvella'
linux_text='Γεωργίου Μαρία τηλ. 210-1234567 (Linux)'
windows_text='Dr. Παπαδάκης, check-up (Windows)'
printf '%s\n' "$windows_text" >"$tmp/windows-text.txt"
linux_cli() { sqlcipher -batch "$@"; }
linux_cli "$tmp/linux.db" "PRAGMA key='$key'; create table t(a); insert into t values('$linux_text');" >/dev/null
check "the Linux book is encrypted" encrypted "$tmp/linux.db"
"${run[@]}" "$smoke" sqlcipher-read "$(winpath "$tmp/linux.db")" "$key" "$(winpath "$tmp/w-read.txt")" 2>"$tmp/w-read.err"
check "Windows opens the Linux book and reads its row" has "$tmp/w-read.txt" "row=$linux_text"
if "${run[@]}" "$smoke" sqlcipher-read "$(winpath "$tmp/linux.db")" wrong-key "$(winpath "$tmp/w-wrong.txt")" 2>/dev/null; then
    bad "Windows refuses the Linux book with a wrong key"
else
    ok "Windows refuses the Linux book with a wrong key"
fi
"${run[@]}" "$smoke" sqlcipher-write "$(winpath "$tmp/windows.db")" "$key" "$(winpath "$tmp/windows-text.txt")" "$(winpath "$tmp/w-write.txt")"
check "Windows writes a book (cipher_version $(sed -n 's/^cipher_version=//p' "$tmp/w-write.txt" 2>/dev/null))" has "$tmp/w-write.txt" "cipher_version=3.4.1"
check "the Windows book is encrypted" encrypted "$tmp/windows.db"
got=$(linux_cli "$tmp/windows.db" "PRAGMA key='$key'; select a from t;" 2>&1)
check "Linux opens the Windows book and reads its row" test "$got" = "$windows_text"
# The same on-disk parameters and compile-time options on both sides.
settings='cipher_version cipher kdf_iter cipher_page_size cipher_use_hmac page_size journal_mode'
: >"$tmp/l-settings.txt"
for s in $settings; do
    echo "$s=$(linux_cli "$tmp/linux.db" "PRAGMA key='$key'; PRAGMA $s;" | tail -n1)" >>"$tmp/l-settings.txt"
done
grep -E "^($(echo $settings | tr ' ' '|'))=" "$tmp/w-read.txt" >"$tmp/w-settings.txt"
if diff "$tmp/l-settings.txt" "$tmp/w-settings.txt" >"$tmp/settings.diff"; then
    ok "cipher settings agree: $(tr '\n' ' ' <"$tmp/w-settings.txt")"
else
    cat "$tmp/settings.diff"; bad "cipher settings agree"
fi
# All but the compiler's name.
linux_cli "$tmp/linux.db" "PRAGMA key='$key'; PRAGMA compile_options;" | sed 's/^/option=/' | grep -v '^option=COMPILER=' | sort >"$tmp/l-options.txt"
grep '^option=' "$tmp/w-read.txt" | grep -v '^option=COMPILER=' | sort >"$tmp/w-options.txt"
if diff "$tmp/l-options.txt" "$tmp/w-options.txt" >"$tmp/options.diff"; then
    ok "compile_options agree ($(wc -l <"$tmp/w-options.txt") options)"
else
    echo "Linux < > Windows:"; cat "$tmp/options.diff"; bad "compile_options agree"
fi

section "libmdb: an older Jet book"
book=$legacy/rantebou-small.mdb
if [ -f "$book" ]; then
    "${run[@]}" "$smoke" mdb "$(winpath "$book")" RANTEBOU "$(winpath "$tmp/mdb.txt")"
    check "RANTEBOU has 60 rows" has "$tmp/mdb.txt" "rows=60"
    check "RANTEBOU has 29 columns" has "$tmp/mdb.txt" "columns=29"
    check "a Greek slot reads as written" has "$tmp/mdb.txt" $'cell=0900-0930\tΓεωργίου Μαρία τηλ. 210-1234567'
    # Every text slot against the book's expected content.
    if python3 - "$legacy/rantebou-small.expected.json" "$tmp/mdb.txt" >"$tmp/mdb-compare.txt" 2>&1 <<'EOF'
import collections, json, sys
expected = json.load(open(sys.argv[1], encoding="utf-8"))
want = collections.Counter((c, v) for d in expected["days"] for c, v in d["slots"].items() if v is not None)
got = collections.Counter()
for line in open(sys.argv[2], encoding="utf-8"):
    if line.startswith("cell="):
        col, _, val = line[5:].rstrip("\n").partition("\t")
        got[(col, val)] += 1
missing, extra = want - got, got - want
print(f"{sum(want.values())} slots expected, {sum(got.values())} read, {sum(missing.values())} missing, {sum(extra.values())} unexpected")
for k in list(missing)[:5]: print("missing:", k)
for k in list(extra)[:5]: print("unexpected:", k)
sys.exit(1 if missing or extra else 0)
EOF
    then ok "every text slot matches the expected JSON: $(head -n1 "$tmp/mdb-compare.txt")"
    else cat "$tmp/mdb-compare.txt"; bad "every text slot matches the expected JSON"
    fi
else
    bad "legacy book $book is there"
fi

section "Qt: offscreen platform, a PDF through QPrinter, images"
pdf_text='Ραντεβού Τρίτη 12:30 Γεωργίου Μαρία'
QT_QPA_PLATFORM=offscreen "${run[@]}" "$smoke" qt "$(winpath "$tmp/out.pdf")" "$(winpath "$tmp/out.jpg")" "$(winpath "$tmp/qt.txt")"
rc=$?
check "the Qt program exits 0 (got $rc)" test "$rc" -eq 0
check "Qt's platform is offscreen" has "$tmp/qt.txt" "platform=offscreen"
check "Qt finds fonts ($(sed -n 's/^families=//p' "$tmp/qt.txt" 2>/dev/null) families)" grep -qE '^families=[1-9]' "$tmp/qt.txt"
check "Qt writes and reads a JPEG" has "$tmp/qt.txt" "qt_jpeg=64x48"
check "Qt writes and reads a PNG" has "$tmp/qt.txt" "qt_png=1"
check "libjpeg-turbo reads Qt's JPEG" has "$tmp/qt.txt" "libjpeg=64x48"
check "QXmlStreamReader is there and reads" has "$tmp/qt.txt" "xml=2012-02-29"
check "QJsonDocument is there and reads" has "$tmp/qt.txt" "json=0900-0930"
check "the PDF holds the Greek text" grep -qF "$pdf_text" <(pdftotext "$tmp/out.pdf" - 2>/dev/null)

section "Qt: the windows platform under Xvfb"
# Qt's own platform through Wine's X11 driver: the one a person sees.
if command -v xvfb-run >/dev/null; then
    rm -f "$tmp/qt.txt" "$tmp/out.pdf"
    QT_QPA_PLATFORM=windows timeout 180 xvfb-run -a -s '-screen 0 1280x1024x24' \
        "${run[@]}" "$smoke" qt "$(winpath "$tmp/out.pdf")" "$(winpath "$tmp/out2.jpg")" "$(winpath "$tmp/qt.txt")"
    rc=$?
    check "the Qt program exits 0 on the windows platform (got $rc)" test "$rc" -eq 0
    check "Qt's platform is windows" has "$tmp/qt.txt" "platform=windows"
    check "Qt finds Wine's fonts ($(sed -n 's/^families=//p' "$tmp/qt.txt" 2>/dev/null) families)" grep -qE '^families=[1-9]' "$tmp/qt.txt"
    check "the PDF holds the Greek text" grep -qF "$pdf_text" <(pdftotext "$tmp/out.pdf" - 2>/dev/null)
else
    echo "smoke: note    no xvfb-run here: the windows platform is not tried"
fi

section "libpq"
"${run[@]}" "$smoke" libpq "$(winpath "$tmp/pq.txt")"
check "libpq 15 ($(sed -n 's/^libpq_version=//p' "$tmp/pq.txt" 2>/dev/null))" grep -qE '^libpq_version=15[0-9]{4}$' "$tmp/pq.txt"
check "libpq is built with OpenSSL" has "$tmp/pq.txt" "libpq_tls=OpenSSL"
check "libpq reports a failed connection" has "$tmp/pq.txt" "libpq_status_bad=1"

echo
echo "smoke: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
