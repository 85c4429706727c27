#!/usr/bin/python3
"""Prints the print page through Chromium's own layout, as a user printing it from a browser
would, and checks with poppler that every amount and sum is whole on the paper: each one appears
on a line of its own cell and no word reaches past the page's edge.

Usage: print_page_browser_test.py PAYLARK_CLI PRINT_TEMPLATE. Exits 77 (skipped) when Chromium is
not installed. With PAYLARK_SNAPSHOTS set, the pages are also kept there as PNG images."""

import os
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

SKIPPED = 77
BROWSERS = ("chromium", "chromium-browser", "google-chrome")

DUES = (  # title, type, amount, paid
    ("Kommunalabgaben und Grundbesitzabgaben Dezember", "business", "100002248940.49", False),
    ("Strom", "business", "12347129.00", True),
    ("Rent", "personal", "99999999999.99", False),
    ("Fee", "personal", "0.01", True),
)

# Every amount and sum as the locale shows it; the paid sum is 12347129.01, the unpaid one
# 200002248940.48, the total 200014596069.49.
EXPECTED = {
    "de_DE.UTF-8": ["100.002.248.940,49 €", "12.347.129,00 €", "99.999.999.999,99 €", "0,01 €",
                    "12.347.129,01 €", "200.002.248.940,48 €", "200.014.596.069,49 €"],
    "en_US.UTF-8": ["$100,002,248,940.49", "$12,347,129.00", "$99,999,999,999.99", "$0.01",
                    "$12,347,129.01", "$200,002,248,940.48", "$200,014,596,069.49"],
}


def cli(folder, *arguments, locale="C.UTF-8"):
    environment = dict(os.environ, LC_ALL=locale, XDG_DATA_HOME=str(folder / ".data"))
    subprocess.run([sys.argv[1], "--dir", str(folder), *arguments], check=True, env=environment,
                   stdout=subprocess.DEVNULL)


def print_to_pdf(browser, page, pdf, profile):
    subprocess.run([browser, "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                    "--disable-background-networking", "--disable-component-update",
                    "--disable-sync", f"--user-data-dir={profile}", "--no-pdf-header-footer",
                    f"--print-to-pdf={pdf}", page.as_uri()],
                   check=True, capture_output=True, timeout=180)


def words_with_boxes(pdf):
    """(page width, [(word, xMin, xMax)]) of every page."""
    boxes = subprocess.run(["pdftotext", "-bbox", str(pdf), "-"], check=True,
                           capture_output=True, text=True).stdout
    root = ElementTree.fromstring(re.sub(r"<!DOCTYPE[^>]*>", "", boxes).replace(
        'xmlns="http://www.w3.org/1999/xhtml"', ""))
    pages = []
    for page in root.iter("page"):
        words = [(word.text or "", float(word.get("xMin")), float(word.get("xMax")))
                 for word in page.iter("word")]
        pages.append((float(page.get("width")), words))
    return pages


def check(browser, folder, locale):
    page = folder / f"print-{locale}.html"
    cli(folder, "print", "--from", "2026-12", "--to", "2026-12", "--template", sys.argv[2],
        "--output", page, locale=locale)
    pdf = folder / f"print-{locale}.pdf"
    print_to_pdf(browser, page, pdf, folder / f"profile-{locale}")
    lines = subprocess.run(["pdftotext", "-layout", str(pdf), "-"], check=True,
                           capture_output=True, text=True).stdout
    missing = [amount for amount in EXPECTED[locale] if amount not in lines]
    assert not missing, f"{locale}: {missing} not whole in:\n{lines}"
    for word in ("Business", "Personal", "Unpaid"):
        assert word in lines, f"{locale}: {word} is broken in:\n{lines}"
    for width, words in words_with_boxes(pdf):
        outside = [text for text, left, right in words if left < 0 or right > width]
        assert not outside, f"{locale}: {outside} reach past the page's edge ({width} pt)"
    snapshots = os.environ.get("PAYLARK_SNAPSHOTS")
    if snapshots:
        os.makedirs(snapshots, exist_ok=True)
        subprocess.run(["pdftoppm", "-png", "-r", "80", str(pdf),
                        os.path.join(snapshots, f"print-page-{locale.split('.')[0]}")],
                       check=True)


def main():
    browser = next((found for name in BROWSERS if (found := shutil.which(name))), None)
    if browser is None:
        print("skipped: no Chromium to lay the print page out (apt-get install chromium)")
        return SKIPPED
    with tempfile.TemporaryDirectory() as name:
        folder = pathlib.Path(name)
        for day, (title, kind, amount, paid) in enumerate(DUES, start=1):
            cli(folder, "add", "--title", title, "--pay-to", "Stadtwerke", "--type", kind,
                "--account", "DE89 3704 0044 0532 0130 00",
                "--due", f"2026-12-{day:02} 18:00", "--start", "2026-12-01",
                "--amount", amount, "--paid" if paid else "--unpaid")
        for locale in EXPECTED:
            check(browser, folder, locale)
    print("Chromium printed every amount and sum whole under", ", ".join(EXPECTED))
    return 0


if __name__ == "__main__":
    sys.exit(main())
