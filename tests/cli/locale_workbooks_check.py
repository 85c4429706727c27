"""Exports a month as a workbook under every locale that `locale -a` lists and checks with
openpyxl that each one opens, that its date-time format shows year, month, day, hour and minute,
and that its amount format shows the locale's currency with the locale's fraction digits, or the
cents where an amount has them."""
import datetime
import locale
import os
import pathlib
import re
import subprocess
import sys
import tempfile

import openpyxl


# Under the address sanitizer, the leak check at exit is almost half of each export's time. It
# looks for what the export forgot to free, which no locale changes: it stays on for the locales
# where users found defects (a comma locale, a CJK one, single-byte ones), and the memory checks
# stay on for every locale.
LEAK_CHECKED = ("C", "de_DE", "ja_JP")


def cli(folder, *arguments, locale_name="C.UTF-8"):
    environment = dict(os.environ, LC_ALL=locale_name,
                       XDG_DATA_HOME=os.path.join(str(folder), ".data"))
    if not locale_name.startswith(LEAK_CHECKED):
        options = os.environ.get("ASAN_OPTIONS")
        environment["ASAN_OPTIONS"] = f"{options}:detect_leaks=0" if options else "detect_leaks=0"
    return subprocess.run([sys.argv[1], "--dir", str(folder), *arguments], env=environment,
                          stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)


def installed_locales():
    listed = subprocess.run(["locale", "-a"], check=True, capture_output=True).stdout
    return [name for name in listed.decode("ascii", "replace").split() if name]


def fraction_digits(number_format):
    """The zeros after the decimal point of a format's first section."""
    zeros = re.search(r"\.(0+)", re.sub(r'"[^"]*"', "", number_format.split(";")[0]))
    return len(zeros.group(1)) if zeros else 0


def date_time_problem(number_format):
    fields = re.sub(r'"[^"]*"', "", number_format).lower()
    if "y" not in fields or "d" not in fields or "h" not in fields:
        return "no year, day or hour"
    if not re.search(r"h+[^a-z]*m+", fields):
        return "no minutes after the hour"
    if len(re.findall(r"m+", fields)) < 2:
        return "no month"
    return None


def check(folder, name):
    path = folder / f"{name}.xlsx"
    exported = cli(folder, "export", "xlsx", "--month", "2026-12", "--output", path,
                   locale_name=name)
    if exported.returncode != 0:
        return f"export failed: {exported.stderr.strip()}"
    try:
        sheet = openpyxl.load_workbook(path).active
    except Exception as error:  # openpyxl raises many kinds for a corrupt part
        return f"openpyxl refuses the workbook: {error!r}"
    if sheet["B10"].value != datetime.datetime(2026, 12, 1, 9, 5):
        return f"start date {sheet['B10'].value!r}"
    problem = date_time_problem(sheet["B10"].number_format)
    if problem:
        return f"{problem} in {sheet['B10'].number_format!r}"
    if (sheet["F10"].value, sheet["F11"].value, sheet["F4"].value, sheet["F5"].value) != (
            1235, 1234.56, 1234.56, 1235):
        return "amounts or sums differ"
    locale.setlocale(locale.LC_ALL, name)
    conventions = locale.localeconv()
    locale.setlocale(locale.LC_ALL, "C")
    digits = conventions["frac_digits"]
    digits = 2 if digits == 127 else digits
    symbol = conventions["currency_symbol"].replace('"', "")
    whole, cents = sheet["F10"].number_format, sheet["F11"].number_format
    if symbol and (symbol not in whole or symbol not in cents):
        return f"no {symbol!r} in {whole!r}"
    if fraction_digits(whole) != digits or fraction_digits(cents) != max(digits, 2):
        return f"fraction digits {whole!r} / {cents!r}, the locale shows {digits}"
    for cell in ("F4", "F5"):
        expected = cents if sheet[cell].value == 1234.56 else whole
        if sheet[cell].number_format != expected:
            return f"sum {cell} has {sheet[cell].number_format!r}"
    return None


def main():
    # A memory-backed folder where there is one: every export makes its workbook durable, and
    # five hundred waits for the disk would be most of this check's time.
    scratch = "/dev/shm" if os.path.isdir("/dev/shm") else None
    with tempfile.TemporaryDirectory(dir=scratch) as directory:
        folder = pathlib.Path(directory)
        for title, day, amount, paid in (("Rent", 3, "1235", "--unpaid"),
                                         ("Gas", 4, "1234.56", "--paid")):
            added = cli(folder, "add", "--title", title, "--start", "2026-12-01 09:05",
                        "--due", f"2026-12-{day:02} 18:30", "--amount", amount, paid)
            assert added.returncode == 0, added.stderr
        names = installed_locales()
        problems = [f"{name}: {problem}" for name in names
                    if (problem := check(folder, name)) is not None]
    assert not problems, "\n".join(problems)
    print(f"openpyxl opened the workbook of every one of {len(names)} locales")


if __name__ == "__main__":
    main()
