#!/usr/bin/env bash
# Brings the Greek catalogue up to the code: every text written with tr() or QCoreApplication::translate() in
# the program's folders lands in orvella_el.ts (new ones unfinished, translations kept), and the report shows
# what is left to translate. The build compiles the .ts with lrelease; run this after changing texts.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
/usr/lib/qt6/bin/lupdate -locations none -no-obsolete -silent \
    app base day month report store legacy exchange platform resources tools -ts resources/orvella_el.ts
unfinished=$(grep -c 'type="unfinished"' resources/orvella_el.ts || true)
echo "resources/orvella_el.ts: $unfinished text(s) still to translate"
