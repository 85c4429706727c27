#!/usr/bin/python3
"""Runs clang-tidy over the given sources of a build, in parallel, and remembers every source
that passed: a source is checked again only when its compile command, its own bytes or the bytes
of a header it includes (as the build's dependency file lists them) change. Prints each finding;
exits 1 when any source has one.

Sources that share a compile command and the top-level .clang-tidy are checked BATCH at a time,
as one translation unit that includes each of them: the standard headers are then parsed and
walked by every check once for the batch rather than once for each source, which costs a third of
the time. When a batch has a finding or an error (two sources' private helpers may share a name),
the sources it names are checked alone, as every source was before, and the others together
again (in halves when it names none of them, as for a finding in a header), so the findings
printed and the sources remembered are those of checking each source alone.

Usage: tidy_files.py BUILD_DIR SOURCE...    (remembered in $XDG_CACHE_HOME/paylark/tidy)
"""
import concurrent.futures
import hashlib
import json
import os
import re
import shlex
import subprocess
import sys
import tempfile


# The compiler's precompiled headers are its own: clang-tidy parses every header itself.
PRECOMPILED = re.compile(r" -Winvalid-pch| -include \S*cmake_pch\.hxx")
BATCH = 8
DIAGNOSED = re.compile(r"^(/[^:\n]+):\d+:\d+: (?:error|warning):", re.MULTILINE)


def without_precompiled_headers(entry):
    return dict(entry, command=PRECOMPILED.sub("", entry["command"]))


def dependencies(entry):
    """The files the build's dependency file names for this source, or none when not built."""
    match = re.search(r" -o (\S+)", entry["command"])
    if not match:
        return []
    depfile = os.path.join(entry["directory"], match.group(1) + ".d")
    try:
        with open(depfile, encoding="utf-8") as text:
            names = text.read().replace("\\\n", " ").split(":", 1)[-1].split()
    except OSError:
        return []
    return [os.path.normpath(os.path.join(entry["directory"], name)) for name in names
            if "cmake_pch" not in name]


def key(entry, config):
    # Paths are taken relative to the checkout, so another clone of the same sources (CI's)
    # finds what this one remembered.
    root = os.getcwd()
    digest = hashlib.sha256(entry["command"].replace(root, ".").encode() + config)
    for path in [entry["file"]] + sorted(dependencies(entry), key=lambda p: p.replace(root, ".")):
        digest.update(path.replace(root, ".").encode())
        try:
            with open(path, "rb") as data:
                digest.update(hashlib.sha256(data.read()).digest())
        except OSError:
            digest.update(b"missing")
    return digest.hexdigest()


def nearest_config(source):
    """The .clang-tidy that clang-tidy reads for this source."""
    folder = os.path.dirname(source)
    while not os.path.exists(os.path.join(folder, ".clang-tidy")):
        if folder == os.path.dirname(folder):
            return None
        folder = os.path.dirname(folder)
    return os.path.join(folder, ".clang-tidy")


def header_filter(config):
    with open(config, encoding="utf-8") as text:
        match = re.search(r"^HeaderFilterRegex: '(.*)'$", text.read(), re.MULTILINE)
    return match.group(1) if match else ""


def literal(path):
    """path as a pattern of clang-tidy's extended regular expressions."""
    return re.sub(r"([][.+*?(){}|^$\\])", r"\\\1", path)


def batch_command(entry):
    """What the sources of one batch share: the folder and the command without its files."""
    command = re.sub(r" -o \S+", "", entry["command"]).replace(" -c " + entry["file"], "")
    return entry["directory"], command


def batches(pending, entries, config):
    """The pending (source, mark) pairs in groups that may be checked as one."""
    groups = {}
    for item in pending:
        entry = entries[item[0]]
        if not config or nearest_config(item[0]) != config:
            groups[item] = [item]
        else:
            groups.setdefault(batch_command(entry), []).append(item)
    for group in groups.values():
        for start in range(0, len(group), BATCH):
            yield group[start:start + BATCH]


class Checker:
    def __init__(self, commands, config, entries):
        self.commands = commands
        self.config = config
        self.filter = header_filter(config) if config else ""
        self.entries = entries

    def alone(self, item):
        """Checks one source by itself: the failed run, or none after remembering it."""
        source, mark = item
        run = subprocess.run(["clang-tidy", "-p", self.commands, "--quiet", source],
                             capture_output=True, text=True, check=False)
        if run.returncode != 0:
            return [(source, run)]
        open(mark, "w").close()
        return []

    def compiles_alone(self, source):
        """Whether the source compiles without the precompiled header, which in a batch the
        sources before it stand in for. One check that only reads include lines keeps clang-tidy
        from walking the tree, so this costs what parsing does."""
        return subprocess.run(["clang-tidy", "-p", self.commands, "--quiet",
                               "--checks=-*,bugprone-suspicious-include", source],
                              capture_output=True, check=False).returncode == 0

    def passed_together(self, item):
        if self.entries[item[0]]["precompiled"] and not self.compiles_alone(item[0]):
            return self.alone(item)
        open(item[1], "w").close()
        return []

    def together(self, items):
        sources = [source for source, _ in items]
        handle, unit = tempfile.mkstemp(".cpp", "batch-", os.path.abspath(self.commands))
        with os.fdopen(handle, "w", encoding="utf-8") as text:
            for source in sources:
                text.write(f'#include "{source}"  // NOLINT(bugprone-suspicious-include)\n')
        directory, command = batch_command(self.entries[sources[0]])
        # Findings in the included sources show as they would in a source checked alone.
        shown = "|".join([self.filter] + [literal(source) + "$" for source in sources])
        try:
            return subprocess.run(["clang-tidy", "--quiet", "--config-file", self.config,
                                   "--header-filter", shown, "--extra-arg=-ferror-limit=0", unit,
                                   "--"] + shlex.split(command)[1:],
                                  cwd=directory, capture_output=True, text=True, check=False)
        finally:
            os.remove(unit)

    def check(self, items):
        """Remembers each source of items that passes; returns the runs of those that fail."""
        if len(items) == 1:
            return self.alone(items[0])
        run = self.together(items)
        if run.returncode == 0:
            return [failed for item in items for failed in self.passed_together(item)]
        # The sources a finding or an error names are checked alone, the others together again.
        named = set(DIAGNOSED.findall(run.stdout))
        if not named.intersection(source for source, _ in items):
            half = len(items) // 2
            return self.check(items[:half]) + self.check(items[half:])
        failed = [failed for item in items if item[0] in named for failed in self.alone(item)]
        rest = [item for item in items if item[0] not in named]
        return failed + (self.check(rest) if rest else [])


def main():
    build, sources = sys.argv[1], [os.path.abspath(s) for s in sys.argv[2:]]
    with open(os.path.join(build, "compile_commands.json"), encoding="utf-8") as text:
        entries = {entry["file"]: dict(without_precompiled_headers(entry),
                                       precompiled=bool(PRECOMPILED.search(entry["command"])))
                   for entry in json.load(text)}
    commands = os.path.join(build, "tidy")
    os.makedirs(commands, exist_ok=True)
    with open(os.path.join(commands, "compile_commands.json"), "w", encoding="utf-8") as text:
        json.dump([{name: entry[name] for name in ("directory", "command", "file")}
                   for entry in entries.values()], text)
    config = b""
    for folder, folders, names in os.walk("."):
        folders[:] = sorted(f for f in folders if not f.startswith(("build", ".")))
        if ".clang-tidy" in names:
            with open(os.path.join(folder, ".clang-tidy"), "rb") as text:
                config += folder.encode() + text.read()
    cache = os.path.join(os.environ.get("XDG_CACHE_HOME") or os.path.expanduser("~/.cache"),
                         "paylark", "tidy")
    os.makedirs(cache, exist_ok=True)
    pending = []
    built = [source for source in sources if source in entries]
    for source in built:
        mark = os.path.join(cache, key(entries[source], config))
        if not os.path.exists(mark):
            pending.append((source, mark))
    print(f"tidy: {len(pending)} of {len(built)} sources to check "
          f"(the others passed unchanged before)", flush=True)
    if len(built) < len(sources):
        print(f"tidy: {len(sources) - len(built)} of the sources are not built in {build} "
              f"and were not checked", flush=True)

    top = os.path.abspath(".clang-tidy") if os.path.exists(".clang-tidy") else None
    checker = Checker(commands, top, entries)
    failed = 0
    with concurrent.futures.ThreadPoolExecutor(os.cpu_count() or 2) as pool:
        work = sorted(batches(pending, entries, top), key=len, reverse=True)
        for runs in pool.map(checker.check, work):
            for _, run in runs:
                failed += 1
                print(run.stdout, run.stderr, sep="", flush=True)
    print(f"tidy: {failed} sources with findings")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
