#!/usr/bin/python3
"""CalDAV sync against a Radicale server of its own on 127.0.0.1: a first sync of 1,000 dues,
a sync with nothing to do, and one after all 1,000 dues changed. Prints "name value" lines.

Usage: /usr/bin/python3 bench/caldav_bench.py build/paylark-cli"""

import datetime
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests",
                                "integration"))
from radicale_server import PASSWORD, USER, Radicale  # noqa: E402

DUES = 1000


def main():
    if shutil.which("radicale") is None:
        print("radicale is not installed (Debian package radicale)", file=sys.stderr)
        return 1
    cli = os.path.abspath(sys.argv[1])
    root = tempfile.mkdtemp(prefix="paylark-caldav-bench-")
    server = Radicale(root)
    workdir = os.path.join(root, "work")
    os.makedirs(workdir)
    password_file = os.path.join(root, "password")
    with open(password_file, "w") as file:
        file.write(PASSWORD + "\n")
    os.chmod(password_file, 0o600)
    env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(root, "config"),
               XDG_CACHE_HOME=os.path.join(root, "cache"), LC_ALL="C.UTF-8")

    def paylark(*words):
        return subprocess.run([cli, "--dir", workdir] + list(words), env=env, check=True,
                              capture_output=True, text=True)

    def timed_sync():
        started = time.monotonic()
        paylark("calendar", "sync", "--url", server.url, "--user", USER, "--password-file",
                password_file)
        return round((time.monotonic() - started) * 1000)

    try:
        server.start()
        # Within the calendar's two years ahead: one due every half day.
        start = datetime.date.today().isoformat()
        ids = paylark("series", "--kind", "day", "--every", "1", "--start", start, "--count",
                      str(DUES // 2), "--title", "Power", "--amount", "40").stdout.split()
        paylark("series", "--kind", "day", "--every", "1", "--start", start, "--count",
                str(DUES // 2), "--offset-time", "12:00", "--title", "Water", "--amount", "9")
        print("caldav_first_sync_1k_ms", timed_sync())
        print("caldav_sync_unchanged_1k_ms", timed_sync())
        paylark("modify", ids[0], "--whole-series", "--amount", "41.50")
        water = [line.split("\t")[0] for line in paylark("find", "Water").stdout.splitlines()]
        paylark("modify", water[0], "--whole-series", "--pay-to", "City Water")
        print("caldav_sync_1k_changes_ms", timed_sync())
    finally:
        server.stop()
        shutil.rmtree(root, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
