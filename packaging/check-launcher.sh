#!/usr/bin/env bash
# check-launcher.sh <build folder> <source folder>: runs the start script the desktop entry uses, with the real
# data-folder tool beside it and a stand-in program that records where and how it was started; then once with the
# real program on Qt's offscreen platform. Checks which data folder is chosen, that a missing data folder is made,
# that existing files are never replaced, and that failures stop before the program starts.
set -euo pipefail

build=${1:?usage: check-launcher.sh <build folder> <source folder>}
source=${2:?usage: check-launcher.sh <build folder> <source folder>}
tool=$build/tools/datafolder/orvella-datafolder
program=$build/app/orvella
scratch=$(mktemp -d)
started_pid=
cleanup() {
    if [ -n "$started_pid" ]; then kill "$started_pid" 2>/dev/null || true; fi
    rm -rf "$scratch"
}
trap cleanup EXIT

failures=0
problem() {
    printf 'FAIL: %s\n' "$*" >&2
    failures=$((failures + 1))
}

# A bin folder as installed: the script and the real tool, with a stand-in that records its folder and arguments.
stand_in_bin=$scratch/bin
mkdir -p "$stand_in_bin"
cp "$source/packaging/orvella-start" "$stand_in_bin/"
ln -s "$tool" "$stand_in_bin/orvella-datafolder"
cat >"$stand_in_bin/orvella" <<'STAND_IN'
#!/bin/sh
{ printf '%s\n%s\n' "$PWD" "$#"; printf '%s\n' "$@"; } >"$RECORD"
STAND_IN
chmod +x "$stand_in_bin/orvella"

record=$scratch/record
# run <case> <env assignments...>: runs the script with only the given environment; leaves its exit code in $status
# and what it said on standard error in $said.
run() {
    local name=$1
    shift
    rm -f "$record"
    status=0
    said=$(env -i PATH=/usr/bin:/bin RECORD="$record" "$@" "$launcher" 2>&1 >/dev/null) || status=$?
    [ "$status" -eq 0 ] || [ -n "$said" ] || problem "$name: failed (exit $status) without a word"
}

# expect_started <case> <data folder>: the program was started once, in that folder, with no arguments, and the
# folder holds an encrypted data.mdb and the default day sheet, with no scratch folder left behind.
expect_started() {
    local name=$1 folder=$2
    if [ "$status" -ne 0 ] || [ ! -f "$record" ]; then
        problem "$name: the program was not started (exit $status): $said"
        return
    fi
    [ "$(sed -n 1p "$record")" = "$folder" ] || problem "$name: started in '$(sed -n 1p "$record")', not '$folder'"
    [ "$(sed -n 2p "$record")" = 0 ] || problem "$name: the program got arguments"
    [ -s "$folder/data.mdb" ] || problem "$name: no data.mdb in $folder"
    [ -f "$folder/RANTEBOU.rav" ] || problem "$name: no RANTEBOU.rav in $folder"
    [ -f "$folder/EBDOMADA.rav" ] || problem "$name: no EBDOMADA.rav in $folder"
    [ -z "$(find "$folder" -mindepth 1 -maxdepth 1 -name '.orvella-new.*')" ] ||
        problem "$name: a scratch folder was left in $folder"
}

# expect_missing_book <case> <data folder>: the program was started only to show the missing-book window for that
# folder, and no book was made there.
expect_missing_book() {
    local name=$1 folder=$2
    if [ "$status" -ne 0 ] || [ ! -f "$record" ]; then
        problem "$name: the program was not started to report the missing book (exit $status): $said"
        return
    fi
    [ "$(sed -n 2,4p "$record" | tr '\n' '|')" = "2|--missing-book|$folder|" ] ||
        problem "$name: started as '$(tr '\n' ' ' <"$record")', not to show the missing-book window"
    [ ! -e "$folder/data.mdb" ] || [ -L "$folder/data.mdb" ] || problem "$name: a data.mdb was made in $folder"
}

expect_refused() {
    local name=$1
    [ "$status" -ne 0 ] || problem "$name: succeeded"
    [ ! -e "$record" ] || problem "$name: the program was started anyway"
}

launcher=$stand_in_bin/orvella-start

# First use: the default folder under HOME is made, the data file encrypted (no plain SQLite header), the folder
# and the book the user's alone even under a lax umask.
home=$scratch/home
mkdir -p "$home"
umask 022
run "first use" HOME="$home"
default=$home/.local/share/Orvella
expect_started "first use" "$default"
[ "$(stat -c %a "$default")" = 700 ] || problem "first use: the data folder has mode $(stat -c %a "$default")"
[ "$(stat -c %a "$default/data.mdb")" = 600 ] || problem "first use: data.mdb has mode $(stat -c %a "$default/data.mdb")"
[ "$(head -c 15 "$default/data.mdb" 2>/dev/null)" != "SQLite format 3" ] || problem "first use: data.mdb is not encrypted"
cmp -s "$default/RANTEBOU.rav" "$source/resources/RANTEBOU.rav" || problem "first use: RANTEBOU.rav is not the default"

# Later uses leave the user's data alone.
before=$(cksum <"$default/data.mdb")
run "second use" HOME="$home"
expect_started "second use" "$default"
[ "$(cksum <"$default/data.mdb")" = "$before" ] || problem "second use: data.mdb was changed"

# Which folder: XDG_DATA_HOME when absolute (spaces and all), else the default under HOME; run from the scratch
# folder, so that a relative path taken at its word would show there.
cd "$scratch"
xdg="$scratch/my data"
for pair in "absolute XDG_DATA_HOME|XDG_DATA_HOME=$xdg|$xdg/Orvella" \
    "empty XDG_DATA_HOME|XDG_DATA_HOME=|$default" \
    "relative XDG_DATA_HOME|XDG_DATA_HOME=relative/data|$default"; do
    IFS='|' read -r name setting folder <<<"$pair"
    run "$name" HOME="$home" "$setting"
    expect_started "$name" "$folder"
done
[ ! -e "$scratch/relative" ] || problem "relative XDG_DATA_HOME: a folder was made relative to the current one"

# A missing day sheet is made beside the book; a file already there, even a link to somewhere absent, is kept as it
# is. A folder without its book never gets an empty one: the program only shows the missing-book window.
declare -A kept_content=([data.mdb]="the user's own data" [RANTEBOU.rav]="a day sheet of the user's own")
for keep in data.mdb RANTEBOU.rav; do
    home_k=$scratch/keep-$keep
    folder=$home_k/.local/share/Orvella
    mkdir -p "$folder"
    printf '%s' "${kept_content[$keep]}" >"$folder/$keep"
    run "$keep kept" HOME="$home_k"
    if [ "$keep" = data.mdb ]; then
        expect_started "$keep kept" "$folder"
    else
        expect_missing_book "$keep kept, book missing" "$folder"
    fi
    [ "$(cat "$folder/$keep")" = "${kept_content[$keep]}" ] || problem "$keep kept: the existing $keep was replaced"
done
# A server folder whose day sheet was deleted gets the sheet back and nothing else.
home_s=$scratch/server-folder
mkdir -p "$home_s/.local/share/Orvella"
printf 'host=books.office dbname=orvella\n' >"$home_s/.local/share/Orvella/server.book"
run "server folder, sheet deleted" HOME="$home_s"
[ "$status" -eq 0 ] && [ "$(sed -n 1p "$record" 2>/dev/null)" = "$home_s/.local/share/Orvella" ] ||
    problem "server folder, sheet deleted: the program was not started there (exit $status): $said"
[ -f "$home_s/.local/share/Orvella/RANTEBOU.rav" ] || problem "server folder, sheet deleted: no RANTEBOU.rav made"
[ ! -e "$home_s/.local/share/Orvella/data.mdb" ] || problem "server folder, sheet deleted: a data.mdb was put beside server.book"
home_e=$scratch/emptied
mkdir -p "$home_e/.local/share/Orvella/backups"
run "book deleted from the folder" HOME="$home_e"
expect_missing_book "book deleted from the folder" "$home_e/.local/share/Orvella"
[ ! -e "$home_e/.local/share/Orvella/RANTEBOU.rav" ] || problem "book deleted: files were made in the folder"
home_l=$scratch/dangling
mkdir -p "$home_l/.local/share/Orvella"
ln -s /nonexistent/data.mdb "$home_l/.local/share/Orvella/data.mdb"
run "dangling link" HOME="$home_l"
[ "$(readlink "$home_l/.local/share/Orvella/data.mdb")" = /nonexistent/data.mdb ] ||
    problem "dangling link: the link to the absent data file was replaced"
expect_missing_book "dangling link" "$home_l/.local/share/Orvella"

# Reached through a link elsewhere (as from /usr/local/bin), it still finds the program and tool beside it.
mkdir -p "$scratch/elsewhere"
ln -s "$launcher" "$scratch/elsewhere/orvella-start"
launcher=$scratch/elsewhere/orvella-start
run "through a link" HOME="$home"
expect_started "through a link" "$default"
launcher=$stand_in_bin/orvella-start

# Failures stop before the program starts, with a message.
run "no HOME" XDG_DATA_HOME=
expect_refused "no HOME"
# From the desktop (a display, no terminal) the same failure also reaches a window: the program shows the message.
run "no HOME, on a desktop" XDG_DATA_HOME= DISPLAY=:99
if [ "$status" -eq 0 ] || [ ! -f "$record" ]; then
    problem "no HOME, on a desktop: the failure was not shown in a window (exit $status)"
else
    [ "$(sed -n 2p "$record")" = 2 ] && [ "$(sed -n 3p "$record")" = "--launcher-failure" ] &&
        grep -q "HOME is not set" "$record" ||
        problem "no HOME, on a desktop: the window was not asked for the message: $(cat "$record")"
fi
home_f=$scratch/blocked
mkdir -p "$home_f/.local/share"
: >"$home_f/.local/share/Orvella"
run "data folder blocked by a file" HOME="$home_f"
expect_refused "data folder blocked by a file"
home_r=$scratch/readonly
mkdir -p "$home_r/.local/share"
chmod a-w "$home_r/.local/share"
if [ -w "$home_r/.local/share" ]; then
    echo "note: running with rights that ignore folder permissions; the read-only case is skipped" >&2
else
    run "data folder cannot be made" HOME="$home_r"
    expect_refused "data folder cannot be made"
    [ ! -e "$home_r/.local/share/Orvella" ] || problem "data folder cannot be made: a folder was left behind"
fi
chmod u+w "$home_r/.local/share"
rm -f "$record"
status=0
said=$(env -i PATH=/usr/bin:/bin RECORD="$record" HOME="$home" "$launcher" extra 2>&1 >/dev/null) || status=$?
expect_refused "arguments given"

# A tool that fails (a full disk, say): refused, and no scratch folder left in the data folder.
failing_bin=$scratch/failing-bin
mkdir -p "$failing_bin"
cp "$source/packaging/orvella-start" "$stand_in_bin/orvella" "$failing_bin/"
printf '#!/bin/sh\necho "no space left" >&2\nexit 1\n' >"$failing_bin/orvella-datafolder"
chmod +x "$failing_bin/orvella-datafolder"
launcher=$failing_bin/orvella-start
home_t=$scratch/tool-fails
run "tool fails" HOME="$home_t"
expect_refused "tool fails"
[ -z "$(find "$home_t" -name '.orvella-new.*')" ] || problem "tool fails: a scratch folder was left behind"
launcher=$stand_in_bin/orvella-start

# The real program: the script hands over its own process, running orvella in the data folder.
real_bin=$scratch/real-bin
mkdir -p "$real_bin"
cp "$source/packaging/orvella-start" "$real_bin/"
ln -s "$tool" "$real_bin/orvella-datafolder"
ln -s "$program" "$real_bin/orvella"
home_p=$scratch/real-home
mkdir -p "$home_p"
env -i PATH=/usr/bin:/bin HOME="$home_p" QT_QPA_PLATFORM=offscreen "$real_bin/orvella-start" >/dev/null 2>&1 &
started_pid=$!
for _ in $(seq 100); do
    [ "$(readlink "/proc/$started_pid/exe" 2>/dev/null)" = "$(readlink -f "$program")" ] && break
    sleep 0.1
done
if [ "$(readlink "/proc/$started_pid/exe" 2>/dev/null)" != "$(readlink -f "$program")" ]; then
    problem "real program: orvella did not take over the script's process"
else
    [ "$(readlink "/proc/$started_pid/cwd")" = "$home_p/.local/share/Orvella" ] ||
        problem "real program: runs in '$(readlink "/proc/$started_pid/cwd")'"
fi
kill "$started_pid" 2>/dev/null || true
wait "$started_pid" 2>/dev/null || true
started_pid=

# The real program for a folder that lost its book: it shows the missing-book window (and stays up, waiting for the
# user) and makes nothing in the folder.
rm "$home_p/.local/share/Orvella/data.mdb"
env -i PATH=/usr/bin:/bin HOME="$home_p" QT_QPA_PLATFORM=offscreen "$real_bin/orvella-start" >/dev/null 2>&1 &
started_pid=$!
for _ in $(seq 100); do
    tr '\0' ' ' <"/proc/$started_pid/cmdline" 2>/dev/null | grep -q -- '--missing-book' && break
    sleep 0.1
done
sleep 0.5
if ! tr '\0' ' ' <"/proc/$started_pid/cmdline" 2>/dev/null | grep -q -- "--missing-book $home_p/.local/share/Orvella"; then
    problem "real program, book missing: the missing-book window is not up"
fi
[ ! -e "$home_p/.local/share/Orvella/data.mdb" ] || problem "real program, book missing: a data.mdb was made"
kill "$started_pid" 2>/dev/null || true
wait "$started_pid" 2>/dev/null || true
started_pid=

if [ "$failures" -ne 0 ]; then
    echo "$failures problem(s) with the start script" >&2
    exit 1
fi
echo "start script OK"
