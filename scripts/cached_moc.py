"""Runs moc through a cache, as ccache runs the compiler: a fresh build folder runs moc on every
header that declares a Q_OBJECT, and each run parses the Qt and standard headers it includes,
half a second apiece on a small machine. The output is kept by the moc, its arguments, the
header and the predefined macros; it is taken again only while every file the first run
included is unchanged (the project's own files by content, the installed ones by size and time).
Paths under the source and build folders are kept relative, so every clone shares the cache.

Usage (as CMake's AUTOMOC_EXECUTABLE, through the wrapper the build writes):
  cached_moc.py MOC SOURCE_DIR BUILD_DIR MOC-ARGUMENTS...
"""
import hashlib
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

SOURCE_MARK = "@SOURCE@"
BUILD_MARK = "@BUILD@"
# An entry no build has taken for this long is removed, looked for at most once a day.
UNUSED_SECONDS = 30 * 86400
PRUNE_SECONDS = 86400


def cache_folder():
    base = os.environ.get("XDG_CACHE_HOME") or os.path.join(os.path.expanduser("~"), ".cache")
    return os.path.join(base, "paylark", "moc")


class Roots:
    def __init__(self, source, build):
        # The build folder may lie inside the source folder: it is replaced first.
        self.pairs = [(os.path.realpath(build), BUILD_MARK), (os.path.realpath(source), SOURCE_MARK)]

    def relative(self, text):
        for path, mark in self.pairs:
            text = text.replace(path, mark)
        return text

    def absolute(self, text):
        for path, mark in self.pairs:
            text = text.replace(mark, path)
        return text


def expanded(arguments):
    """The arguments with any @response-file read in."""
    result = []
    for argument in arguments:
        if argument.startswith("@") and os.path.isfile(argument[1:]):
            with open(argument[1:], encoding="utf-8") as response:
                result.extend(line.strip() for line in response if line.strip())
        else:
            result.append(argument)
    return result


def outputs(arguments):
    """The output file and whether a dependency file is asked for beside it."""
    output = None
    for index, argument in enumerate(arguments):
        if argument == "-o" and index + 1 < len(arguments):
            output = arguments[index + 1]
        elif argument.startswith("-o") and len(argument) > 2:
            output = argument[2:]
    return output, "--output-dep-file" in arguments


def file_digest(path):
    digest = hashlib.sha256()
    with open(path, "rb") as handle:
        for chunk in iter(lambda: handle.read(1 << 20), b""):
            digest.update(chunk)
    return digest.hexdigest()


def fingerprint(path, roots):
    """A project file by its content; an installed header by its size and time."""
    try:
        if roots.relative(path) != path:
            return file_digest(path)
        status = os.stat(path)
        return f"{status.st_size}:{status.st_mtime_ns}"
    except OSError:
        return None


def request_key(moc, arguments, roots):
    digest = hashlib.sha256()
    status = os.stat(moc)
    digest.update(f"{moc}:{status.st_size}:{status.st_mtime_ns}\n".encode())
    output, _ = outputs(arguments)
    for argument in arguments:
        if argument == output:
            continue
        digest.update(roots.relative(argument).encode() + b"\0")
        path = argument[len("--include="):] if argument.startswith("--include=") else argument
        if os.path.isfile(path):
            digest.update(file_digest(path).encode())
    return digest.hexdigest()


def included_files(dependency_text):
    """The files a make-style dependency file lists after its target."""
    body = dependency_text.replace("\\\n", " ").split(":", 1)[-1]
    files, word = [], ""
    index = 0
    while index < len(body):
        character = body[index]
        if character == "\\" and index + 1 < len(body) and body[index + 1] == " ":
            word += " "
            index += 2
            continue
        if character.isspace():
            if word:
                files.append(word)
            word = ""
        else:
            word += character
        index += 1
    if word:
        files.append(word)
    return files


def replay(entry_folder, output, wants_dependencies, roots):
    """Writes the kept output (and dependency file); false when an included file changed."""
    manifest_path = os.path.join(entry_folder, "manifest.json")
    try:
        with open(manifest_path, encoding="utf-8") as handle:
            manifest = json.load(handle)
    except (OSError, ValueError):
        return False
    for relative, expected in manifest["files"].items():
        if fingerprint(roots.absolute(relative), roots) != expected:
            return False
    os.utime(manifest_path)
    shutil.copyfile(os.path.join(entry_folder, "output"), output)
    if wants_dependencies:
        with open(os.path.join(entry_folder, "dependencies"), encoding="utf-8") as handle:
            text = roots.absolute(handle.read())
        with open(output + ".d", "w", encoding="utf-8") as handle:
            handle.write(text)
    return True


def remember(entry_folder, output, wants_dependencies, roots):
    """Keeps what a run wrote, with the fingerprints of every file it included."""
    dependencies = ""
    files = {}
    if wants_dependencies and os.path.isfile(output + ".d"):
        with open(output + ".d", encoding="utf-8") as handle:
            dependencies = handle.read()
        for path in included_files(dependencies):
            mark = fingerprint(path, roots)
            if mark is None:
                return
            files[roots.relative(path)] = mark
    parent = os.path.dirname(entry_folder)
    os.makedirs(parent, exist_ok=True)
    staging = tempfile.mkdtemp(dir=parent)
    shutil.copyfile(output, os.path.join(staging, "output"))
    with open(os.path.join(staging, "dependencies"), "w", encoding="utf-8") as handle:
        handle.write(roots.relative(dependencies))
    with open(os.path.join(staging, "manifest.json"), "w", encoding="utf-8") as handle:
        json.dump({"files": files}, handle)
    shutil.rmtree(entry_folder, ignore_errors=True)
    try:
        os.rename(staging, entry_folder)
    except OSError:  # another build kept the same entry meanwhile
        shutil.rmtree(staging, ignore_errors=True)


def prune(folder):
    """Removes the entries no build has taken for a month, once a day."""
    stamp = os.path.join(folder, "pruned")
    now = time.time()
    try:
        if now - os.stat(stamp).st_mtime < PRUNE_SECONDS:
            return
    except OSError:
        pass
    with open(stamp, "w", encoding="utf-8"):
        pass
    for name in os.listdir(folder):
        manifest = os.path.join(folder, name, "manifest.json")
        try:
            if now - os.stat(manifest).st_mtime > UNUSED_SECONDS:
                shutil.rmtree(os.path.join(folder, name), ignore_errors=True)
        except OSError:
            continue


def main():
    moc, source, build, *arguments = sys.argv[1:]
    roots = Roots(source, build)
    arguments = expanded(arguments)
    output, wants_dependencies = outputs(arguments)
    if output is None:  # not a run that writes one file: nothing to keep
        return subprocess.call([moc, *arguments])
    entry_folder = os.path.join(cache_folder(), request_key(moc, arguments, roots))
    try:
        if replay(entry_folder, output, wants_dependencies, roots):
            return 0
    except OSError:
        pass  # an entry another build is replacing: run moc
    code = subprocess.call([moc, *arguments])
    if code == 0:
        try:
            remember(entry_folder, output, wants_dependencies, roots)
            prune(cache_folder())
        except OSError:
            pass  # a cache that cannot be written only costs the next build the run
    return code


if __name__ == "__main__":
    sys.exit(main())
