#!/usr/bin/env bash
# bench/month-instructions.sh BUILD_DIR [ROUNDS] [PAIRS]: the instructions of one month change, on the 10,000-day
# file and on the same book kept on a server (the client's: this process's instructions, not the server's), beside
# its floors, counted by Callgrind over ROUNDS rounds (default 20) after three warm ones (orvella_bench_rounds), and
# the wall time of a round beside its floor's in PAIRS pairs (default 5) of runs of 200 rounds, each pair run in
# the other order than the one before. Prints a table row per figure; run-benchmarks.sh calls it.
set -euo pipefail
build=$(realpath "${1:?usage: month-instructions.sh BUILD_DIR [ROUNDS]}")
rounds="${2:-20}"
pairs="${3:-5}"
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
# PAIRS pairs of wall times of a figure and its floor, the order turned at each pair: "subject floor" lines.
wallPairs() { # figure, floor
    local pair
    for ((pair = 0; pair < pairs; ++pair)); do
        if ((pair % 2 == 0)); then
            a=$(wall "$1"); b=$(wall "$2")
        else
            b=$(wall "$2"); a=$(wall "$1")
        fi
        echo "$a $b"
    done
}
# The medians of the two columns and the median of the pair ratios with their range: "a b ratio low high".
pairSummary() {
    awk '{ a[NR] = $1; b[NR] = $2; r[NR] = $1 / $2 }
        function median(v, n,   i, j, t, w) { for (i = 1; i <= n; ++i) w[i] = v[i]
            for (i = 1; i <= n; ++i) for (j = i + 1; j <= n; ++j) if (w[j] < w[i]) { t = w[i]; w[i] = w[j]; w[j] = t }
            return n % 2 ? w[(n + 1) / 2] : (w[n / 2] + w[n / 2 + 1]) / 2 }
        END { lo = hi = r[1]; for (i = 2; i <= NR; ++i) { if (r[i] < lo) lo = r[i]; if (r[i] > hi) hi = r[i] }
              printf "%.0f %.0f %.2f %.2f %.2f", median(a, NR), median(b, NR), median(r, NR), lo, hi }'
}

declare -A count
for figure in month-change floor-lookups floor-range server-month-change server-floor-range; do
    count[$figure]=$(perRound "$figure")
done
declare -A walls
walls[file-lookups]=$(wallPairs month-change floor-lookups | pairSummary)
walls[file-range]=$(wallPairs month-change floor-range | pairSummary)
walls[server-range]=$(wallPairs server-month-change server-floor-range | pairSummary)
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f×", a / b }'; }
millions() { awk -v a="$1" 'BEGIN { printf "%.3f M", a / 1e6 }'; }
echo "| Month change, 10,000 days | Instructions (a round) | Floor | Ratio | Target (instructions) | Wall (median of 200 rounds, median of $pairs pairs) | Floor | Ratio of the pairs (range) |"
echo "|---|---|---|---|---|---|---|---|"
row() { # label, figure, floor, target, wall pairs
    read -r a b r lo hi <<<"${walls[$5]}"
    printf "| %s | %s | %s | %s | %s | %s µs | %s µs | %s× (%s–%s) |\n" "$1" "$(millions "${count[$2]}")" \
        "$(millions "${count[$3]}")" "$(ratio "${count[$2]}" "${count[$3]}")" "$4" "$a" "$b" "$r" "$lo" "$hi"
}
row "File / 31 lookups in one read" month-change floor-lookups "≤ 2×" file-lookups
row "File / one range read" month-change floor-range "—" file-range
row "Server (client's) / one libpq range query" server-month-change server-floor-range "≤ 3×" server-range
