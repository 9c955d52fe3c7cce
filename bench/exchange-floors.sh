#!/usr/bin/env bash
# bench/exchange-floors.sh BUILD_DIR [PAIRS]: the import of the 10,000-day older test book and the two exports
# of a 10,000-day book, each beside its floor (orvella_floor_exchange: libmdb, the database library and C stdio
# alone), as whole processes, the way a user runs orvella-datafolder:
#
#   - wall clock in PAIRS pairs (default 5), the program and its floor one right after the other, in
#     alternating order; the median of the pair ratios, with their range;
#   - instructions executed, counted by Callgrind once each (they do not depend on the machine's load). The
#     import's count is that of orvella-datafolder plus that of its reading helper, counted on its own (under
#     Callgrind the helper would overrun the time limit its parent gives it).
#
# Each export's output must equal its floor's byte for byte (the calendar's floor takes the time zone's rules,
# the stamp and the zone's name from the program's file), else the script fails. run-benchmarks.sh calls it.
set -euo pipefail

build=$(realpath "${1:?usage: exchange-floors.sh BUILD_DIR [PAIRS]}")
pairs="${2:-5}"
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
tool="$build/tools/datafolder/orvella-datafolder"
helper="$build/tools/oldbook/orvella-oldbook-reader"
floor="$build/bench/orvella_floor_exchange"
work=$(mktemp -d "${TMPDIR:-/tmp}/orvella-exchange.XXXXXX")
trap 'rm -rf "$work"' EXIT

mkdir "$work/book"
"$build/bench/orvella_bench_datafolder" "$work/book" 10000 >/dev/null
gunzip -c "$here/tests/legacy/fixtures/rantebou-10k.mdb.gz" >"$work/old.mdb"

now() { date +%s%N; }
# Runs one figure's command and prints its wall time in milliseconds.
timed() {
    local start end
    start=$(now)
    "$@" >/dev/null 2>"$work/stderr" || { echo "failed: $* ($(tail -n 3 "$work/stderr"))" >&2; exit 1; }
    end=$(now)
    awk -v a="$start" -v b="$end" 'BEGIN { printf "%.1f", (b - a) / 1e6 }'
}

# The figures' commands; $1 is the round, so that every run writes a new file.
importProgram() { rm -rf "$work/imported"; "$tool" --import "$work/old.mdb" "$work/imported"; }
importFloor() { rm -f "$work/floor.mdb"; "$floor" import "$work/old.mdb" "$work/floor.mdb"; }
csvProgram() { "$tool" --export-csv "$work/book" "$work/book.csv" --force; }
csvFloor() { "$floor" csv "$work/book/data.mdb" "$work/floor.csv"; }
icsProgram() { "$tool" --export-ics "$work/book" "$work/book.ics" --force; }
icsFloor() { "$floor" ics "$work/book/data.mdb" "$work/floor.ics" "$work/book.ics"; }

# Warm the file cache, and write the files the floors are compared with.
csvProgram >/dev/null
icsProgram >/dev/null
csvFloor
icsFloor
cmp "$work/book.csv" "$work/floor.csv" || { echo "the CSV floor's file differs from the program's" >&2; exit 1; }
cmp "$work/book.ics" "$work/floor.ics" || { echo "the calendar floor's file differs from the program's" >&2; exit 1; }

# The total of the instructions Callgrind counted in the given output files.
callgrindTotal() {
    awk '/^(summary|totals):/ { if ($2 > m[FILENAME]) m[FILENAME] = $2 } END { for (f in m) t += m[f]; print t }' "$@"
}
# Instructions of one run of a command, in millions.
instructions() { # name, command...
    local name=$1
    shift
    valgrind --tool=callgrind --callgrind-out-file="$work/cg.$name" "$@" >/dev/null 2>"$work/cg.$name.log" ||
        { echo "callgrind failed for $name: $(tail -n 3 "$work/cg.$name.log")" >&2; exit 1; }
    callgrindTotal "$work/cg.$name"
}

declare -A count
if command -v valgrind >/dev/null; then
    rm -rf "$work/imported"
    count[import]=$(instructions import "$tool" --import "$work/old.mdb" "$work/imported")
    # The helper as its parent starts it: the older book's path, the password in its environment.
    count[import]=$((count[import] + $(ORVELLA_OLDBOOK_PASSWORD=Kw73Tp instructions helper "$helper" "$work/old.mdb")))
    rm -f "$work/floor.mdb"
    count[importFloor]=$(instructions importFloor "$floor" import "$work/old.mdb" "$work/floor.mdb")
    count[csv]=$(instructions csv "$tool" --export-csv "$work/book" "$work/book.csv" --force)
    count[csvFloor]=$(instructions csvFloor "$floor" csv "$work/book/data.mdb" "$work/floor.csv")
    count[ics]=$(instructions ics "$tool" --export-ics "$work/book" "$work/book.ics" --force)
    count[icsFloor]=$(instructions icsFloor "$floor" ics "$work/book/data.mdb" "$work/floor.ics" "$work/book.ics")
    cmp "$work/book.ics" "$work/floor.ics" || { echo "the calendar floor's file differs from the program's" >&2; exit 1; }
fi

declare -A times
for ((round = 0; round < pairs; ++round)); do
    for figure in import csv ics; do
        if ((round % 2 == 0)); then
            times[$figure]+="$(timed "${figure}Program") "
            times[${figure}Floor]+="$(timed "${figure}Floor") "
        else
            times[${figure}Floor]+="$(timed "${figure}Floor") "
            times[$figure]+="$(timed "${figure}Program") "
        fi
    done
done

# The median of a list of numbers.
median() { tr ' ' '\n' | grep . | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
# The median, smallest and largest ratio of the pairs.
ratios() { # program times, floor times
    paste <(tr ' ' '\n' <<<"$1" | grep .) <(tr ' ' '\n' <<<"$2" | grep .) | awk '{ print $1 / $2 }' | sort -g |
        awk '{ v[NR] = $1 } END { printf "%.2f× (%.2f–%.2f)", v[int((NR + 1) / 2)], v[1], v[NR] }'
}
row() { # label, figure, instruction target, wall clock note
    local figure=$1 label=$2 target=$3
    local program="${count[$figure]:-}" floorCount="${count[${figure}Floor]:-}" ratio="—" wall
    [ -n "$program" ] && ratio=$(awk -v a="$program" -v b="$floorCount" 'BEGIN { printf "%.2f×", a / b }')
    wall=$(ratios "${times[$figure]}" "${times[${figure}Floor]}")
    printf "| %s | %s G / %s G | %s | %s ms / %s ms | %s | %s |\n" "$label" \
        "$(awk -v a="${program:-0}" 'BEGIN { printf "%.2f", a / 1e9 }')" \
        "$(awk -v a="${floorCount:-0}" 'BEGIN { printf "%.2f", a / 1e9 }')" "$ratio" \
        "$(median <<<"${times[$figure]}")" "$(median <<<"${times[${figure}Floor]}")" "$wall" "$target"
}
echo "| Figure, 10,000 days (whole processes) | Instructions: program / floor | Ratio | Wall, median of $pairs: program / floor | Wall ratio of the pairs | Target (instructions) |"
echo "|---|---|---|---|---|---|"
row import "Import of the older book (program: tool + reading helper)" "≤ 2.0×"
row csv "Export .csv" "≤ 1.3×"
row ics "Export .ics" "≤ 1.5×"
