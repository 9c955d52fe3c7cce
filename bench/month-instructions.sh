#!/usr/bin/env bash
# bench/month-instructions.sh BUILD_DIR [ROUNDS]: the instructions of one month change, on the 10,000-day file and
# on the same book kept on a server (the client's: this process's instructions, not the server's), beside its
# floors, counted by Callgrind over ROUNDS rounds (default 20) after three warm ones (orvella_bench_rounds).
# Prints a table row per figure; run-benchmarks.sh calls it.
set -euo pipefail
build=$(realpath "${1:?usage: month-instructions.sh BUILD_DIR [ROUNDS]}")
rounds="${2:-20}"
work=$(mktemp -d "${TMPDIR:-/tmp}/orvella-rounds.XXXXXX")
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

# Instructions of one round of a figure.
perRound() { # figure
    valgrind --tool=callgrind --collect-atstart=no --toggle-collect='*measuredRounds*' \
        --callgrind-out-file="$work/cg.$1" "$build/bench/orvella_bench_rounds" "$1" "$rounds" >"$work/$1.out" \
        2>"$work/$1.log" || { echo "callgrind failed for $1: $(tail -n 3 "$work/$1.log")" >&2; exit 1; }
    awk -v n="$rounds" '/^(summary|totals):/ { if ($2 > m) m = $2 } END { printf "%.0f", m / n }' "$work/cg.$1"
}
# The median wall time of one round, in microseconds, without Callgrind.
wall() { # figure
    "$build/bench/orvella_bench_rounds" "$1" 200 2>/dev/null | sed -E 's/.*median ([0-9.]+) us.*/\1/'
}

declare -A count time
for figure in month-change floor-lookups floor-range server-month-change server-floor-range; do
    count[$figure]=$(perRound "$figure")
    time[$figure]=$(wall "$figure")
done
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f×", a / b }'; }
millions() { awk -v a="$1" 'BEGIN { printf "%.3f M", a / 1e6 }'; }
echo "| Month change, 10,000 days | Instructions (a round) | Floor | Ratio | Wall (median of 200) | Floor | Ratio | Target (instructions) |"
echo "|---|---|---|---|---|---|---|---|"
row() { # label, figure, floor, target
    printf "| %s | %s | %s | %s | %s µs | %s µs | %s | %s |\n" "$1" "$(millions "${count[$2]}")" \
        "$(millions "${count[$3]}")" "$(ratio "${count[$2]}" "${count[$3]}")" "${time[$2]}" "${time[$3]}" \
        "$(ratio "${time[$2]}" "${time[$3]}")" "$4"
}
row "File / 31 lookups in one read" month-change floor-lookups "≤ 2×"
row "File / one range read" month-change floor-range "—"
row "Server (client's) / one libpq range query" server-month-change server-floor-range "≤ 3×"
