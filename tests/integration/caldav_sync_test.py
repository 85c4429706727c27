#!/usr/bin/python3
"""paylark-cli calendar sync against a Radicale server that this test starts on 127.0.0.1, with
the collection read and edited by python3-caldav and the events by python3-icalendar.

Usage: caldav_sync_test.py PAYLARK_CLI. Exits 77 (skipped) when radicale or python3-caldav is
not installed."""

import datetime
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

from radicale_server import PASSWORD, USER, Radicale
from waiting import check

SKIPPED = 77
try:
    import caldav
    import icalendar
except ImportError as missing:
    print("SKIP: %s (Debian packages python3-caldav, python3-icalendar)" % missing)
    sys.exit(SKIPPED)

DUES = 500
REMINDER_DAYS = 5
TIMEOUT_SECONDS = 60


class Device:
    """A working directory with its own settings and cache, as on a computer of its own."""

    def __init__(self, root, name, cli, records=None):
        self.cli = cli
        self.workdir = os.path.join(root, "Work " + name)
        os.makedirs(self.workdir)
        if records:
            os.symlink(records, os.path.join(self.workdir, "Paylark Files"))
        self.records = os.path.join(self.workdir, "Paylark Files")
        config = os.path.join(root, "config-" + name)
        os.makedirs(os.path.join(config, "Velmora"))
        with open(os.path.join(config, "Velmora", "Paylark.conf"), "w") as file:
            file.write("[Reminders]\nDaysAhead=%d\n" % REMINDER_DAYS)
        self.env = dict(os.environ, XDG_CONFIG_HOME=config,
                        XDG_CACHE_HOME=os.path.join(root, "cache-" + name),
                        XDG_DATA_HOME=os.path.join(root, "data-" + name),
                        LC_ALL="en_US.UTF-8", TZ="Pacific/Auckland")
        self.env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        self.password_file = os.path.join(root, "password-" + name)
        with open(self.password_file, "w") as file:
            file.write(PASSWORD + "\n")
        os.chmod(self.password_file, 0o600)

    def paylark(self, *words, check=True):
        started = time.monotonic()
        result = subprocess.run([self.cli, "--dir", self.workdir] + list(words), env=self.env,
                                capture_output=True, text=True, timeout=TIMEOUT_SECONDS * 5)
        result.seconds = time.monotonic() - started
        if check and result.returncode != 0:
            raise AssertionError("paylark-cli %s: exit %d: %s"
                                 % (" ".join(words), result.returncode, result.stderr))
        return result

    def sync(self, url, *extra, password_file=None, check=True):
        return self.paylark("calendar", "sync", "--url", url, "--user", USER, "--password-file",
                            password_file or self.password_file, *extra, check=check)

    def sync_json(self, url, *extra):
        return json.loads(self.sync(url, "--json", *extra).stdout)

    def show(self, record_id):
        return json.loads(self.paylark("show", record_id, "--json").stdout)

    def unpaid_ids(self):
        today = datetime.date.today()
        ids = set()
        for offset in range(0, 26):
            month = (today.year * 12 + today.month - 1 + offset)
            text = "%04d-%02d" % (month // 12, month % 12 + 1)
            rows = json.loads(self.paylark("list", "--month", text, "--json").stdout)["rows"]
            ids.update(row["recordId"] for row in rows if row["paid"] == 0)
        return ids


def read_collection(url):
    """The collection's events by UID, read by python3-caldav."""
    client = caldav.DAVClient(url, username=USER, password=PASSWORD)
    calendar = caldav.Calendar(client=client, url=url)
    events = {}
    for event in calendar.events():
        for component in icalendar.Calendar.from_ical(event.data).walk("VEVENT"):
            uid = str(component["UID"])
            check(uid not in events, "the collection holds %s twice" % uid)
            events[uid] = (event, component)
    return events


def expect_counts(report, put, deleted, unchanged, what):
    got = (report["put"], report["deleted"], report["unchanged"], report["errors"])
    wanted = (put, deleted, unchanged, [])
    check(got == wanted, "%s: put/deleted/unchanged/errors %s, expected %s" % (what, got, wanted))


def scenario_first_sync_finds_the_calendar_and_writes_every_due(device, server):
    start = datetime.date.today().isoformat()
    device.paylark("series", "--kind", "day", "--every", "1", "--start", start, "--count",
                   str(DUES), "--offset-time", "18:30", "--title", "Gym", "--pay-to", "FitCo",
                   "--amount", "35")
    dry = device.sync_json(server.url, "--dry-run")
    expect_counts(dry, DUES, 0, 0, "dry run before the first sync")
    made = os.path.join(server.root, "collections", "collection-root", USER, "paylark")
    check(not os.path.exists(made), "the dry run made the calendar")
    report = device.sync_json(server.url)
    collection = server.url + USER + "/paylark/"
    check(report["collection"] == collection, "collection found: %s" % report["collection"])
    expect_counts(report, DUES, 0, 0, "first sync")
    uids = set(read_collection(collection))
    check(uids == {i + "@paylark" for i in device.unpaid_ids()}, "the events are not the dues")
    expect_counts(device.sync_json(server.url), 0, 0, DUES, "second sync")
    return collection


def scenario_alarms_ring_at_the_reminder_days_and_the_due_time(device, collection):
    events = read_collection(collection)
    for uid in sorted(events)[:5]:
        due = device.show(uid.split("@")[0])
        due_time = datetime.datetime.fromisoformat(due["dueDate"])
        _, event = events[uid]
        start = event.decoded("DTSTART")
        check(start == due_time.date(), "%s starts %s, due %s" % (uid, start, due_time))
        rings = []
        for alarm in event.walk("VALARM"):
            trigger = alarm["TRIGGER"]
            check(trigger.params.get("RELATED") == "START", "%s: trigger %s" % (uid, trigger.params))
            rings.append(datetime.datetime.combine(start, datetime.time()) + alarm.decoded("TRIGGER"))
        expected = [due_time - datetime.timedelta(days=REMINDER_DAYS), due_time]
        check(sorted(rings) == expected, "%s rings at %s, expected %s" % (uid, rings, expected))


def summary_of(collection, uid):
    return str(read_collection(collection)[uid][1]["SUMMARY"])


def scenario_dry_run_sends_nothing(device, collection, record_id):
    device.paylark("modify", record_id, "--title", "Climbing gym")
    before = summary_of(collection, record_id + "@paylark")
    expect_counts(device.sync_json(collection, "--dry-run"), 1, 0, DUES - 1, "dry run")
    check(summary_of(collection, record_id + "@paylark") == before, "the dry run changed the event")


def scenario_changed_paid_and_deleted_dues(device, collection, changed, paid, deleted):
    device.paylark("pay", paid)
    device.paylark("delete", deleted)
    expect_counts(device.sync_json(collection), 1, 2, DUES - 3, "changed, paid, deleted")
    events = read_collection(collection)
    check(changed + "@paylark" in events and
          str(events[changed + "@paylark"][1]["SUMMARY"]).startswith("Climbing gym"),
          "the changed due's event was not rewritten")
    check(paid + "@paylark" not in events, "the paid due's event is still there")
    check(deleted + "@paylark" not in events, "the deleted due's event is still there")


def scenario_event_edited_on_the_server_is_put_back(device, collection, record_id):
    uid = record_id + "@paylark"
    event, component = read_collection(collection)[uid]
    wanted = str(component["SUMMARY"])
    event.data = event.data.replace("SUMMARY:" + wanted, "SUMMARY:Moved to Friday")
    event.save()
    check(summary_of(collection, uid) != wanted, "python3-caldav did not edit the event")
    report = device.sync_json(collection)
    check(report["put"] == 1, "the edited event was not written again: %s" % report)
    check(summary_of(collection, uid) == wanted, "the edited event is not the due's again")


def scenario_event_of_a_due_gone_is_removed_and_others_stay(device, collection):
    client = caldav.DAVClient(collection, username=USER, password=PASSWORD)
    calendar = caldav.Calendar(client=client, url=collection)
    for name, uid in (("paylark-1999010100000001.ics", "1999010100000001@paylark"),
                      ("birthday.ics", "birthday-of-bob")):
        caldav.Event(client, url=collection + name, parent=calendar, data=(
            "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\nBEGIN:VEVENT\r\n"
            "UID:%s\r\nDTSTAMP:20261201T000000Z\r\nDTSTART;VALUE=DATE:20270101\r\n"
            "SUMMARY:%s\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n" % (uid, name))).save()
    report = device.sync_json(collection)
    check(report["deleted"] == 1 and report["put"] == 0, "leftover not removed: %s" % report)
    events = read_collection(collection)
    check("1999010100000001@paylark" not in events, "the leftover event is still there")
    check("birthday-of-bob" in events, "an event that is not Paylark's was removed")


def scenario_two_working_directories_share_one_collection(device, other, collection):
    """The second has a cache of its own, as on another computer: it reads what the first wrote
    and finds every event as its due says."""
    before = read_collection(collection)
    expect_counts(other.sync_json(collection), 0, 0, len(before) - 1, "second working directory")
    expect_counts(device.sync_json(collection), 0, 0, len(before) - 1, "first one again")
    other.paylark("modify", sorted(other.unpaid_ids())[30], "--amount", "36.50")
    expect_counts(other.sync_json(collection), 1, 0, len(before) - 2, "a change on the second")
    after = read_collection(collection)
    check(set(after) == set(before), "the second working directory changed the collection's "
          "events: %d before, %d after" % (len(before), len(after)))


def scenario_failures_give_a_message_not_a_hang(device, server, root):
    wrong = os.path.join(root, "wrong-password")
    with open(wrong, "w") as file:
        file.write("not the password\n")
    os.chmod(wrong, 0o600)
    result = device.sync(server.url, password_file=wrong, check=False)
    check(result.returncode == 1 and "refused the user \"alice\"" in result.stderr,
          "wrong password: exit %d, %s" % (result.returncode, result.stderr))
    os.chmod(wrong, 0o644)
    result = device.sync(server.url, password_file=wrong, check=False)
    check(result.returncode == 1 and "chmod 600" in result.stderr,
          "a password file others may read was used: %s" % result.stderr)
    server.stop()
    result = device.sync(server.url, "--json", check=False)
    check(result.returncode == 1 and "could not be reached" in result.stderr,
          "server down: exit %d, %s" % (result.returncode, result.stderr))
    check(json.loads(result.stdout)["errors"], "server down: no error in the JSON")
    check(result.seconds < TIMEOUT_SECONDS, "server down took %.0f s" % result.seconds)


def main():
    if shutil.which("radicale") is None:
        print("SKIP: radicale is not installed (Debian package radicale)")
        return SKIPPED
    cli = os.path.abspath(sys.argv[1])
    root = tempfile.mkdtemp(prefix="paylark-caldav-")
    server = Radicale(root)
    try:
        server.start()
        device = Device(root, "A", cli)
        collection = scenario_first_sync_finds_the_calendar_and_writes_every_due(device, server)
        scenario_alarms_ring_at_the_reminder_days_and_the_due_time(device, collection)
        ids = sorted(device.unpaid_ids())
        scenario_dry_run_sends_nothing(device, collection, ids[10])
        scenario_changed_paid_and_deleted_dues(device, collection, ids[10], ids[11], ids[12])
        scenario_event_edited_on_the_server_is_put_back(device, collection, ids[20])
        scenario_event_of_a_due_gone_is_removed_and_others_stay(device, collection)
        other = Device(root, "B", cli, records=device.records)
        scenario_two_working_directories_share_one_collection(device, other, collection)
        scenario_failures_give_a_message_not_a_hang(device, server, root)
    except AssertionError as failure:
        print("FAILED:", failure)
        if os.path.exists(server.log):
            print("--- radicale log (end) ---")
            print(open(server.log).read()[-3000:])
        return 1
    finally:
        server.stop()
        shutil.rmtree(root, ignore_errors=True)
    print("CalDAV sync checked against Radicale %s" % server.url)
    return 0


if __name__ == "__main__":
    sys.exit(main())
