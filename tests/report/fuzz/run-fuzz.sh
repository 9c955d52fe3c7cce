#!/usr/bin/env bash
# Builds the report-definition fuzzer with clang (a separate small build: the reader's sources and Qt Core,
# with -fsanitize=fuzzer,address,undefined) and runs it for the given number of seconds (default 60),
# starting from the committed corpus. New inputs go to a scratch copy; a crashing input is kept in the
# build folder and the script fails.
#
#   tests/report/fuzz/run-fuzz.sh [seconds]
#   ORVELLA_FUZZ_BUILD_DIR=/some/dir tests/report/fuzz/run-fuzz.sh 30
set -euo pipefail

seconds="${1:-60}"
case "$seconds" in
    '' | *[!0-9]*) echo "run-fuzz.sh: the time is a whole number of seconds, not '$seconds'" >&2; exit 2 ;;
esac

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../../.." && pwd)"
build="${ORVELLA_FUZZ_BUILD_DIR:-$root/build-report-fuzz}"

for tool in clang clang++ cmake; do
    command -v "$tool" >/dev/null || { echo "run-fuzz.sh: $tool is not installed" >&2; exit 2; }
done
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)

CC=clang CXX=clang++ cmake -S "$here" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target report_definition_fuzzer

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
cp "$here"/corpus/* "$scratch"/

echo "Fuzzing the report-definition reader for $seconds s (crashing inputs go to $build/)"
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$build/report_definition_fuzzer" \
    -max_total_time="$seconds" -max_len=16384 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -dict="$here/definition.dict" -artifact_prefix="$build/" \
    "$scratch" "$here/corpus"
