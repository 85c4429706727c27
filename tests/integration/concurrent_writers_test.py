#!/usr/bin/env python3
"""Many paylark-cli processes on one records folder at once.

Four processes add 250 dues each while a fifth lists in a loop and a sixth makes a 2,000-due
series. Every command must succeed, every printed ID must be on disk afterwards, no ID may be
printed twice, and no temporary file may be left. Prints the figures as `name value` lines.
Usage: concurrent_writers_test.py PAYLARK_CLI
"""
import os
import subprocess
import sys
import tempfile
import threading

ADDERS = 4
ADDS_EACH = 250
SERIES_COUNT = 2000


class Tally:
    def __init__(self):
        self.lock = threading.Lock()
        self.commands = 0
        self.failures = []
        self.ids = []

    def record(self, arguments, result, printed_ids):
        with self.lock:
            self.commands += 1
            if result.returncode != 0:
                self.failures.append((arguments, result.returncode, result.stderr))
            self.ids.extend(printed_ids)


def main():
    cli = sys.argv[1]
    env = dict(os.environ, LC_ALL="C.UTF-8")
    tally = Tally()
    done = threading.Event()
    # A memory-backed folder where there is one: the test is about processes, not the disk.
    scratch = "/dev/shm" if os.path.isdir("/dev/shm") else None
    with tempfile.TemporaryDirectory(prefix="paylark-concurrent-", dir=scratch) as workdir:
        def run(*arguments):
            command = [cli, "--dir", workdir, *arguments]
            result = subprocess.run(command, capture_output=True, text=True, env=env)
            printed = result.stdout.split() if arguments[0] in ("add", "series") else []
            tally.record(arguments, result, printed)

        def adder(n):
            for i in range(ADDS_EACH):
                run("add", "--title", f"adder {n} due {i}", "--amount", "1")

        def lister():
            while not done.is_set():
                run("list")

        def series():
            run("series", "--kind", "day", "--every", "1", "--start", "2030-01-01",
                "--count", str(SERIES_COUNT), "--title", "series", "--amount", "2")

        run("list")  # creates the records folder
        writers = [threading.Thread(target=adder, args=(n,)) for n in range(ADDERS)]
        writers.append(threading.Thread(target=series))
        reader = threading.Thread(target=lister)
        reader.start()
        for thread in writers:
            thread.start()
        for thread in writers:
            thread.join()
        done.set()
        reader.join()

        records = os.path.join(workdir, "Paylark Files")
        names = set(os.listdir(records))
        lost = [i for i in tally.ids if f"duedate{i}.due" not in names]
        duplicates = len(tally.ids) - len(set(tally.ids))
        temporaries = [n for n in names if n.startswith(".paylark-")]
        expected = ADDERS * ADDS_EACH + SERIES_COUNT

        print(f"concurrent_commands_run {tally.commands}")
        print(f"concurrent_commands_failed {len(tally.failures)}")
        print(f"concurrent_records_lost {len(lost)}")
        print(f"concurrent_duplicate_ids {duplicates}")
        print(f"concurrent_temporaries_left {len(temporaries)}")
        for arguments, code, err in tally.failures[:5]:
            print(f"failed ({code}): {' '.join(arguments)}: {err.strip()}", file=sys.stderr)
        ok = (not tally.failures and not lost and duplicates == 0 and not temporaries
              and len(tally.ids) == expected)
        if len(tally.ids) != expected:
            print(f"printed {len(tally.ids)} IDs, expected {expected}", file=sys.stderr)
        return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
