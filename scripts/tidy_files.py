#!/usr/bin/python3
"""Runs clang-tidy over the given sources of a build, in parallel, and remembers every source
that passed: a source is checked again only when its compile command, its own bytes or the bytes
of a header it includes (as the build's dependency file lists them) change. Prints each finding;
exits 1 when any source has one.

Usage: tidy_files.py BUILD_DIR SOURCE...    (remembered in $XDG_CACHE_HOME/paylark/tidy)
"""
import concurrent.futures
import hashlib
import json
import os
import re
import subprocess
import sys


# The compiler's precompiled headers are its own: clang-tidy parses every header itself, and so
# finds a source that compiles only because a precompiled header brought what it forgot.
PRECOMPILED = re.compile(r" -Winvalid-pch| -include \S*cmake_pch\.hxx")


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


def main():
    build, sources = sys.argv[1], [os.path.abspath(s) for s in sys.argv[2:]]
    with open(os.path.join(build, "compile_commands.json"), encoding="utf-8") as text:
        entries = {entry["file"]: without_precompiled_headers(entry) for entry in json.load(text)}
    commands = os.path.join(build, "tidy")
    os.makedirs(commands, exist_ok=True)
    with open(os.path.join(commands, "compile_commands.json"), "w", encoding="utf-8") as text:
        json.dump(list(entries.values()), text)
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
    for source in sources:
        if source in entries:
            mark = os.path.join(cache, key(entries[source], config))
            if not os.path.exists(mark):
                pending.append((source, mark))
    print(f"tidy: {len(pending)} of {len(sources)} sources to check "
          f"(the others passed unchanged before)", flush=True)

    def check(item):
        source, mark = item
        run = subprocess.run(["clang-tidy", "-p", commands, "--quiet", source],
                             capture_output=True, text=True)
        if run.returncode == 0:
            open(mark, "w").close()
        return source, run

    failed = 0
    with concurrent.futures.ThreadPoolExecutor(os.cpu_count() or 2) as pool:
        for source, run in pool.map(check, pending):
            if run.returncode != 0:
                failed += 1
                print(run.stdout, run.stderr, sep="", flush=True)
    print(f"tidy: {failed} sources with findings")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
