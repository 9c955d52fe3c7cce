#!/usr/bin/env bash
# Fails when a source file includes a header of a folder its layer may not reach. Dependencies point one way:
#   platform (the operating system) <- store/engine <- store/cipher, store/server <- store/backup <- store
#   <- store/wholebook <- legacy, exchange (and platform);   platform <- resources (the compiled-in files and
#   the catalogue) <- report, base;   day <- month <- app, exchange <- month (the calendar import).
# The libraries' link graph says the same; this guards the includes, which the graph cannot.
set -euo pipefail
root="${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}"
store_all="store store/engine store/cipher store/server store/backup store/wholebook"
declare -A allowed=(
    [platform]="platform"
    [store/engine]="store/engine platform"
    [store/cipher]="store/cipher store/engine platform"
    [store/server]="store/server store/engine platform"
    [store/backup]="store/backup store/cipher store/engine platform"
    [store]="store store/engine store/cipher store/server store/backup platform"
    [store/wholebook]="store/wholebook store store/engine store/cipher store/server platform"
    [resources]="resources platform"
    [report]="report resources platform"
    [base]="base resources platform"
    [exchange]="exchange store store/engine platform"
    [legacy]="legacy $store_all platform"
    [day]="day $store_all report base resources platform"
    [month]="month day exchange $store_all report base resources platform"
    [app]="app month day $store_all report base legacy resources platform"
)
status=0
for layer in "${!allowed[@]}"; do
    while IFS= read -r line; do
        file=${line%%:*}
        header=$(sed -E 's/.*#include "([^"]+)".*/\1/' <<<"${line#*:}")
        case "$header" in
            store/*/*) folder=${header%/*} ;;
            */*) folder=${header%%/*} ;;
            *.moc) continue ;;
            *) echo "$file: include without its folder: \"$header\""; status=1; continue ;;
        esac
        if ! grep -qxF -- "$folder" <(tr ' ' '\n' <<<"${allowed[$layer]}"); then
            echo "$file: the $layer layer includes \"$header\" from $folder/"
            status=1
        fi
    done < <(find "$root/$layer" -maxdepth 1 \( -name '*.h' -o -name '*.cpp' \) -print0 |
                 xargs -0 -r grep -Ho '#include "[^"]*"' | sed "s|^$root/||")
done
[ "$status" -eq 0 ] && echo "every include stays within its layer"
exit "$status"
