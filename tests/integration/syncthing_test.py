#!/usr/bin/python3
"""Two Syncthing instances on this machine share the records folders of working directories A
and B; paylark-cli works on each side as two devices' Paylark would.

Usage: syncthing_test.py PAYLARK_CLI. Exits 77 (skipped) when syncthing is not installed."""

import functools
import json
import os
import shutil
import subprocess
import sys
import tempfile
import urllib.error
import urllib.request
import xml.etree.ElementTree as ElementTree

import waiting
from waiting import check

SKIPPED = 77
FOLDER_ID = "paylark"
RECORDS = "Paylark Files"
API_KEY = "paylark-integration-test-key"
# Longer than Syncthing's one-minute wait before it retries a pull that found a file changed
# under it, which a busy machine now and then makes it do.
TIMEOUT_SECONDS = 150
POLL_SECONDS = 0.1
poll = functools.partial(waiting.poll, timeout_seconds=TIMEOUT_SECONDS, poll_seconds=POLL_SECONDS)


class Device:
    """One Syncthing instance and the Paylark working directory whose records it shares."""

    def __init__(self, name, root, cli):
        self.name = name
        self.cli = cli
        self.home = os.path.join(root, "syncthing-" + name)
        self.workdir = os.path.join(root, "Work " + name)
        self.records = os.path.join(self.workdir, RECORDS)
        self.gui_port = waiting.free_port()
        self.listen_port = waiting.free_port()
        # Each device keeps its own settings and backups, as on two machines.
        self.env = dict(os.environ, XDG_DATA_HOME=os.path.join(root, "data-" + name),
                        XDG_CONFIG_HOME=os.path.join(root, "config-" + name),
                        STNODEFAULTFOLDER="1", STNOUPGRADE="1", LC_ALL="C.UTF-8")
        os.makedirs(self.records)
        self.process = None

    def start(self):
        subprocess.run(["syncthing", "generate", "--home=" + self.home, "--no-default-folder",
                        "--skip-port-probing"], check=True, env=self.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.localize_config()
        self.process = subprocess.Popen(
            ["syncthing", "serve", "--home=" + self.home, "--no-browser", "--no-restart",
             "--no-upgrade", "--logfile=" + os.path.join(self.home, "syncthing.log")],
            env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def localize_config(self):
        """Localhost only: no discovery, relays, NAT, crash or usage reports."""
        path = os.path.join(self.home, "config.xml")
        tree = ElementTree.parse(path)
        gui = tree.find("gui")
        gui.find("address").text = "127.0.0.1:%d" % self.gui_port
        gui.find("apikey").text = API_KEY
        options = tree.find("options")
        for element in options.findall("listenAddress"):
            options.remove(element)
        listen = ElementTree.SubElement(options, "listenAddress")
        listen.text = "tcp://127.0.0.1:%d" % self.listen_port
        for key, value in {"globalAnnounceEnabled": "false", "localAnnounceEnabled": "false",
                           "relaysEnabled": "false", "natEnabled": "false",
                           "crashReportingEnabled": "false", "urAccepted": "-1",
                           "startBrowser": "false", "autoUpgradeIntervalH": "0",
                           "announceLANAddresses": "false"}.items():
            options.find(key).text = value
        tree.write(path)

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()

    def rest(self, method, path, body=None):
        data = None if body is None else json.dumps(body).encode()
        request = urllib.request.Request("http://127.0.0.1:%d%s" % (self.gui_port, path),
                                         data=data, method=method,
                                         headers={"X-API-Key": API_KEY,
                                                  "Content-Type": "application/json"})
        with urllib.request.urlopen(request, timeout=30) as response:
            text = response.read().decode()
        return json.loads(text) if text.strip() else None

    def wait_until_up(self):
        def answers():
            if self.process.poll() is not None:
                raise AssertionError("syncthing %s exited" % self.name)
            try:
                return self.rest("GET", "/rest/system/ping")
            except (urllib.error.URLError, ConnectionError):
                return None
        poll("syncthing %s to answer" % self.name, answers)
        self.device_id = self.rest("GET", "/rest/system/status")["myID"]

    def introduce(self, other):
        self.rest("POST", "/rest/config/devices",
                  {"deviceID": other.device_id, "name": other.name,
                   "addresses": ["tcp://127.0.0.1:%d" % other.listen_port]})

    def share(self, other):
        self.rest("POST", "/rest/config/folders",
                  {"id": FOLDER_ID, "label": "Paylark", "path": self.records,
                   "type": "sendreceive", "rescanIntervalS": 5, "fsWatcherEnabled": True,
                   "fsWatcherDelayS": 1,
                   "devices": [{"deviceID": self.device_id}, {"deviceID": other.device_id}]})
        # Paylark's own half-written files never travel.
        self.rest("POST", "/rest/db/ignores?folder=" + FOLDER_ID, {"ignore": [".paylark-*"]})

    def status(self):
        return self.rest("GET", "/rest/db/status?folder=" + FOLDER_ID)

    def completion(self, other):
        return self.rest("GET", "/rest/db/completion?folder=%s&device=%s"
                         % (FOLDER_ID, other.device_id))

    def scan(self):
        self.rest("POST", "/rest/db/scan?folder=" + FOLDER_ID)

    def paylark(self, *words, check=True):
        result = subprocess.run([self.cli, "--dir", self.workdir, *words], env=self.env,
                                capture_output=True, text=True)
        if check and result.returncode != 0:
            raise AssertionError("paylark-cli %s on %s failed (%d): %s"
                                 % (" ".join(words), self.name, result.returncode,
                                    result.stderr))
        return result

    def show(self, record_id):
        result = self.paylark("show", record_id, "--json", check=False)
        return json.loads(result.stdout) if result.returncode == 0 else None

    def files(self):
        return sorted(name for name in os.listdir(self.records) if name.endswith(".due"))


def in_sync(a, b):
    """Both devices idle with nothing needed, each complete in the other's view."""
    for device, other in ((a, b), (b, a)):
        status = device.status()
        if status["state"] != "idle" or status["needTotalItems"] != 0:
            return False
        if status["errors"] != 0 or status.get("pullErrors", 0) != 0:
            raise AssertionError("syncthing %s reports errors: %s" % (device.name, status))
        completion = device.completion(other)
        if completion["completion"] != 100 or completion["needItems"] != 0 \
                or completion["needDeletes"] != 0:
            return False
    return a.status()["globalFiles"] == b.status()["globalFiles"] and \
        a.status()["globalDeleted"] == b.status()["globalDeleted"]


def settle(a, b, also=lambda: True):
    """Scans both sides (so nothing written waits for the watcher) and waits until in sync."""
    a.scan()
    b.scan()
    poll("the devices to be in sync", lambda: in_sync(a, b) and also())


def set_paused(a, b, paused):
    """Parts the devices, or brings them together again."""
    a.rest("PATCH", "/rest/config/devices/" + b.device_id, {"paused": paused})
    b.rest("PATCH", "/rest/config/devices/" + a.device_id, {"paused": paused})


def scenario_added_due_arrives(a, b):
    record_id = a.paylark("add", "--title", "Rent", "--amount", "500", "--due",
                          "2027-01-01").stdout.strip()
    settle(a, b, lambda: b.show(record_id) is not None)
    check(b.show(record_id) == a.show(record_id), "B holds a different record than A")
    print("ok: a due added in A arrives in B")
    a.paylark("add", "--title", "Water", "--amount", "40")
    check(any(name.endswith(".zip") for _, _, names in
              os.walk(os.path.join(a.env["XDG_DATA_HOME"], "paylark", "Backups"))
              for name in names), "A took no backup before its first change of the day")
    return record_id


def scenario_series_arrives_complete(a, b):
    ids = a.paylark("series", "--kind", "day", "--every", "1", "--start", "2027-02-01",
                    "--count", "500", "--title", "Daily").stdout.split()
    check(len(ids) == 500, "the series has %d dues" % len(ids))
    expected = set(a.files())

    # Every reload while the files arrive must load only whole records.
    def arrived():
        listed = b.paylark("conflicts")
        check("could not be read" not in listed.stderr,
              "B loaded a file in transfer: " + listed.stderr)
        return set(b.files()) == expected
    settle(a, b, arrived)
    seen = set()
    for year in (2027, 2028):
        for month in range(1, 13):
            rows = json.loads(b.paylark("list", "--month", "%d-%02d" % (year, month),
                                        "--json").stdout)["rows"]
            seen.update(row["recordId"] for row in rows if row["title"] == "Daily")
    check(seen == set(ids), "B lists %d of the 500 dues" % len(seen & set(ids)))
    print("ok: a 500-due series arrives complete, no file in transfer loaded")


def scenario_conflict_is_listed_and_resolved(a, b, record_id):
    set_paused(a, b, True)
    a.paylark("modify", record_id, "--amount", "510", "--notes", "changed on A")
    b.paylark("modify", record_id, "--title", "Rent (B)", "--amount", "520")
    set_paused(a, b, False)
    settle(a, b, lambda: any(".sync-conflict-" in name for name in a.files() + b.files()))
    settle(a, b)

    side = b if json.loads(b.paylark("conflicts", "--json").stdout)["conflicts"] else a
    conflicts = json.loads(side.paylark("conflicts", "--json").stdout)["conflicts"]
    check(len(conflicts) == 1 and conflicts[0]["recordId"] == record_id,
          "conflicts lists %s" % conflicts)
    check({"title", "amount", "notes"} <= set(conflicts[0]["differs"]),
          "the differing fields are %s" % conflicts[0]["differs"])
    check(side.paylark("conflicts").stdout.startswith(record_id + "\t"),
          "plain conflicts does not list the due")
    copy = conflicts[0]["copies"][0]["file"]

    side.paylark("resolve", record_id, "--keep", "current")
    backups = os.path.join(side.env["XDG_DATA_HOME"], "paylark", "Backups")
    kept_aside = [name for _, _, names in os.walk(backups) for name in names]
    check(copy in kept_aside, "the copy not kept is not in the backups folder")
    settle(a, b, lambda: not any(".sync-conflict-" in n for n in a.files() + b.files()))
    check(a.show(record_id) == b.show(record_id), "A and B hold different versions")
    check(json.loads(a.paylark("conflicts", "--json").stdout)["conflicts"] == [],
          "A still lists a conflict")
    print("ok: a conflict is listed, resolved, and both sides converge")


def scenario_restore_brings_back_a_deleted_due(a, b, record_id):
    backup = b.paylark("backup").stdout.strip()
    check(os.path.isfile(backup) and "Paylark Files " in backup, "backup printed " + backup)
    before = b.show(record_id)
    a.paylark("delete", record_id)
    settle(a, b, lambda: b.show(record_id) is None)
    b.paylark("restore", backup)
    settle(a, b, lambda: a.show(record_id) is not None)
    check(a.show(record_id) == before == b.show(record_id), "the restored due differs")
    print("ok: a due deleted in A comes back on both from B's backup")


def scenario_attachment_arrives_with_its_due(a, b):
    record_id = a.paylark("add", "--title", "Power", "--amount", "61.20").stdout.strip()
    bill = os.path.join(a.workdir, "..", "power bill.pdf")
    with open(bill, "wb") as file:
        file.write(b"%PDF-1.4 power bill " + bytes(range(256)) * 64)
    check(a.paylark("attach", record_id, bill).stdout == "power bill.pdf\n",
          "attach printed another name")
    a.paylark("pay", record_id, "--amount", "63.05", "--on", "2026-12-01 10:00",
              "--reference", "TX-42")
    a.paylark("balance", "--account", "Checking", "1240.50", "--on", "2026-11-30")

    def arrived():
        listed = b.paylark("attachments", record_id, "--json", check=False)
        shown = b.show(record_id)
        return (listed.returncode == 0 and json.loads(listed.stdout)["attachments"]
                and shown and shown.get("paidAmount") == 63.05
                and "Checking" in b.paylark("balance").stdout)
    settle(a, b, arrived)
    check(b.show(record_id)["paymentReference"] == "TX-42", "B lost the payment's reference")
    check(b.paylark("balance").stdout == a.paylark("balance").stdout,
          "B holds another balance than A")
    kept = json.loads(b.paylark("attachments", record_id, "--json").stdout)["attachments"]
    with open(bill, "rb") as original, open(kept[0]["path"], "rb") as copy:
        check(original.read() == copy.read(), "B's copy of the attachment differs")
    check(b.show(record_id) == a.show(record_id), "B holds a different record than A")
    print("ok: a due paid in A with an attachment, and A's balance, arrive in B")

    # Both devices attach a file of the same name while apart: both files are kept.
    set_paused(a, b, True)
    for device in (a, b):
        scan = os.path.join(device.workdir, "..", "scan-%s" % device.name, "scan.png")
        os.makedirs(os.path.dirname(scan), exist_ok=True)
        with open(scan, "wb") as file:
            file.write(("scan from " + device.name).encode())
        device.paylark("attach", record_id, scan)
    set_paused(a, b, False)

    def both_kept():
        names = [row["name"] for row in json.loads(
            a.paylark("attachments", record_id, "--json").stdout)["attachments"]]
        return len([name for name in names if name.startswith("scan")]) == 2
    settle(a, b, both_kept)
    settle(a, b)
    check(a.paylark("attachments", record_id).stdout == b.paylark("attachments", record_id).stdout,
          "A and B list different attachments")
    print("ok: the same name attached on both devices keeps both files")


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: syncthing_test.py PAYLARK_CLI")
    if shutil.which("syncthing") is None:
        print("SKIPPED: syncthing is not installed (apt-get install syncthing, or run "
              "scripts/install-deps.sh)")
        return SKIPPED
    root = tempfile.mkdtemp(prefix="paylark-syncthing-")
    a = Device("A", root, os.path.abspath(sys.argv[1]))
    b = Device("B", root, os.path.abspath(sys.argv[1]))
    try:
        for device in (a, b):
            device.start()
        for device in (a, b):
            device.wait_until_up()
        a.introduce(b)
        b.introduce(a)
        a.share(b)
        b.share(a)
        poll("the devices to connect", lambda: a.rest("GET", "/rest/system/connections")
             ["connections"].get(b.device_id, {}).get("connected"))
        settle(a, b)

        record_id = scenario_added_due_arrives(a, b)
        scenario_series_arrives_complete(a, b)
        scenario_conflict_is_listed_and_resolved(a, b, record_id)
        scenario_restore_brings_back_a_deleted_due(a, b, record_id)
        scenario_attachment_arrives_with_its_due(a, b)
    except AssertionError as failure:
        print("FAILED:", failure)
        for device in (a, b):
            log = os.path.join(device.home, "syncthing.log")
            if os.path.exists(log):
                print("--- syncthing %s log (end) ---" % device.name)
                print(open(log).read()[-3000:])
        return 1
    finally:
        for device in (a, b):
            device.stop()
        shutil.rmtree(root, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
