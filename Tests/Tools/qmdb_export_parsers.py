#!/usr/bin/python3
"""qmdb export and import, judged by parsers that share no code with qmdb:
vobject reads the vCards, icalendar the calendar, Python's html.parser the
bookmarks and json the index. The data folder is written here byte by byte
from the record layouts (with zlib's CRC-32), so the writer is independent
too. Every field that goes out is compared with what went in; then the
exported vCards and bookmarks are imported into a fresh folder, exported
again and compared, and imported a second time, which must add nothing.

Usage: qmdb_export_parsers.py QMDB [LAUNCHER...]  (LAUNCHER runs a Windows
qmdb.exe under Wine; paths are then handed over as Z:\\... paths).
"""
import datetime
import html.parser
import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

import icalendar
import vobject

QMDB = sys.argv[1]
LAUNCHER = sys.argv[2:]
FAILURES = []

# Record layouts: store name -> (record size, [(field, offset, type)]).
TEXT, INT, TIME = "text", "int", "time"
NOTE = (773, [("date", 0, TEXT), ("title", 255, TEXT), ("note_type", 510, INT), ("file_name", 514, TEXT)])
LAYOUTS = {
    "TextNotes": NOTE, "AudioNotes": NOTE, "VideoNotes": NOTE,
    "PhotoAlbum": (1024, [("date", 0, TEXT), ("title", 255, TEXT), ("comment", 510, TEXT), ("file_name", 765, TEXT)]),
    "TimeNotif": (790, [("date", 0, TEXT), ("title", 255, TEXT), ("text", 510, TEXT), ("type", 765, INT),
                        ("time", 770, TIME)]),
    "EmailRes": (2809, [(name, 255 * i, TEXT) for i, name in enumerate(
        ["date", "name", "company", "address", "city", "zip", "state", "phone", "nick", "comment", "email"])]),
    "InternetRes": (776, [("date", 0, TEXT), ("title", 255, TEXT), ("address", 510, TEXT),
                          ("resource_type", 768, INT)]),
    "FastText": (769, [("date", 0, TEXT), ("title", 255, TEXT), ("file_name", 510, TEXT)]),
}
CATEGORIES = ["Personal", "Bussines", "Funny", "News", "Shopping", "Others"]
DATE = "09:05:03 12/02/2003"


def check(condition, what):
    if not condition:
        FAILURES.append(what)
        print("FAILED:", what)


def native(path):
    return "Z:" + path.replace("/", "\\") if LAUNCHER else path


def qmdb(*arguments):
    result = subprocess.run(LAUNCHER + [QMDB] + list(arguments), capture_output=True, timeout=300)
    return result.returncode, result.stdout.decode("utf-8", "replace"), result.stderr.decode("utf-8", "replace")


def record_bytes(store, fields, codepage):
    size, layout = LAYOUTS[store]
    record = bytearray(size)
    for name, offset, kind in layout:
        value = fields.get(name, DATE if name == "date" else None)
        if value is None:
            continue
        if kind == TEXT:
            encoded = value.encode(codepage)
            assert len(encoded) <= 254
            record[offset:offset + len(encoded)] = encoded
        elif kind == INT:
            record[offset:offset + 4] = struct.pack("<i", value)
        else:
            year, month, day, hour, minute, second = value
            record[offset:offset + 16] = struct.pack("<8H", year, month, 0, day, hour, minute, second, 0)
    return bytes(record)


def write_store(folder, store, records, codepage="cp1252"):
    """A revision 'C' database file holding the records in order."""
    blocks = b""
    for fields in records:
        record = record_bytes(store, fields, codepage)
        block_length = 28 + len(record) + 4
        blocks += struct.pack("<4I", 0xFEFE, block_length, ord("N"), 0) + bytes(12) + record
        blocks += struct.pack("<I", zlib.crc32(record) & 0xFFFFFFFF)
    header = struct.pack("<4I", 0, 40 + len(blocks), 40, 0) + b"GXDBASEC" + struct.pack("<I", 4000) + bytes(12)
    with open(os.path.join(folder, store + ".qmt"), "wb") as out:
        out.write(header + blocks)


def write_file(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(data)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def content_lines_ok(path):
    data = read(path)
    lines = data.split(b"\r\n")
    check(lines[-1] == b"" and b"\n" not in b"".join(lines), path + ": every line ends with CRLF")
    check(all(len(line) <= 75 for line in lines), path + ": no line longer than 75 octets")
    for line in lines:
        line.decode("utf-8")  # a fold that split a character raises here


EMAILS = [
    {"name": "Jörg Müller, Jr.", "company": "ACME; Tools \\ Dies", "address": "Hauptstraße 1", "city": "Köln",
     "zip": "50667", "state": "NRW", "phone": "+49 221 555", "nick": "Jö,rg",
     "comment": "First line\r\nSecond line, with; every\\ escape and enough € text to be folded twice " * 2,
     "email": "joerg@example.com"},
    {"name": "Only Name", "email": "only@example.com"},
    {"name": "\u201cQuoted\u201d \u0152uvre", "company": "\u00c6sir", "comment": "x" * 254, "email": "q@example.com"},
]
BOOKMARKS = [{"title": "Site %d & <%s>" % (i, CATEGORIES[min(t, 5)]), "address": "http://example.com/%d?a=1&b=\"%d\"" % (i, t),
              "resource_type": t} for i, t in enumerate([0, 1, 2, 3, 4, 5, 9, -1, 1])]
NOTIFICATIONS = [
    {"title": "Dentist", "text": "Bring card, insurance; and\r\nthe letter", "type": 1, "time": (2027, 3, 9, 8, 15, 0)},
    {"title": "Call mum", "text": "", "type": 0, "time": (2026, 12, 24, 18, 30, 45)},
    {"title": "", "text": "untitled reminder", "type": 7, "time": (2028, 2, 29, 0, 0, 0)},
    {"title": "Never", "text": "no such day", "type": 1, "time": (2027, 2, 30, 9, 0, 0)},
]
TEXT_NOTES = [
    {"title": "Plan: A/B?", "note_type": 1, "file_name": "TextNote1.doc"},
    {"title": "plan: a/b?", "note_type": 0, "file_name": "TextNote2.doc"},
    {"title": "CON", "note_type": 0, "file_name": "TextNote3.doc"},
    {"title": "Lost", "note_type": 0, "file_name": "TextNote4.doc"},  # its attachment is missing
    {"title": "Été: 5 €", "note_type": 0, "file_name": "TextNote5.doc"},
    {"title": "été: 5 €", "note_type": 0, "file_name": "TextNote6.doc"},
]
FAST_TEXTS = [{"title": "Sign-off", "file_name": "FastText1.fst"}]
PHOTOS = [{"title": "Beach", "comment": "2003", "file_name": "Photo1.jpg"}]


def make_data_folder(folder):
    write_store(folder, "EmailRes", EMAILS)
    write_store(folder, "InternetRes", BOOKMARKS)
    write_store(folder, "TimeNotif", NOTIFICATIONS)
    write_store(folder, "TextNotes", TEXT_NOTES)
    write_store(folder, "FastText", FAST_TEXTS)
    write_store(folder, "PhotoAlbum", PHOTOS)
    for i in [1, 2, 3, 5, 6]:
        write_file(os.path.join(folder, "TextNotes", "TextNote%d.doc" % i), b"{\\rtf1\\ansi\\ansicpg1252 note %d}" % i)
    write_file(os.path.join(folder, "FastText", "FastText1.fst"), "Grüße\r\n\u2013 Jörg".encode("cp1252"))
    write_file(os.path.join(folder, "PhotoAlbum", "Photo1.jpg"), b"\xff\xd8\xff\xe0 not really a jpeg")


def vcard_fields(card):
    """The record fields a parsed vCard carries; line breaks as the program keeps them."""
    def text(name):
        entries = card.contents.get(name, [])
        return entries[0].value if entries else ""
    fields = {"name": text("fn"), "phone": text("tel"), "nick": text("nickname"),
              "comment": text("note").replace("\n", "\r\n"), "email": text("email")}
    org = card.contents.get("org")
    fields["company"] = ";".join(org[0].value) if org else ""
    adr = card.contents.get("adr")
    a = adr[0].value if adr else None
    fields.update({"address": a.street if a else "", "city": a.city if a else "", "state": a.region if a else "",
                   "zip": a.code if a else ""})
    check(not a or (a.box == "" and a.extended == "" and a.country == ""), "ADR has only the four parts")
    return fields


def check_vcards(path, expected):
    content_lines_ok(path)
    cards = list(vobject.readComponents(read(path).decode("utf-8")))
    check(len(cards) == len(expected), "%s holds %d cards" % (path, len(expected)))
    for card, record in zip(cards, expected):
        check(card.version.value == "4.0", "vCard 4.0")
        got = vcard_fields(card)
        for field in ["name", "company", "address", "city", "zip", "state", "phone", "nick", "comment", "email"]:
            check(got[field] == record.get(field, ""), "vCard %s: %r != %r" % (field, got[field], record.get(field, "")))
        for name, fields in [("org", ["company"]), ("adr", ["address", "city", "state", "zip"]), ("tel", ["phone"]),
                             ("nickname", ["nick"]), ("note", ["comment"])]:
            if not any(record.get(field) for field in fields):
                check(name not in card.contents, "empty %s write no %s" % (fields, name.upper()))
    return [vcard_fields(card) for card in cards]


class BookmarkParser(html.parser.HTMLParser):
    def __init__(self):
        super().__init__()
        self.folders, self.heading, self.pending, self.link, self.marks = [], None, None, None, []

    def handle_starttag(self, tag, attrs):
        if tag == "h3":
            self.heading = ""
        elif tag == "dl":
            self.folders.append(self.pending)
            self.pending = None
        elif tag == "a":
            self.link = [dict(attrs)["href"], ""]

    def handle_endtag(self, tag):
        if tag == "h3":
            self.pending, self.heading = self.heading, None
        elif tag == "dl":
            self.folders.pop()
        elif tag == "a":
            self.marks.append((self.folders[-1], self.link[1], self.link[0]))
            self.link = None

    def handle_data(self, data):
        if self.heading is not None:
            self.heading += data
        if self.link is not None:
            self.link[1] += data


def parse_bookmarks(path):
    text = read(path).decode("utf-8")
    check(text.startswith("<!DOCTYPE NETSCAPE-Bookmark-file-1>"), "the bookmark file's DOCTYPE")
    parser = BookmarkParser()
    parser.feed(text)
    parser.close()
    check(parser.folders == [], "bookmark folders are balanced")
    return parser.marks


def expected_bookmarks(records):
    return sorted((CATEGORIES[r["resource_type"] if 0 <= r["resource_type"] <= 4 else 5], r["title"], r["address"])
                  for r in records)


def check_export(data, out):
    code, stdout, stderr = qmdb("export", native(data), native(out))
    check(code == 1, "export reports what it skipped with status 1 (got %d: %s %s)" % (code, stdout, stderr))
    check('"Lost"' in stderr and "missing" in stderr, "the missing attachment is reported: " + stderr)
    check('"Never"' in stderr and "no date" in stderr, "the notification without a date is reported: " + stderr)

    check_vcards(os.path.join(out, "EmailRes.vcf"), EMAILS)

    content_lines_ok(os.path.join(out, "TimeNotif.ics"))
    calendar = icalendar.Calendar.from_ical(read(os.path.join(out, "TimeNotif.ics")))
    events = list(calendar.walk("VEVENT"))
    valid = NOTIFICATIONS[:3]
    check(len(events) == len(valid), "one VEVENT per notification with a date")
    uids = set()
    for event, record in zip(events, valid):
        check(str(event["SUMMARY"]) == record["title"], "SUMMARY %r" % str(event["SUMMARY"]))
        description = str(event.get("DESCRIPTION", ""))
        check(description.replace("\n", "\r\n") == record["text"], "DESCRIPTION %r" % description)
        check(event["DTSTART"].dt == datetime.datetime(*record["time"]), "DTSTART %r" % event["DTSTART"].dt)
        check(event["DTSTART"].dt.tzinfo is None, "DTSTART is the local (floating) time")
        check(("PRIORITY" in event and int(event["PRIORITY"]) == 1) == (record["type"] == 1), "PRIORITY 1 for urgent only")
        check("DTSTAMP" in event, "DTSTAMP present")
        uids.add(str(event["UID"]))
        alarms = list(event.walk("VALARM"))
        check(len(alarms) == 1 and str(alarms[0]["ACTION"]) == "DISPLAY", "one display VALARM")
        check(alarms[0]["TRIGGER"].dt == datetime.timedelta(0), "the alarm fires at the start")
        check(str(alarms[0]["DESCRIPTION"]) == (record["title"] or record["text"]), "the alarm's DESCRIPTION")
    check(len(uids) == len(events), "UIDs are unique")

    check(sorted(parse_bookmarks(os.path.join(out, "InternetRes.html"))) == expected_bookmarks(BOOKMARKS),
          "bookmarks by category folder")

    notes = os.path.join(out, "TextNotes")
    check(sorted(os.listdir(notes)) == ["CON_.rtf", "Plan_ A_B_.rtf", "plan_ a_b_ (2).rtf", "Été_ 5 €.rtf", "été_ 5 € (2).rtf"], "note file names: %r" % os.listdir(notes))
    check(read(os.path.join(notes, "plan_ a_b_ (2).rtf")) == b"{\\rtf1\\ansi\\ansicpg1252 note 2}", "RTF copied as stored")
    check(read(os.path.join(notes, "été_ 5 € (2).rtf")) == b"{\\rtf1\\ansi\\ansicpg1252 note 6}", "names keep every character")
    check(read(os.path.join(out, "FastText", "Sign-off.txt")).decode("utf-8") == "Grüße\r\n\u2013 Jörg", "fast text in UTF-8")
    check(read(os.path.join(out, "PhotoAlbum", "Beach.jpg")) == b"\xff\xd8\xff\xe0 not really a jpeg", "photo copied")

    stores = {"email": ("EmailRes", EMAILS), "internet": ("InternetRes", BOOKMARKS), "timenotif": ("TimeNotif", NOTIFICATIONS),
              "textnote": ("TextNotes", TEXT_NOTES), "fasttext": ("FastText", FAST_TEXTS), "photo": ("PhotoAlbum", PHOTOS)}
    seen = {kind: 0 for kind in stores}
    with open(os.path.join(out, "index.jsonl"), encoding="utf-8") as index:
        for line in index:
            entry = json.loads(line)
            store, records = stores[entry["kind"]]
            record = records[seen[entry["kind"]]]
            seen[entry["kind"]] += 1
            check(entry["crc_ok"] is True, "index: crc_ok")
            for name, _, kind in LAYOUTS[store][1]:
                want = record.get(name, DATE if name == "date" else ("" if kind == TEXT else 0))
                if kind == TIME:
                    want = "%04d-%02d-%02d %02d:%02d:%02d.000" % want
                check(entry[name] == want, "index %s.%s: %r != %r" % (entry["kind"], name, entry[name], want))
            missing = record.get("title") in ("Lost", "Never")
            check((entry["file"] is None) == missing, "index: file is null exactly for what was skipped")
            if entry["file"] is not None:
                check(os.path.isfile(os.path.join(out, entry["file"])), "index names a file that exists: " + entry["file"])
    check(all(seen[kind] == len(stores[kind][1]) for kind in stores), "index: one line per record")


def check_round_trip(out, work):
    data2 = os.path.join(work, "data2")
    os.makedirs(data2)
    vcf, bookmarks = os.path.join(out, "EmailRes.vcf"), os.path.join(out, "InternetRes.html")
    for source in (vcf, bookmarks):
        code, stdout, stderr = qmdb("import", native(source), native(data2))
        check(code == 0, "import of %s: %d %s %s" % (source, code, stdout, stderr))
    out2 = os.path.join(work, "out2")
    code, stdout, stderr = qmdb("export", native(data2), native(out2))
    check(code == 0, "export of the imported data: %d %s" % (code, stderr))
    check(check_vcards(os.path.join(out2, "EmailRes.vcf"), EMAILS) is not None, "vCards round-trip")
    check(parse_bookmarks(os.path.join(out2, "InternetRes.html")) == parse_bookmarks(bookmarks), "bookmarks round-trip")

    before = read(os.path.join(data2, "EmailRes.qmt"))
    code, stdout, stderr = qmdb("import", native(vcf), native(data2))
    check(code == 0 and "imported 0 " in stdout and stderr.count("not added twice") == len(EMAILS),
          "a second import adds nothing and names every duplicate: %s %s" % (stdout, stderr))
    check(read(os.path.join(data2, "EmailRes.qmt")) == before, "a second import leaves the store as it was")

    broken = os.path.join(work, "broken.vcf")
    write_file(broken, read(vcf).rsplit(b"END:VCARD", 1)[0])
    code, stdout, stderr = qmdb("import", native(broken), native(data2))
    check(code == 1 and "nothing imported" in stderr, "a cut-off vCard file imports nothing: " + stderr)
    check(read(os.path.join(data2, "EmailRes.qmt")) == before, "a bad input leaves the store byte-identical")


def check_code_page(work):
    data = os.path.join(work, "cyrillic")
    os.makedirs(data)
    person = {"name": "Пётр Чайковский", "city": "Воткинск", "email": "pyotr@example.ru"}
    write_store(data, "EmailRes", [person], "cp1251")
    out = os.path.join(work, "cyrillic-out")
    code, _, stderr = qmdb("export", "--codepage", "1251", "--kind", "email", native(data), native(out))
    check(code == 0, "export --codepage 1251: " + stderr)
    check_vcards(os.path.join(out, "EmailRes.vcf"), [person])
    check(sorted(os.listdir(out)) == ["EmailRes.vcf", "index.jsonl"], "--kind email writes only its own file")


def main():
    work = tempfile.mkdtemp(prefix="qm-export-")
    try:
        data, out = os.path.join(work, "data"), os.path.join(work, "out")
        os.makedirs(data)
        make_data_folder(data)
        check_export(data, out)
        check_round_trip(out, work)
        check_code_page(work)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("%d failures" % len(FAILURES))
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main())
