"""Exports dues with paylark-cli as iCalendar and CSV and reads the files back with independent
readers: python3-icalendar for the feed, Python's csv module for the CSV round trip."""
import csv
import datetime
import io
import os
import pathlib
import subprocess
import sys
import tempfile

import icalendar

LONG_NOTES = "Grüße aus Köln; Ärger, “Zitat” € " * 12 + "\nzweite Zeile\nLetzte: 日本語"


def cli(folder, *arguments):
    environment = dict(os.environ, LC_ALL="en_US.UTF-8", TZ="Europe/Berlin",
                       XDG_CONFIG_HOME=str(folder / "config"), XDG_DATA_HOME=str(folder / "data"))
    return subprocess.run([sys.argv[1], "--dir", str(folder), *arguments], check=True,
                          env=environment, capture_output=True, text=True).stdout


def add_dues(folder):
    cli(folder, "add", "--title", "Miete, Wohnung", "--due", "2026-12-01 09:00", "--amount",
        "850", "--pay-to", "Vermieter \"Haus\"", "--notes", LONG_NOTES)
    cli(folder, "add", "--title", "Strom", "--due", "2026-12-15 18:30", "--amount", "1234.5",
        "--paid", "--type", "personal", "--account", "Giro")
    cli(folder, "series", "--kind", "month", "--day", "20", "--every", "1", "--start",
        "2026-11-20", "--count", "3", "--title", "Versicherung", "--amount", "40")
    cli(folder, "series", "--kind", "week", "--every", "2", "--on", "mon", "--start",
        "2026-12-01", "--count", "2", "--title", "Putzen", "--amount", "25", "--paid")


def check_calendar(folder):
    first = cli(folder, "export", "ics", "--output", str(folder / "a.ics"))
    assert first == "", first
    cli(folder, "export", "ics", "--output", str(folder / "b.ics"))
    calendar = icalendar.Calendar.from_ical((folder / "a.ics").read_bytes())
    assert str(calendar["PRODID"]) == "-//Paylark//Paylark//EN"
    assert str(calendar["X-WR-CALNAME"]) == "Paylark"
    events = calendar.walk("VEVENT")
    assert len(events) == 7, len(events)
    uids = [str(event["UID"]) for event in events]
    assert len(set(uids)) == 7 and all(uid.endswith("@paylark") for uid in uids), uids
    again = icalendar.Calendar.from_ical((folder / "b.ics").read_bytes())
    assert [str(event["UID"]) for event in again.walk("VEVENT")] == uids, "UIDs are stable"
    by_title = {}
    for event in events:
        start = event["DTSTART"].dt
        assert type(start) is datetime.date, start
        assert event["DTEND"].dt == start + datetime.timedelta(days=1)
        summary = str(event["SUMMARY"])
        paid = summary.startswith("Paid: ")
        alarms = event.walk("VALARM")
        assert len(alarms) == (0 if paid else 1), summary
        if alarms:
            assert alarms[0]["TRIGGER"].dt == datetime.timedelta(days=-3)
        by_title.setdefault(summary, []).append(event)
    rent = by_title["Miete, Wohnung – $850.00"][0]
    assert rent["DTSTART"].dt == datetime.date(2026, 12, 1)
    description = str(rent["DESCRIPTION"])
    assert description.startswith("Pay to: Vermieter \"Haus\"\nAccount: \nDue: 12/01/2026 09:00 AM"
                                   "\nType: Business\nStatus: Unpaid\n\n"), description
    assert description.endswith(LONG_NOTES), "notes survive folding intact"
    power = by_title["Paid: Strom – $1,234.50"][0]
    assert power["DTSTART"].dt == datetime.date(2026, 12, 15)
    assert str(power["CATEGORIES"].cats[0]) == "Personal"
    assert str(power["TRANSP"]) == "TRANSPARENT"


def rows_of(path):
    with open(path, newline="", encoding="utf-8") as file:
        return list(csv.DictReader(file))


def without_ids(rows):
    return [{k: v for k, v in row.items() if k not in ("ID", "Series")} for row in rows]


def groups(rows):
    """The rows of each series, as sets of row positions."""
    members = {}
    for index, row in enumerate(rows):
        if row["Series"]:
            members.setdefault(row["Series"], set()).add(index)
    return sorted(sorted(group) for group in members.values())


def check_csv_round_trip(folder, empty):
    cli(folder, "export", "csv", "--output", str(folder / "a.csv"))
    raw = (folder / "a.csv").read_bytes()
    assert raw.startswith(
        b"ID,Title,Pay To,Account,Amount,Due,Start,Type,Status,Series,Notes,"
        b"Paid On,Paid Amount,Reference\r\n"
    )
    added = cli(empty, "import", "csv", str(folder / "a.csv")).split()
    assert len(added) == 7, added
    cli(empty, "export", "csv", "--output", str(empty / "b.csv"))
    first, second = rows_of(folder / "a.csv"), rows_of(empty / "b.csv")
    assert without_ids(first) == without_ids(second)
    assert groups(first) == groups(second), (groups(first), groups(second))
    assert sorted(len(group) for group in groups(first)) == [2, 3], groups(first)
    rent = [row for row in second if row["Title"] == "Miete, Wohnung"]
    assert rent[0]["Notes"] == LONG_NOTES.replace("\n", "\r\n"), rent


def check_spreadsheet_forms(folder):
    """LibreOffice quotes every text cell, breaks lines with LF alone and may write a BOM."""
    written = io.StringIO(newline="")
    writer = csv.writer(written, quoting=csv.QUOTE_ALL, lineterminator="\n")
    writer.writerow(["Due", "Title", "Notes", "Amount", "Status"])
    writer.writerow(["2027-03-01 08:00:00", 'Say "hi", then pay', "one\ntwo", "$1,000.00", "paid"])
    writer.writerow(["2027-03-02", "Zweite", "", "7", ""])
    (folder / "office.csv").write_bytes(b"\xef\xbb\xbf" + written.getvalue().encode("utf-8"))
    assert cli(folder, "import", "csv", str(folder / "office.csv"), "--dry-run") == \
        "2 dues would be added\n"
    cli(folder, "import", "csv", str(folder / "office.csv"))
    cli(folder, "export", "csv", "--month", "2027-03", "--output", str(folder / "c.csv"))
    rows = rows_of(folder / "c.csv")
    assert [row["Title"] for row in rows] == ['Say "hi", then pay', "Zweite"], rows
    assert rows[0]["Notes"] == "one\r\ntwo" and rows[0]["Amount"] == "1000.00"
    assert rows[0]["Status"] == "Paid" and rows[1]["Status"] == "Unpaid"
    assert rows[1]["Due"] == "2027-03-02 00:00:00" and rows[1]["Pay To"] == "Someone"


def main():
    with tempfile.TemporaryDirectory() as first, tempfile.TemporaryDirectory() as second, \
            tempfile.TemporaryDirectory() as third:
        folder, empty, office = pathlib.Path(first), pathlib.Path(second), pathlib.Path(third)
        add_dues(folder)
        check_calendar(folder)
        check_csv_round_trip(folder, empty)
        check_spreadsheet_forms(office)
    print("the calendar feed and the CSV files read back as written")


if __name__ == "__main__":
    main()
