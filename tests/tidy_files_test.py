"""scripts/tidy_files.py with the real clang-tidy on five small sources that share a compile
command: they are checked together, a finding is reported as the source's own, two sources whose
private helpers share a name are not reported, a source that compiles only with the precompiled
header is, a source the build leaves out is counted as unchecked, and only the failing sources
are checked again on the next run. A stand-in on PATH logs each run of clang-tidy before handing
it on."""
import json
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import textwrap

SCRIPT = pathlib.Path(sys.argv[1]).resolve()
SKIPPED = 77

CONFIG = textwrap.dedent("""\
    Checks: '-*,readability-identifier-naming'
    WarningsAsErrors: '*'
    HeaderFilterRegex: '/src/.*\\.h$'
    CheckOptions:
      - { key: readability-identifier-naming.FunctionCase, value: CamelCase }
""")

HELPER = "namespace {{\nint Helper() {{ return {0}; }}\n}}  // namespace\n"
SOURCES = {
    "first.cpp": HELPER.format(1) + "int First() { return Helper(); }\n",
    # Alone it is clean; beside first.cpp its Helper is defined twice.
    "second.cpp": HELPER.format(2) + "int Second() { return Helper(); }\n",
    "third.cpp": "int bad_name() { return 3; }\n",
    "fourth.cpp": '#include "src/fourth.h"\nint Fourth() { return kFour; }\n',
    # Forgets src/fourth.h, which the precompiled header and fourth.cpp before it bring.
    "fifth.cpp": "int Fifth() { return kFour + 1; }\n",
}

STAND_IN = textwrap.dedent("""\
    #!/bin/sh
    echo "$*" >> "$RUNS"
    exec "$REAL" "$@"
""")


def project(root):
    (root / ".clang-tidy").write_text(CONFIG)
    (root / "src").mkdir()
    (root / "src" / "fourth.h").write_text("constexpr int kFour = 4;\n")
    for name, text in SOURCES.items():
        (root / "src" / name).write_text(text)
    build = root / "build"
    build.mkdir()
    (build / "cmake_pch.hxx").write_text('#include "src/fourth.h"\n')
    precompiled = f" -Winvalid-pch -include {build / 'cmake_pch.hxx'}"
    entries = [{"directory": str(build), "file": str(root / "src" / name),
                "command": f"/usr/bin/c++ -I{root} -std=c++20"
                           f"{precompiled if name == 'fifth.cpp' else ''}"
                           f" -o {name}.o -c {root / 'src' / name}"}
               for name in SOURCES]
    (build / "compile_commands.json").write_text(json.dumps(entries))
    (root / "src" / "unbuilt.cpp").write_text("int unbuilt_name() { return 0; }\n")


def main():
    real = shutil.which("clang-tidy")
    if not real:
        print("clang-tidy is missing")
        return SKIPPED
    with tempfile.TemporaryDirectory() as directory:
        root = pathlib.Path(directory)
        project(root)
        tools = root / "tools"
        tools.mkdir()
        (tools / "clang-tidy").write_text(STAND_IN)
        (tools / "clang-tidy").chmod(0o755)
        runs = root / "runs"
        environment = dict(os.environ, XDG_CACHE_HOME=str(root / "cache"), RUNS=str(runs),
                           REAL=real, PATH=f"{tools}:{os.environ['PATH']}")

        def tidy():
            runs.unlink(missing_ok=True)
            return subprocess.run(
                [sys.executable, SCRIPT, "build", "src/unbuilt.cpp"]
                + [f"src/{name}" for name in SOURCES],
                cwd=root, env=environment, capture_output=True, text=True, check=False)

        first = tidy()
        assert first.returncode == 1, first.stdout + first.stderr
        assert "third.cpp:1:5: error: invalid case style for function 'bad_name'" in first.stdout
        assert "fifth.cpp:1:22: error: use of undeclared identifier 'kFour'" in first.stdout
        assert "tidy: 2 sources with findings" in first.stdout, first.stdout
        assert "redefinition" not in first.stdout, "a clash between sources is no finding"
        assert "1 of the sources are not built in build and were not checked" in first.stdout
        runs_of = {"together": [], "compiles": [], "alone": []}
        for line in runs.read_text().splitlines():
            kind = "together" if "batch-" in line else "compiles" if "-*," in line else "alone"
            runs_of[kind].append(line.rsplit("/", 1)[-1])
        assert len(runs_of["together"]) == 2, "all five, then the three that nothing named"
        assert runs_of["compiles"] == ["fifth.cpp"], "only the precompiled one compiles alone"
        assert sorted(runs_of["alone"]) == ["fifth.cpp", "second.cpp", "third.cpp"]

        second = tidy()
        assert second.returncode == 1
        assert "tidy: 2 of 5 sources to check" in second.stdout, second.stdout
    return 0


if __name__ == "__main__":
    sys.exit(main())
