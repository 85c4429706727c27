"""scripts/cached_moc.py against a stand-in moc that counts its runs: a second clone takes the
kept output and gets a dependency file naming its own folders; a changed header, a changed file
it includes or a failing run is never answered from the cache."""
import os
import pathlib
import subprocess
import sys
import tempfile
import textwrap

SCRIPT = pathlib.Path(sys.argv[1])

# Writes "moc of <header>" and a dependency file naming the header and widget_base.h beside it;
# fails on a header that says "broken".
STAND_IN = textwrap.dedent("""\
    #!/bin/sh
    echo run >> "$RUNS"
    header=$1 output=$3
    grep -q broken "$header" && exit 1
    echo "moc of $(cat "$header")" > "$output"
    printf '%s: %s \\\\\\n  %s\\n' "$output" "$header" "$(dirname "$header")/widget_base.h" \\
      > "$output.d"
""")


class Clone:
    def __init__(self, root):
        self.source = root
        self.build = root / "build"
        (self.source / "ui").mkdir(parents=True)
        self.build.mkdir()
        self.header("class Widget : public QObject { Q_OBJECT };")
        self.base("class WidgetBase {};")

    def header(self, text):
        (self.source / "ui" / "widget.h").write_text(text)

    def base(self, text):
        (self.source / "ui" / "widget_base.h").write_text(text)

    def moc(self, moc, environment):
        output = self.build / "moc_widget.cpp"
        ran = subprocess.run(
            [sys.executable, SCRIPT, str(moc), str(self.source), str(self.build),
             str(self.source / "ui" / "widget.h"), "-o", str(output), "--output-dep-file"],
            env=environment, check=False)
        return ran.returncode, output


def main():
    with tempfile.TemporaryDirectory() as directory:
        root = pathlib.Path(directory)
        moc = root / "moc"
        moc.write_text(STAND_IN)
        moc.chmod(0o755)
        runs = root / "runs"
        environment = dict(os.environ, XDG_CACHE_HOME=str(root / "cache"), RUNS=str(runs))

        def count():
            return len(runs.read_text().split()) if runs.exists() else 0

        first, second = Clone(root / "one"), Clone(root / "two")
        code, output = first.moc(moc, environment)
        assert code == 0 and count() == 1, "the first run is moc's"
        assert output.read_text() == "moc of class Widget : public QObject { Q_OBJECT };\n"

        code, output = second.moc(moc, environment)
        assert code == 0 and count() == 1, "a clone's identical header is answered from the cache"
        assert output.read_text() == "moc of class Widget : public QObject { Q_OBJECT };\n"
        dependencies = pathlib.Path(str(output) + ".d").read_text()
        assert str(second.source / "ui" / "widget_base.h") in dependencies, dependencies
        assert str(first.source) not in dependencies, dependencies

        second.base("class WidgetBase { int changed; };")
        code, _ = second.moc(moc, environment)
        assert code == 0 and count() == 2, "a changed include runs moc again"

        second.header("class Widget : public QObject { Q_OBJECT int more; };")
        code, output = second.moc(moc, environment)
        assert code == 0 and count() == 3, "a changed header runs moc again"
        assert "int more" in output.read_text()

        second.header("broken")
        code, _ = second.moc(moc, environment)
        assert code == 1 and count() == 4, "moc's failure is the build's"
        code, _ = second.moc(moc, environment)
        assert code == 1 and count() == 5, "a failure is never kept"
    print("cached moc: 5 runs of moc for 7 requests, each where it had to run")


if __name__ == "__main__":
    main()
