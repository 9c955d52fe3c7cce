#!/usr/bin/env bash
# check-install.sh <build folder> <source folder>: installs the build into a scratch prefix, as a user would and
# staged as a package build does, and checks what lands where: exactly the expected files, the programs runnable,
# the icons the sizes their folders claim, and a desktop entry that menus accept.
set -euo pipefail

build=${1:?usage: check-install.sh <build folder> <source folder>}
source=${2:?usage: check-install.sh <build folder> <source folder>}
cmake=${CMAKE:-cmake}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

failures=0
problem() {
    printf 'FAIL: %s\n' "$*" >&2
    failures=$((failures + 1))
}

expected_files=(
    bin/orvella
    bin/orvella-datafolder
    bin/orvella-start
    libexec/orvella/orvella-oldbook-reader
    share/applications/orvella.desktop
    share/doc/orvella/README.md
    share/doc/orvella/copyright
    share/icons/hicolor/16x16/apps/orvella.png
    share/icons/hicolor/32x32/apps/orvella.png
    share/orvella/EBDOMADA.rav
    share/orvella/RANTEBOU.rav
)

# The files under a prefix, relative to it, sorted.
installed_files() {
    (cd "$1" && find . \( -type f -o -type l \) | sed 's|^\./||' | LC_ALL=C sort)
}

# Width and height from a PNG's header chunk, as "WxH"; empty when the file is not a PNG.
png_size() {
    local signature
    signature=$(od -An -tx1 -N8 "$1" | tr -d ' \n')
    [ "$signature" = 89504e470d0a1a0a ] || return 0
    local width height
    width=$(od -An -tu4 --endian=big -j16 -N4 "$1" | tr -d ' ')
    height=$(od -An -tu4 --endian=big -j20 -N4 "$1" | tr -d ' ')
    printf '%sx%s' "$width" "$height"
}

check_layout() {
    local prefix=$1 label=$2
    local want got
    want=$(printf '%s\n' "${expected_files[@]}" | LC_ALL=C sort)
    got=$(installed_files "$prefix")
    if [ "$want" != "$got" ]; then
        problem "$label: installed files differ from the expected set:"
        diff <(echo "$want") <(echo "$got") >&2 || true
    fi

    local program
    for program in orvella orvella-datafolder; do
        [ -x "$prefix/bin/$program" ] || problem "$label: bin/$program is not executable"
        [ "$(od -An -c -N4 "$prefix/bin/$program" 2>/dev/null | tr -d ' ')" = '177ELF' ] ||
            problem "$label: bin/$program is not a program (no ELF header)"
    done
    [ -x "$prefix/libexec/orvella/orvella-oldbook-reader" ] ||
        problem "$label: libexec/orvella/orvella-oldbook-reader (the older-book reader) is not executable"
    [ -x "$prefix/bin/orvella-start" ] || problem "$label: bin/orvella-start is not executable"
    sh -n "$prefix/bin/orvella-start" 2>/dev/null || problem "$label: bin/orvella-start is not a valid sh script"

    local size
    for size in 16 32; do
        local icon=$prefix/share/icons/hicolor/${size}x${size}/apps/orvella.png
        [ "$(png_size "$icon" 2>/dev/null)" = "${size}x${size}" ] ||
            problem "$label: $icon is not a ${size}x${size} PNG (got '$(png_size "$icon" 2>/dev/null)')"
        cmp -s "$icon" "$source/resources/icon$size.png" || problem "$label: $icon is not resources/icon$size.png"
    done
    cmp -s "$prefix/share/orvella/RANTEBOU.rav" "$source/resources/RANTEBOU.rav" ||
        problem "$label: share/orvella/RANTEBOU.rav is not the default day sheet"
}

# The desktop entry, read by hand: one [Desktop Entry] group first, no key twice, well-formed key names, the
# values this entry must carry, and an Exec and Icon that name what was installed next to it.
check_desktop_entry() {
    local prefix=$1
    local file=$prefix/share/applications/orvella.desktop
    [ -f "$file" ] || { problem "no desktop entry"; return; }

    local first
    first=$(grep -v -e '^#' -e '^[[:space:]]*$' "$file" | head -n1)
    [ "$first" = "[Desktop Entry]" ] || problem "desktop entry: first group is '$first', not [Desktop Entry]"
    [ "$(grep -c '^\[' "$file")" -eq 1 ] || problem "desktop entry: more than one group"
    grep -q $'\r' "$file" && problem "desktop entry: carriage returns in the file"
    iconv -f UTF-8 -t UTF-8 "$file" >/dev/null 2>&1 || problem "desktop entry: not valid UTF-8"

    local bad_lines duplicates
    bad_lines=$(grep -v -e '^#' -e '^\[' -e '^$' "$file" | grep -v -E '^[A-Za-z0-9-]+(\[[A-Za-z_@.]+\])?=' || true)
    [ -z "$bad_lines" ] || problem "desktop entry: lines that are not 'Key=value': $bad_lines"
    duplicates=$(grep -E '^[A-Za-z0-9-]+(\[[^]]*\])?=' "$file" | cut -d= -f1 | sort | uniq -d)
    [ -z "$duplicates" ] || problem "desktop entry: keys given twice: $duplicates"

    local value
    value_of() { sed -n "s/^$1=//p" "$file"; }
    local pair key want
    for pair in "Type=Application" "Name=Orvella" "GenericName=Appointment book" "Icon=orvella" \
        "Categories=Office;Calendar;" "Terminal=false"; do
        key=${pair%%=*}
        want=${pair#*=}
        value=$(value_of "$key")
        [ "$value" = "$want" ] || problem "desktop entry: $key is '$value', not '$want'"
    done
    [ -n "$(value_of Comment)" ] || problem "desktop entry: no Comment"
    [ "$(value_of Comment)" != "$(value_of Name)" ] || problem "desktop entry: Comment only repeats the Name"

    # Exec names the start script, found on PATH beside the program; no field codes, since it takes no files.
    local exec_line
    exec_line=$(value_of Exec)
    [ "$exec_line" = orvella-start ] || problem "desktop entry: Exec is '$exec_line', not orvella-start"
    [ -x "$prefix/bin/${exec_line%% *}" ] || problem "desktop entry: Exec '$exec_line' is not an installed program"
    [ -f "$prefix/share/icons/hicolor/32x32/apps/$(value_of Icon).png" ] ||
        problem "desktop entry: Icon '$(value_of Icon)' has no installed picture"

    if command -v desktop-file-validate >/dev/null; then
        desktop-file-validate "$file" >&2 || problem "desktop entry: desktop-file-validate refuses it"
    else
        echo "note: desktop-file-validate not installed; the desktop entry was checked by hand only" >&2
    fi
}

# As a user installs into a prefix of their own.
"$cmake" --install "$build" --prefix "$scratch/prefix" >/dev/null
check_layout "$scratch/prefix" "install --prefix"
check_desktop_entry "$scratch/prefix"

# Staged, as a package build does: nothing may escape the staging folder or name it.
DESTDIR="$scratch/stage" "$cmake" --install "$build" --prefix /usr >/dev/null
check_layout "$scratch/stage/usr" "staged install"
[ -z "$(cd "$scratch/stage" && find . -mindepth 1 -maxdepth 1 ! -name usr)" ] ||
    problem "staged install: files outside the prefix"
grep -rqF "$scratch" "$scratch/stage" && problem "staged install: an installed file names the staging folder"

if [ "$failures" -ne 0 ]; then
    echo "$failures problem(s) with the installed layout" >&2
    exit 1
fi
echo "installed layout OK"
