#!/usr/bin/env bash
# Makes the calendars the import tests read, each written by another program from the same appointments (in
# Athens time), and records the programs' versions in VERSIONS. Run once; the files are kept in the repository
# so that the tests need none of these programs:
#   sudo apt-get install -y khal calcurse python3-icalendar
#   bash tests/exchange/calendars/make-calendars.sh
# The appointments (what tests/exchange/CalendarImportTest.cpp expects of each file):
#   2026-03-02 10:00-11:00 "Παπαδόπουλος" at "Αίθουσα 2"     2026-03-03 09:30-10:00 "Check-up"
#   2026-03-07 07:00-09:00 "Early run" (the part before 08:00 skipped)   2026-03-09 21:30-23:00 "Late call"
#   2026-03-06 all day "Holiday" (skipped)                   "Physio" weekly on Thursdays 17:00-18:00 from
#   2026-03-05, five times, the last after the change to summer time (python3-icalendar's file also drops 03-12
#   with EXDATE and moves 03-19 to 18:00-18:30
#   with a RECURRENCE-ID override; khal's and calcurse's repeat all five)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TZ=Europe/Athens LANG=C.UTF-8 LC_ALL=C.UTF-8

# khal: one calendar folder (a vdir, one .ics per event); the file is its events one after another.
mkdir -p "$work/khal/cal"
cat >"$work/khal.conf" <<CONF
[calendars]
[[cal]]
path = $work/khal/cal
[locale]
timeformat = %H:%M
dateformat = %Y-%m-%d
longdateformat = %Y-%m-%d
datetimeformat = %Y-%m-%d %H:%M
longdatetimeformat = %Y-%m-%d %H:%M
local_timezone = Europe/Athens
default_timezone = Europe/Athens
[default]
default_calendar = cal
CONF
k() { khal -c "$work/khal.conf" new "$@" >/dev/null; }
k -l "Αίθουσα 2" "2026-03-02 10:00" "2026-03-02 11:00" "Παπαδόπουλος"
k "2026-03-03 09:30" "2026-03-03 10:00" "Check-up"
k "2026-03-07 07:00" "2026-03-07 09:00" "Early run"
k "2026-03-09 21:30" "2026-03-09 23:00" "Late call"
k "2026-03-06" "Holiday"
# khal ends the repetition at the start of the day given.
k -r weekly -u "2026-04-03" "2026-03-05 17:00" "2026-03-05 18:00" "Physio"
cat "$work"/khal/cal/*.ics >"$here/khal.ics"

# calcurse: its own appointment file, exported as iCalendar.
mkdir -p "$work/calcurse"
cat >"$work/calcurse/apts" <<APTS
03/02/2026 @ 10:00 -> 03/02/2026 @ 11:00 |Παπαδόπουλος (Αίθουσα 2)
03/03/2026 @ 09:30 -> 03/03/2026 @ 10:00 |Check-up
03/07/2026 @ 07:00 -> 03/07/2026 @ 09:00 |Early run
03/09/2026 @ 21:30 -> 03/09/2026 @ 23:00 |Late call
03/06/2026 [1] Holiday
03/05/2026 @ 17:00 -> 03/05/2026 @ 18:00 {1W -> 04/02/2026} |Physio
APTS
calcurse -D "$work/calcurse" -xical >"$here/calcurse.ics"

# python3-icalendar: written with the zone's name on every time, repetition exceptions included.
/usr/bin/python3 - "$here/python-icalendar.ics" <<'PY'
import sys
from datetime import date, datetime, timedelta
from zoneinfo import ZoneInfo
from icalendar import Calendar, Event
athens = ZoneInfo("Europe/Athens")
calendar = Calendar()
calendar.add("prodid", "-//orvella tests//python3-icalendar//EN")
calendar.add("version", "2.0")
def event(uid, summary, start, end=None, **extra):
    e = Event()
    e.add("uid", uid)
    e.add("dtstamp", datetime(2026, 1, 1, tzinfo=ZoneInfo("UTC")))
    e.add("summary", summary)
    e.add("dtstart", start)
    if end is not None:
        e.add("dtend", end)
    for key, value in extra.items():
        e.add(key.replace("_", "-"), value)
    calendar.add_component(e)
    return e
at = lambda d, h, m=0: datetime(2026, 3, d, h, m, tzinfo=athens)
event("p@t", "Παπαδόπουλος", at(2, 10), at(2, 11), location="Αίθουσα 2")
event("c@t", "Check-up", at(3, 9, 30), at(3, 10))
event("e@t", "Early run", at(7, 7), at(7, 9))
event("l@t", "Late call", at(9, 21, 30), at(9, 23))
event("h@t", "Holiday", date(2026, 3, 6), date(2026, 3, 7))
event("f@t", "Physio", at(5, 17), at(5, 18), rrule={"freq": "weekly", "count": 5}, exdate=at(12, 17))
event("f@t", "Physio", at(19, 18), at(19, 18, 30), recurrence_id=at(19, 17))
open(sys.argv[1], "wb").write(calendar.to_ical())
PY

{
    echo "khal $(dpkg-query -W -f='${Version}' khal)"
    echo "calcurse $(dpkg-query -W -f='${Version}' calcurse)"
    echo "python3-icalendar $(dpkg-query -W -f='${Version}' python3-icalendar)"
    echo "tzdata $(dpkg-query -W -f='${Version}' tzdata)"
} >"$here/VERSIONS"
