#!/usr/bin/env bash
# Fails when a source file includes a header of a folder its layer may not reach. Dependencies point one way:
# app -> month -> day -> store, report, base; store and report reach nothing of ours; base reaches no window;
# exchange (calendar files) reaches the store only.
set -euo pipefail
root="${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}"
declare -A allowed=(
    [store]="store"
    [report]="report"
    [base]="base"
    [exchange]="exchange store"
    [legacy]="legacy store"
    [day]="day store report base"
    [month]="month day store report base"
    [app]="app month day store report base legacy"
)
status=0
for layer in "${!allowed[@]}"; do
    while IFS= read -r line; do
        file=${line%%:*}
        header=$(sed -E 's/.*#include "([^"]+)".*/\1/' <<<"${line#*:}")
        case "$header" in
            */*) folder=${header%%/*} ;;
            *.moc) continue ;;
            *) echo "$file: include without its folder: \"$header\""; status=1; continue ;;
        esac
        if ! grep -qw -- "$folder" <<<"${allowed[$layer]}"; then
            echo "$file: the $layer layer includes \"$header\" from $folder/"
            status=1
        fi
    done < <(grep -rHo --include='*.h' --include='*.cpp' '#include "[^"]*"' "$root/$layer" | sed "s|^$root/||")
done
[ "$status" -eq 0 ] && echo "every include stays within its layer"
exit "$status"
