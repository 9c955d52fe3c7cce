#!/usr/bin/env python3
"""Imports damaged copies of the older test books and checks that nothing is brought over other than libmdb reads it.

    python3 tests/legacy/mutation/mutate-older-books.py BUILD_DIR [RUNS] [SEED]

Each run copies rantebou-small.mdb or rantebou-small-password.mdb, changes a few bytes of it (anywhere in the
appointment table's data pages, in one record's table of value offsets, or in one stored text), and imports it with
orvella-datafolder --import into a new folder. An import that succeeds is then compared, day by day and slot by slot,
with what libmdb itself reads from the same damaged file (mdb-json, from Debian's mdbtools package): a slot that
holds another text than libmdb's (a character beyond the basic plane, which libmdb gives as "??", aside) is a fault.
Days the damaged file holds more than one record for are merged by the import and left out of the comparison.
Prints every fault as it is found and a tally of the outcomes; exits 1 when there was one. Not part of the test run: a few
thousand runs take a quarter of an hour or more.
"""
import collections
import json
import os
import random
import re
import shutil
import struct
import subprocess
import sys
import tempfile

here = os.path.dirname(os.path.abspath(__file__))
fixtures = os.path.join(here, "..", "fixtures")
PAGE = 4096
SLOTS = ["%02d%02d-%02d%02d" % (h, m, h + (m + 30) // 60, (m + 30) % 60) for h in range(8, 22) for m in (0, 30)]


def records(data):
    """(file offset, size) of every record of the appointment table (29 columns) in a Jet 4 file."""
    found = []
    for page in range(len(data) // PAGE):
        base = page * PAGE
        if data[base] != 1:
            continue
        count = struct.unpack_from("<H", data, base + 12)[0]
        for row in range(min(count, 200)):
            start = struct.unpack_from("<H", data, base + 14 + 2 * row)[0] & 0x1FFF
            end = PAGE if row == 0 else struct.unpack_from("<H", data, base + 14 + 2 * (row - 1))[0] & 0x1FFF
            if 4 <= end - start and start + 2 <= PAGE and struct.unpack_from("<H", data, base + start)[0] == 29:
                found.append((base + start, end - start))
    return found


def mutate(data, rows, rng):
    data = bytearray(data)
    kind = rng.choice(["table bytes", "offsets", "text"])
    row, size = rng.choice(rows)
    if kind == "table bytes":
        pages = sorted({r // PAGE for r, _ in rows})
        for _ in range(rng.randint(1, 6)):
            data[rng.choice(pages) * PAGE + rng.randrange(PAGE)] = rng.randrange(256)
    elif kind == "offsets":
        values = struct.unpack_from("<H", data, row + size - 4 - 2)[0]
        entry = row + size - 4 - 2 - 2 - 2 * rng.randrange(values + 1)
        if rng.random() < 0.5:
            data[entry + rng.randrange(2)] = rng.randrange(256)
        else:
            old = struct.unpack_from("<H", data, entry)[0]
            struct.pack_into("<H", data, entry, max(0, min(0xFFFF, old + rng.randint(-40, 40))))
    else:
        data[row + 10 + rng.randrange(max(1, size - 60))] = rng.randrange(256)
    return bytes(data), kind


def library_reading(path):
    run = subprocess.run(["mdb-json", "-D", "%Y-%m-%d", "-T", "%Y-%m-%d", path, "RANTEBOU"], capture_output=True,
                         timeout=30)
    if run.returncode != 0:
        return None
    days = collections.defaultdict(list)
    for line in run.stdout.decode("utf-8", "replace").split("\n"):
        if line.strip():
            record = json.loads(line)
            days[record.get("HMEROMHNIA")].append(record)
    return days


def imported_book(folder):
    columns = ", ".join('hex("%s")' % s for s in SLOTS)
    script = "PRAGMA key = 'Kw73Tp';\n.mode list\n.separator |\nSELECT HMEROMHNIA, %s FROM RANTEBOU;\n" % columns
    run = subprocess.run(["sqlcipher", "-batch", os.path.join(folder, "data.mdb")], input=script.encode(),
                         capture_output=True, timeout=60)
    book = {}
    for line in run.stdout.decode().splitlines():
        fields = line.split("|")
        if len(fields) != 1 + len(SLOTS):
            continue
        book[fields[0][:10]] = [bytes.fromhex(f).decode("utf-8") if f else None for f in fields[1:]]
    return book


def compare(library, book):
    """The slots where the imported book differs from libmdb's reading, in words."""
    pairs = [(day, day) for day in library if day in book]
    # libmdb writes a date near 30/12/1899 its own way ("1900-01-00"): the days it names otherwise than the import
    # are paired in date order, when as many are left on both sides.
    left = sorted(day for day in library if day not in book and day is not None)
    spare = sorted(day for day in book if day not in library)
    differences = []
    if len(left) == len(spare):
        pairs += zip(left, spare)
    else:
        differences += ["%s missing" % day for day in left]
    for read, imported in pairs:
        found = library[read]
        if len(found) != 1:
            continue  # merged by the import
        for slot, text in zip(SLOTS, book[imported]):
            want = found[0].get(slot) or None
            got = as_library_reads(text) if text else None
            if got != want:
                differences.append("%s %s: %r, libmdb %r" % (imported, slot, text, want))
    return differences


def as_library_reads(text):
    return re.sub("[\U00010000-\U0010FFFF]", "??", text)


def main():
    build = os.path.abspath(sys.argv[1])
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 2000
    rng = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 1)
    tool = os.path.join(build, "tools", "datafolder", "orvella-datafolder")
    samples = {}
    for name in ("rantebou-small.mdb", "rantebou-small-password.mdb"):
        with open(os.path.join(fixtures, name), "rb") as f:
            data = f.read()
        samples[name] = (data, records(data))
    tally = collections.Counter()
    faults = []
    work = tempfile.mkdtemp(prefix="orvella-mutate.")
    try:
        for number in range(runs):
            if number and number % 250 == 0:
                print("%d runs: %s" % (number, dict(tally)), flush=True)
            name = rng.choice(sorted(samples))
            data, rows = samples[name]
            damaged, kind = mutate(data, rows, rng)
            if damaged == data:
                tally["unchanged"] += 1
                continue
            old = os.path.join(work, "old.mdb")
            folder = os.path.join(work, "new")
            shutil.rmtree(folder, ignore_errors=True)
            with open(old, "wb") as f:
                f.write(damaged)
            try:
                run = subprocess.run([tool, "--import", old, folder], capture_output=True, timeout=60)
            except subprocess.TimeoutExpired:
                tally["the tool did not end"] += 1
                faults.append((number, kind, "the tool did not end"))
                print("fault in run %d (%s): %s" % faults[-1], flush=True)
                continue
            if run.returncode != 0:
                message = run.stderr.decode("utf-8", "replace")
                reason = ("overlapping values" if "overlaps another value" in message else
                          "readings differ" if "as the library that reads the file gives it" in message else
                          "not whole text" if "not whole UTF-16" in message else
                          "U+0000" if "U+0000" in message else
                          "records missing" if re.search("Only [0-9]+ of the", message) else
                          "the reader crashed or stopped" if "reading it" in message else "refused otherwise")
                tally["refused: " + reason] += 1
                continue
            library = library_reading(old)
            if library is None:
                tally["imported, libmdb's own reader failed"] += 1
                continue
            book = imported_book(folder)
            differences = compare(library, book)
            if differences:
                tally["imported, DIFFERS from libmdb"] += 1
                faults.append((number, kind, "; ".join(differences[:3])))
                print("fault in run %d (%s): %s" % faults[-1], flush=True)
            else:
                tally["imported, equal to libmdb"] += 1
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("%d runs" % runs)
    for outcome, count in sorted(tally.items()):
        print("  %5d  %s" % (count, outcome))
    print("%d fault(s)" % len(faults))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
