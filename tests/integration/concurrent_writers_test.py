#!/usr/bin/env python3
"""Many paylark-cli processes on one records folder at once.

Four processes add 250 dues each while a fifth lists in a loop and a sixth makes a 2,000-due
series. Every command must succeed, every printed ID must be on disk afterwards, no ID may be
printed twice, and no temporary file may be left.

Then eight processes at a time start a short series each, in the same second, and at once modify
or delete it as a whole series, 128 series in all: a whole-series change must reach exactly its
own series, never a due of another started in the same second (none lost, none overwritten).
Prints the figures as `name value` lines.
Usage: concurrent_writers_test.py PAYLARK_CLI
"""
import json
import os
import subprocess
import sys
import tempfile
import threading

ADDERS = 4
ADDS_EACH = 250
SERIES_COUNT = 2000
SAME_SECOND_WRITERS = 8
SAME_SECOND_ROUNDS = 16
SAME_SECOND_LENGTH = 3


class Tally:
    """The commands run on one working directory: how many, which failed, the IDs printed."""

    def __init__(self):
        self.lock = threading.Lock()
        self.commands = 0
        self.failures = []
        self.ids = []

    def run(self, cli, workdir, env, *arguments):
        """Runs paylark-cli on workdir; gives the IDs an add or series printed."""
        result = subprocess.run([cli, "--dir", workdir, *arguments], capture_output=True,
                                text=True, env=env)
        printed = result.stdout.split() if arguments[0] in ("add", "series") else []
        with self.lock:
            self.commands += 1
            if result.returncode != 0:
                self.failures.append((arguments, result.returncode, result.stderr))
            self.ids.extend(printed)
        return printed

    def print_failures(self):
        for arguments, code, err in self.failures[:5]:
            print(f"failed ({code}): {' '.join(arguments)}: {err.strip()}", file=sys.stderr)


def same_second_series(cli, env, scratch):
    """Series started together, each changed or deleted as a whole at once. Gives success."""
    tally = Tally()
    printed = {}  # series number: the IDs its command printed
    start = threading.Barrier(SAME_SECOND_WRITERS)
    with tempfile.TemporaryDirectory(prefix="paylark-series-", dir=scratch) as workdir:
        def run(*arguments):
            return tally.run(cli, workdir, env, *arguments)

        def writer(w):
            for r in range(SAME_SECOND_ROUNDS):
                n = r * SAME_SECOND_WRITERS + w
                start.wait()
                ids = run("series", "--kind", "day", "--every", "1", "--start", "2031-01-01",
                          "--count", str(SAME_SECOND_LENGTH), "--title", f"series {n}",
                          "--amount", "1")
                with tally.lock:
                    printed[n] = ids
                if not ids:
                    continue
                if n % 2 == 0:
                    run("modify", ids[-1], "--whole-series", "--title", f"series {n} changed")
                else:
                    run("delete", ids[0], "--whole-series")

        run("list")
        threads = [threading.Thread(target=writer, args=(w,)) for w in range(SAME_SECOND_WRITERS)]
        for thread in threads:
            thread.start()
        for thread in threads:
            thread.join()
        found = subprocess.run([cli, "--dir", workdir, "find", "series", "--json"],
                               capture_output=True, text=True, env=env)
        rows = {row["recordId"]: row for row in json.loads(found.stdout)["rows"]}

    lost = overwritten = left = 0
    series_ids = {}
    for n, ids in printed.items():
        for record_id in ids:
            row = rows.get(record_id)
            if n % 2 == 1:
                # The ID of a deleted due may be taken again by a later one.
                left += row is not None and row["title"] in (f"series {n}", f"series {n} changed")
            elif row is None:
                lost += 1
            else:
                overwritten += row["title"] != f"series {n} changed"
                series_ids.setdefault(row["seriesId"], set()).add(n)
    shared = sum(1 for owners in series_ids.values() if len(owners) > 1)
    seconds = {}
    for series_id in series_ids:
        seconds[series_id[:19]] = seconds.get(series_id[:19], 0) + 1
    same_second = sum(count for count in seconds.values() if count > 1)
    series_total = SAME_SECOND_WRITERS * SAME_SECOND_ROUNDS
    print(f"same_second_series {series_total}")
    print(f"same_second_series_failed {len(tally.failures)}")
    print(f"same_second_dues_lost {lost}")
    print(f"same_second_dues_overwritten {overwritten}")
    print(f"same_second_dues_not_deleted {left}")
    print(f"same_second_series_ids_shared {shared}")
    print(f"same_second_changed_series_sharing_a_second {same_second}")
    tally.print_failures()
    complete = sum(len(ids) for ids in printed.values()) == series_total * SAME_SECOND_LENGTH
    return not tally.failures and complete and lost == 0 and overwritten == 0 and left == 0 \
        and shared == 0


def main():
    cli = sys.argv[1]
    env = dict(os.environ, LC_ALL="C.UTF-8")
    tally = Tally()
    done = threading.Event()
    # A memory-backed folder where there is one: the test is about processes, not the disk.
    scratch = "/dev/shm" if os.path.isdir("/dev/shm") else None
    with tempfile.TemporaryDirectory(prefix="paylark-concurrent-", dir=scratch) as workdir:
        def run(*arguments):
            tally.run(cli, workdir, env, *arguments)

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
        # A series ID's claim stays until it is stale; a write's temporary never does.
        temporaries = [n for n in names
                       if n.startswith(".paylark-") and not n.startswith(".paylark-series-")]
        expected = ADDERS * ADDS_EACH + SERIES_COUNT

        print(f"concurrent_commands_run {tally.commands}")
        print(f"concurrent_commands_failed {len(tally.failures)}")
        print(f"concurrent_records_lost {len(lost)}")
        print(f"concurrent_duplicate_ids {duplicates}")
        print(f"concurrent_temporaries_left {len(temporaries)}")
        tally.print_failures()
        ok = (not tally.failures and not lost and duplicates == 0 and not temporaries
              and len(tally.ids) == expected)
        if len(tally.ids) != expected:
            print(f"printed {len(tally.ids)} IDs, expected {expected}", file=sys.stderr)
    ok = same_second_series(cli, env, scratch) and ok
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
