"""Reads an iCalendar file the way another calendar would, with Debian's python3-icalendar, and prints what it
found as JSON: the problems of its raw form (line ends, line length, characters split by folding), the
calendar's own properties and every event, its start's offset from UTC worked out from the file's own VTIMEZONE.

usage: /usr/bin/python3 read_calendar.py FILE
"""
import json
import sys

from icalendar import Calendar


def raw_problems(raw):
    problems = []
    if not raw.endswith(b"\r\n"):
        problems.append("the file does not end in CR LF")
    for number, line in enumerate(raw.split(b"\r\n")[:-1], start=1):
        if b"\n" in line or b"\r" in line:
            problems.append("line %d holds a bare line break" % number)
        if len(line) > 75:
            problems.append("line %d has %d octets" % (number, len(line)))
        try:
            line.decode("utf-8")
        except UnicodeDecodeError:
            problems.append("line %d splits a UTF-8 character" % number)
    return problems


def main():
    with open(sys.argv[1], "rb") as source:
        raw = source.read()
    calendar = Calendar.from_ical(raw.decode("utf-8"))
    zones = {}
    for component in calendar.walk("VTIMEZONE"):
        zones[str(component["TZID"])] = component.to_tz()
    events = []
    for event in calendar.walk("VEVENT"):
        start = event.decoded("DTSTART")
        end = event.decoded("DTEND")
        tzid = event["DTSTART"].params.get("TZID")
        local_start = start.replace(tzinfo=None)
        own_zone = zones[tzid]
        offset = own_zone.localize(local_start).utcoffset() if hasattr(own_zone, "localize") else \
            local_start.replace(tzinfo=own_zone).utcoffset()
        events.append({
            "uid": str(event["UID"]),
            "summary": str(event["SUMMARY"]),
            "start": local_start.isoformat(),
            "end": end.replace(tzinfo=None).isoformat(),
            "tzid": tzid,
            "endTzid": event["DTEND"].params.get("TZID"),
            "offset": int(offset.total_seconds()),
            "stamped": "DTSTAMP" in event,
        })
    print(json.dumps({
        "problems": raw_problems(raw),
        "version": str(calendar.get("VERSION", "")),
        "prodid": str(calendar.get("PRODID", "")),
        "zones": sorted(zones),
        "events": events,
    }, ensure_ascii=False))


main()
