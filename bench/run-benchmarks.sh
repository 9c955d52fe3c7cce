#!/usr/bin/env bash
# bench/run-benchmarks.sh [BUILD_DIR]: builds the benchmark programs and the program in BUILD_DIR (configured
# as RelWithDebInfo when it is not configured yet), runs them and prints one table of medians with the
# targets. `bash build.sh bench` calls it.
#
#   ORVELLA_BENCH_REPETITIONS  repetitions of each Google Benchmark (default 5); the table shows their median
#   ORVELLA_BENCH_STARTS       starts timed by orvella_bench_startup (default 11)
#   ORVELLA_BENCH_MEMORY_RUNS  starts of the real program for its peak memory (default 3)
#   ORVELLA_BENCH_PAIRS        pairs of the import and the exports against their floors (default 5)
#
# The window benchmarks and the start-up run on Qt's offscreen platform. The peak memory is read from the
# real program under a private Xvfb (the start-up notice is answered with xdotool, as a user would); without
# Xvfb and xdotool that row says so. The start-up is also timed under that Xvfb, for comparison.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(realpath -m "${1:-$here/build}")
repetitions="${ORVELLA_BENCH_REPETITIONS:-5}"
starts="${ORVELLA_BENCH_STARTS:-11}"
memoryRuns="${ORVELLA_BENCH_MEMORY_RUNS:-3}"

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" --target orvella orvella_bench_store orvella_bench_windows orvella_bench_startup \
    orvella_bench_notice orvella_bench_datafolder orvella_bench_import orvella_bench_backup orvella_bench_week \
    orvella-datafolder orvella-oldbook-reader orvella_floor_exchange orvella_bench_rounds

work=$(mktemp -d "${TMPDIR:-/tmp}/orvella-bench.XXXXXX")
xvfbPid=""
programPid=""
cleanup() {
    # Only what this script started, by its process id.
    [ -n "$programPid" ] && kill "$programPid" 2>/dev/null || true
    [ -n "$xvfbPid" ] && kill "$xvfbPid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
bench="$build/bench"

# --- Google Benchmark programs: console output as they run, the results into JSON files --------------------
runGoogleBenchmark() { # program, json file
    "$bench/$1" --benchmark_repetitions="$repetitions" --benchmark_report_aggregates_only=true \
        --benchmark_out="$2" --benchmark_out_format=json
}
echo "== $(date -u '+%Y-%m-%d %H:%M UTC'): window benchmarks ($repetitions repetitions, medians below)"
# A program that stops early leaves its rows "missing" in the table; the others still run.
# Every repetition is kept in the file: the same repetition of a figure and of its floor program (registered in
# the same program) is a pair, and the repetitions of all benchmarks are interleaved.
"$bench/orvella_bench_windows" --benchmark_repetitions="$repetitions" --benchmark_display_aggregates_only=true \
    --benchmark_enable_random_interleaving=true --benchmark_out="$work/windows.json" --benchmark_out_format=json ||
    echo "orvella_bench_windows stopped early"
echo "== week window benchmarks ($repetitions repetitions, medians below)"
"$bench/orvella_bench_week" --benchmark_repetitions="$repetitions" --benchmark_display_aggregates_only=true \
    --benchmark_enable_random_interleaving=true --benchmark_out="$work/week.json" --benchmark_out_format=json ||
    echo "orvella_bench_week stopped early"
echo "== store benchmarks"
runGoogleBenchmark orvella_bench_store "$work/store.json" || echo "orvella_bench_store stopped early"
# The import of another calendar's 10,000 events, where the build has it (its console lines give it beside its
# floors, libical's parse and one prepared insert; docs/performance.md has the figures).
if [ -x "$bench/orvella_bench_calendar_import" ]; then
    runGoogleBenchmark orvella_bench_calendar_import "$work/calendar.json" ||
        echo "orvella_bench_calendar_import stopped early"
fi

# One value of one run from the library's JSON output, which puts every key on a line of its own.
jsonValue() { # json file, run name, key
    [ -f "$1" ] || return 0
    awk -v wanted="$2" -v key="\"$3\":" '
        match($0, /"name": "[^"]*"/) { name = substr($0, RSTART + 9, RLENGTH - 10); next }
        name == wanted && index($0, key) {
            v = $0; sub(/^[^:]*: */, "", v); sub(/,$/, "", v); gsub(/"/, "", v); print v; exit
        }
    ' "$1"
}
# The run whose figures count: the median of the repetitions, or the one run when there is only one.
runName() { # benchmark name as printed
    [ "$repetitions" -gt 1 ] && echo "$1_median" || echo "$1"
}
# The median of a benchmark as "<time> <unit>", or what went wrong.
median() { # json file, benchmark name as printed (e.g. BM_MonthChange/10000/real_time)
    local time run
    run=$(runName "$2")
    time=$(jsonValue "$1" "$run" real_time)
    if [ "$(jsonValue "$1" "$2" error_occurred)" = "true" ]; then
        echo "failed: $(jsonValue "$1" "$2" error_message)"
    elif [ -n "$time" ]; then
        awk -v t="$time" -v unit="$(jsonValue "$1" "$run" time_unit)" 'BEGIN { printf "%.3g %s", t, unit }'
    else
        echo "missing"
    fi
}
# A counter of a benchmark's median run, in its own unit.
counter() { # json file, benchmark name, counter name
    awk -v v="$(jsonValue "$1" "$(runName "$2")" "$3")" 'BEGIN { if (v == "") print "missing"; else printf "%.3g", v }'
}

# --- Start-up --------------------------------------------------------------------------------------------
echo "== start-up, offscreen ($starts starts)"
# A failed start is reported by the program and shows as "failed" in the table; the rest still runs.
"$bench/orvella_bench_startup" --runs "$starts" | tee "$work/startup.txt" || true
startupMedian=$(awk '$1 == "med" { print $NF " ms" }' "$work/startup.txt")
createMedian=$(awk '$1 == "med" { print $(NF - 2) " ms" }' "$work/startup.txt")

# --- The start through the notice: process start to the notice, Enter to the month window -----------------
echo "== start-up through the notice, offscreen ($starts pairs of starts)"
"$bench/orvella_bench_notice" --pairs "$starts" | tee "$work/notice.txt" || true
# A figure of one summary line of orvella_bench_notice: "<what> median <value> <unit> (<min>–<max>)".
noticeFigure() { # the line's start
    awk -v what="$1" 'index($0, what) == 1 { for (i = 1; i <= NF; i++) if ($i == "median") { print $(i + 1), $(i + 2), $(i + 3); exit } }' \
        "$work/notice.txt"
}

# --- Import of an older book -----------------------------------------------------------------------------
echo "== import of an older book ($starts runs)"
"$bench/orvella_bench_import" --runs "$starts" | tee "$work/import.txt" || true
# A figure of the median line of one test book: the value after key ("read", "import", "peak").
importFigure() { # fixture, key
    awk -v f="$1" -v key="$2" '$1 == f && $2 == "med" {
        for (i = 1; i < NF; i++) if ($i == key) { v = $(i + 1); sub(/^\+/, "", v); print v; exit } }' "$work/import.txt"
}
import10k=$(importFigure rantebou-10k.mdb.gz import)
importRead10k=$(importFigure rantebou-10k.mdb.gz read)
importCpu10k=$(importFigure rantebou-10k.mdb.gz cpu)
importPeakSmall=$(importFigure rantebou-small-password.mdb peak)
importPeak10k=$(importFigure rantebou-10k.mdb.gz peak)

# --- The safety net: the day's backup and the first open's check ----------------------------------------
echo "== daily backup and first-open check, 10,000 day records"
"$bench/orvella_bench_backup" --benchmark_repetitions="$repetitions" --benchmark_report_aggregates_only=true || true

# --- Peak memory of the real program, and the start-up on an X server -----------------------------------
peakMemory="not measured (needs Xvfb and xdotool)"
xStartup=""
if command -v Xvfb >/dev/null && command -v xdotool >/dev/null; then
    display=140
    while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do
        display=$((display + 1))
    done
    Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
    xvfbPid=$!
    for _ in $(seq 100); do
        DISPLAY=":$display" xdotool getdisplaygeometry >/dev/null 2>&1 && break
        sleep 0.1
    done

    waitForWindow() { # title regular expression; prints the window id
        local id=""
        for _ in $(seq 200); do
            id=$(DISPLAY=":$display" xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
            [ -n "$id" ] && { echo "$id"; return 0; }
            sleep 0.05
        done
        return 1
    }

    mkdir "$work/data"
    "$bench/orvella_bench_datafolder" "$work/data" 10000 >/dev/null
    peaks=()
    for run in $(seq "$memoryRuns"); do
        (cd "$work/data" && exec env -u QT_QPA_PLATFORM DISPLAY=":$display" "$build/app/orvella") \
            >"$work/orvella.log" 2>&1 &
        programPid=$!
        notice=$(waitForWindow '^Orvella by Quenmark$') || { echo "run $run: no start-up notice"; break; }
        DISPLAY=":$display" xdotool windowfocus --sync "$notice" key Return
        month=$(waitForWindow '^Μηνιαία κατάσταση των ραντεβού$') || { echo "run $run: no month window"; break; }
        # Let the first frames be painted before reading the peak.
        sleep 1
        peak=$(awk '/^VmHWM:/ { print $2 }' "/proc/$programPid/status")
        resident=$(awk '/^VmRSS:/ { print $2 }' "/proc/$programPid/status")
        echo "run $run: peak resident set $((peak / 1024)) MB (now $((resident / 1024)) MB)"
        peaks+=("$peak")
        DISPLAY=":$display" xdotool windowfocus --sync "$month" key Escape
        for _ in $(seq 100); do
            kill -0 "$programPid" 2>/dev/null || break
            sleep 0.05
        done
        kill "$programPid" 2>/dev/null || true
        wait "$programPid" 2>/dev/null || true
        programPid=""
    done
    if [ ${#peaks[@]} -gt 0 ]; then
        peakKb=$(printf '%s\n' "${peaks[@]}" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
        peakMemory=$(awk -v kb="$peakKb" 'BEGIN { printf "%.1f MB", kb / 1024 }')
    fi

    echo "== start-up under Xvfb (xcb platform, $starts starts)"
    DISPLAY=":$display" QT_QPA_PLATFORM=xcb "$bench/orvella_bench_startup" --runs "$starts" |
        tee "$work/startup-x.txt" || true
    xStartup=$(awk '$1 == "med" { print $NF " ms" }' "$work/startup-x.txt")
    xStartup="${xStartup:-failed}"
fi

# --- The table ------------------------------------------------------------------------------------------
w="$work/windows.json"
s="$work/store.json"
wk="$work/week.json"
number() { echo "$1" | awk '{ print $1 }'; }
# "yes"/"no" for a figure against a limit in the same unit; "—" when the figure is missing.
meets() {
    awk -v v="$1" -v limit="$2" 'BEGIN {
        if (v !~ /^[0-9.]+$/) print "—"; else print (v + 0 < limit + 0 ? "yes" : "no") }'
}
row() { # operation, figure, target, met
    echo "| $1 | $2 | ${3:-—} | ${4:-—} |"
}

change0=$(median "$w" BM_MonthChange/0/real_time)
change1k=$(median "$w" BM_MonthChange/1000/real_time)
change10k=$(median "$w" BM_MonthChange/10000/real_time)
open10k=$(median "$w" BM_OpenDayByClick/10000/manual_time)
peakNumber=$(echo "$peakMemory" | awk '$2 == "MB" { print $1 }')
cpu=$(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)
memory=$(awk '/^MemTotal/ { printf "%.0f GB", $2 / 1048576 }' /proc/meminfo)
buildType=$(awk -F= '/^CMAKE_BUILD_TYPE:/ { print $2 }' "$build/CMakeCache.txt")

echo
echo "Medians. Machine: $(nproc) cores, $cpu, $memory, Debian $(cat /etc/debian_version), build type $buildType," \
    "load average $(cut -d' ' -f1-3 /proc/loadavg) at the end."
echo
row "Operation" "Median" "Target" "Met"
echo "|---|---|---|---|"
row "Month change with its scan, 0 day records" "$change0"
row "Month change with its scan, 1,000 day records" "$change1k"
row "Month change with its scan, 10,000 day records" "$change10k" "< 5 ms" "$(meets "$(number "$change10k")" 5)"
row "Month change with its scan, every slot of every day 2008–2035 filled" \
    "$(median "$w" BM_MonthChange/-1/real_time)"
row "Month change and the repaint after it, 10,000 day records" \
    "$(median "$w" BM_MonthChangeWithPaint/10000/real_time)"
row "BuildMonth with its scan (31 days), 10,000 day records" "$(median "$w" BM_BuildMonth/real_time)"
row "ScanMonthOccupancy alone (31 days), 10,000 day records" "$(median "$w" BM_ScanMonthOccupancy/real_time)"
row "Opening a day: click to the day window's first frame, 0 day records" \
    "$(median "$w" BM_OpenDayByClick/0/manual_time)"
row "Opening a day: click to the day window's first frame, 10,000 day records" "$open10k" "< 20 ms" \
    "$(meets "$(number "$open10k")" 20)"
row "Closing the day window and the month's scan after it, 10,000 day records" \
    "$(counter "$w" BM_OpenDayByClick/10000/manual_time close_and_scan_ms) ms"
row "Day window construction and openDay (not shown)" "$(median "$w" BM_DayWindowCreateAndOpen/real_time)"
row "One post of one slot (setValue and the post button)" "$(median "$w" BM_PostSlot/real_time)"
row "Print to PDF: print button, Output Options, Report Status, file written" \
    "$(median "$w" BM_PrintDayToPdf/real_time)"
row "Report engine alone to PDF (file output preset)" "$(median "$w" BM_ReportToPdf/real_time)"
row "Week window: Ctrl+W to its first frame, 10,000 day records" "$(median "$wk" BM_WeekOpen/10000/manual_time)"
row "Week window: a change of week to its frame, 10,000 day records" "$(median "$wk" BM_WeekChange/10000/manual_time)"
row "Week window: the one read of a week, 10,000 day records" "$(median "$wk" BM_WeekRangeRead/10000/real_time)"
row "Week to PDF: print button, Output Options, Report Status, file written, 10,000 day records" \
    "$(median "$wk" BM_PrintWeekToPdf/10000/real_time)"
row "… the same, every slot of every day filled" "$(median "$wk" BM_PrintWeekToPdf/-1/real_time)"
row "Day sheet to PDF the same way, a day of that week, 10,000 day records" \
    "$(median "$wk" BM_PrintDaySheetToPdf/10000/real_time)"
row "Month window construction with its first BuildMonth and scan (key already derived)" \
    "$(median "$w" BM_MonthWindowCreate/real_time)"
noticeAhead=$(noticeFigure "notice, key ahead")
noticeRatio=$(noticeFigure "notice ratio")
enterAhead=$(noticeFigure "Enter to month less splash, key ahead")
enterAfter=$(noticeFigure "Enter to month less splash, key after")
row "Start of the process to the start-up notice's first frame" "${noticeAhead:-failed}"
row "… against the start without the head start (same run, pairs)" "${noticeRatio:-failed}" "≤ 1.05×" \
    "$(meets "$(number "$noticeRatio")" 1.0500001)"
row "Enter on the notice to the month window's first frame, less the splash's 2.5 s" "${enterAhead:-failed}" \
    "≤ 25 ms" "$(meets "$(number "$enterAhead")" 25.000001)"
row "… the same without the head start (key and picture prepared when needed)" "${enterAfter:-failed}"
row "Start of the process to the month window's first frame, offscreen" "${startupMedian:-failed}" "< 300 ms" \
    "$(meets "$(number "$startupMedian")" 300)"
row "… of which the month window's construction (first open with key derivation, BuildMonth, scan)" \
    "${createMedian:-failed}"
if [ -n "$xStartup" ]; then
    row "Start of the process to the month window's first frame, under Xvfb (xcb)" "$xStartup" "< 300 ms" \
        "$(meets "$(number "$xStartup")" 300)"
fi
row "Peak memory (VmHWM) of orvella with the month window open, 10,000 day records" "$peakMemory" "< 80 MB" \
    "$(meets "$peakNumber" 80)"
row "Store: first open (key derivation)" "$(median "$s" BM_FirstOpen/real_time)"
row "Store: re-open of a kept handle" "$(median "$s" BM_Reopen/real_time)"
row "Store: one day's SELECT" "$(median "$s" BM_SelectDay/real_time)"
row "Store: INSERT of an existing day (refused)" "$(median "$s" BM_InsertExistingDay/real_time)"
row "Store: post of one slot" "$(median "$s" BM_PostOneSlot/real_time)"
row "Store: month scan (open, 31 queries, close)" "$(median "$s" BM_MonthScan/real_time)"
row "Import of an older book, 10,000 days (read, write, read back and compare, put in place)" \
    "${import10k:-failed} ms" "< 2000 ms" "$(meets "$import10k" 2000)"
row "… its CPU time (user and system)" "${importCpu10k:-failed} ms"
row "… reading the older book alone (it is read twice: import and check)" "${importRead10k:-failed} ms"
# Flat: 167 times the days may not take twice the memory (the database library's page cache has a fixed cap).
row "Peak memory of an import above the process's start, 60 days / 10,000 days" \
    "${importPeakSmall:-?} MB / ${importPeak10k:-?} MB" "flat in the days" \
    "$(awk -v a="$importPeakSmall" -v b="$importPeak10k" 'BEGIN {
        if (a !~ /^[0-9.]+$/ || b !~ /^[0-9.]+$/) print "—"; else print (b < 2 * a ? "yes" : "no") }')"

# --- Side by side with the floor programs: ratios of the pairs of one run -------------------------------
echo
echo "Side by side: each repetition pairs a figure with its floor (or with another figure) of the same run."
echo
echo "| Figure against floor | Figure | Floor | Ratio, median (min–max) | Target | Met |"
echo "|---|---|---|---|---|---|"
python3 "$here/bench/pair-ratios.py" "$w" \
    "Month change, 10,000 records / 31 lookups with one statement, each its own read|BM_MonthChange/10000/real_time|BM_FloorMonthLookups/10000/real_time|<=1.0" \
    "Month change, 10,000 records / the same 31 lookups in one read|BM_MonthChange/10000/real_time|BM_FloorMonthLookupsOneRead/10000/real_time|<=3" \
    "Month change, 10,000 records / one range read of the month|BM_MonthChange/10000/real_time|BM_FloorMonthRange/10000/real_time|-" \
    "Month change, 10,000 records / 0 records (growth)|BM_MonthChange/10000/real_time|BM_MonthChange/0/real_time|within:0.2" \
    "Month change, every slot filled / 0 records (growth)|BM_MonthChange/-1/real_time|BM_MonthChange/0/real_time|within:0.3" \
    "Month change, 10,000 records / 1,000 records (same month contents)|BM_MonthChange/10000/real_time|BM_MonthChange/1000/real_time|within:0.2" \
    "The floor's own growth: 31 lookups in one read, 10,000 / 0 records|BM_FloorMonthLookupsOneRead/10000/real_time|BM_FloorMonthLookupsOneRead/0/real_time|-" \
    "The floor's own growth: 31 lookups in one read, every slot filled / 0 records|BM_FloorMonthLookupsOneRead/-1/real_time|BM_FloorMonthLookupsOneRead/0/real_time|-" \
    "What a filled month adds, 10,000 records: month change / floor in one read|BM_MonthChange/10000/real_time - BM_MonthChange/0/real_time|BM_FloorMonthLookupsOneRead/10000/real_time - BM_FloorMonthLookupsOneRead/0/real_time|-" \
    "What a filled month adds, every slot filled: month change / floor in one read|BM_MonthChange/-1/real_time - BM_MonthChange/0/real_time|BM_FloorMonthLookupsOneRead/-1/real_time - BM_FloorMonthLookupsOneRead/0/real_time|-" \
    "Print button to PDF written / a plain 28-row PDF in one face|BM_PrintDayToPdf/real_time|BM_FloorPlainPdf/real_time|<=2.0" \
    "Print button to PDF written / the day sheet drawn by hand|BM_PrintDayToPdf/real_time|BM_FloorSheetPdf/10000/real_time|<=2.0" \
    "Report engine alone to PDF / the day sheet drawn by hand|BM_ReportToPdf/real_time|BM_FloorSheetPdf/10000/real_time|-"
python3 "$here/bench/pair-ratios.py" "$wk" \
    "Week printed to PDF / a day sheet printed to PDF, 10,000 records|BM_PrintWeekToPdf/10000/real_time|BM_PrintDaySheetToPdf/10000/real_time|<=3" \
    "Week printed to PDF / a day sheet printed to PDF, every slot filled|BM_PrintWeekToPdf/-1/real_time|BM_PrintDaySheetToPdf/-1/real_time|<=3"

# --- Instructions beside the floors (Callgrind), and the same pairs on the wall clock ----------------------
# The import and the exports as whole processes, orvella-datafolder against orvella_floor_exchange; the month
# change on the file and on a server book against its floors, counted over rounds of orvella_bench_rounds.
echo
echo "Instructions (Callgrind; they do not depend on the machine's load) beside the wall clock of the same pairs."
echo
if command -v valgrind >/dev/null; then
    bash "$here/bench/exchange-floors.sh" "$build" "${ORVELLA_BENCH_PAIRS:-5}" || echo "exchange-floors.sh failed"
    echo
    bash "$here/bench/month-instructions.sh" "$build" || echo "month-instructions.sh failed"
else
    echo "valgrind is not installed: no instruction counts (apt-get install valgrind)"
fi
