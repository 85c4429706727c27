"""Exports a month of dues with paylark-cli as .xlsx, .docx, .pdf and .html, prints it, and
checks that independent readers see what a user would: openpyxl and python-docx (values, types,
fills, table rows, comments, page size), qpdf and pdftotext (every character of the text) and
Python's HTML parser (markup in a value never hides or multiplies dues)."""
import datetime
import html.parser
import os
import pathlib
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

import docx
import openpyxl

W = "{http://schemas.openxmlformats.org/wordprocessingml/2006/main}"


def cli(folder, *arguments, locale="en_US.UTF-8"):
    # Backups go beside the records, not into the user's own data folder.
    environment = dict(os.environ, LC_ALL=locale,
                       XDG_DATA_HOME=os.path.join(str(folder), ".data"))
    return subprocess.run([sys.argv[1], "--dir", str(folder), *arguments], check=True,
                          env=environment, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)


def add_twelve_dues(folder):
    """Dues 1 to 12 of February 2007; the odd ones paid; amount 10 times the number."""
    for number in range(1, 13):
        title = "Gas & <Power>" if number == 2 else f"Due {number}"
        notes = ["--notes", "first line\nsecond line"] if number == 1 else []
        paid = "--paid" if number % 2 else "--unpaid"
        cli(folder, "add", "--title", title, "--start", "2007-02-01 09:00",
            "--due", f"2007-02-{number:02} 18:00", "--amount", str(10 * number), paid, *notes)


def check_workbooks(folder):
    sheet = openpyxl.load_workbook(folder / "with.xlsx").active
    assert sheet["C4"].value == "February, 2007", sheet["C4"].value
    assert (sheet["F4"].value, sheet["F5"].value) == (360, 420)
    assert sheet["F10"].number_format == '"$"#,##0.00;-"$"#,##0.00', sheet["F10"].number_format
    assert all(isinstance(sheet[f"F{row}"].value, (int, float)) for row in range(10, 22))
    titles = [sheet[f"A{row}"].value for row in range(10, 22)]
    assert titles[1] == "Gas & <Power>" and titles[11] == "Due 12", titles
    assert sheet["B10"].value == datetime.datetime(2007, 2, 1, 9, 0), sheet["B10"].value
    assert sheet["B10"].number_format == "mm/dd/yyyy hh:mm:ss AM/PM", sheet["B10"].number_format
    assert sheet.freeze_panes == "A10", sheet.freeze_panes
    assert sheet.auto_filter.ref == "A9:I21", sheet.auto_filter.ref
    assert sheet["I10"].value == "Show Notes"
    assert sheet["I10"].comment.text == "first line\nsecond line"
    assert sheet["I11"].comment is not None and sheet["I11"].comment.text == ""
    sheet = openpyxl.load_workbook(folder / "without.xlsx").active
    assert sheet["I9"].value is None and sheet["I9"].fill.fgColor.rgb == "FFFFFFFF"
    assert sheet["I10"].value is None and sheet["I10"].comment is None


def comments_of(document):
    for relationship in document.part.rels.values():
        if relationship.reltype.endswith("/comments"):
            root = ElementTree.fromstring(relationship.target_part.blob)
            return ["\n".join("".join(t.text or "" for t in p.iter(W + "t"))
                              for p in comment.iter(W + "p"))
                    for comment in root.iter(W + "comment")]
    return []


def check_documents(folder):
    document = docx.Document(folder / "with.docx")
    assert document.paragraphs[0].text == "February-2007"
    table = document.tables[0]
    assert (len(table.rows), len(table.columns)) == (14, 5)
    assert [cell.text for cell in table.rows[0].cells] == [
        "Due", "Pay To/Account", "Type/Status", "Amount", "Notes"]
    assert table.rows[2].cells[0].text == "Gas & <Power>\n02/01/2007\t02/02/2007"
    assert document.sections[0].page_width == docx.shared.Twips(12240)  # Letter in en_US
    assert [cell.text for cell in table.rows[13].cells] == [
        "Status: (6/12)", "$360.00", "$420.00", "$780.00", ""]
    comments = comments_of(document)
    assert len(comments) == 12 and comments[0] == "first line\nsecond line", comments
    assert comments[1] == ""
    document = docx.Document(folder / "without.docx")
    assert len(document.tables[0].columns) == 4 and comments_of(document) == []


class VisibleText(html.parser.HTMLParser):
    """The text a browser shows: comments and tags left out."""

    def __init__(self):
        super().__init__()
        self.text = ""

    def handle_data(self, data):
        self.text += data


def visible_text(path):
    parser = VisibleText()
    parser.feed(path.read_text(encoding="utf-8"))
    parser.close()
    return parser.text


def pdf_text(path):
    checked = subprocess.run(["qpdf", "--check", str(path)], capture_output=True, text=True)
    assert checked.returncode == 0, checked.stdout + checked.stderr
    return subprocess.run(["pdftotext", str(path), "-"], check=True,
                          capture_output=True, text=True).stdout


def add_hostile_dues(folder):
    """December 2026 with markup in values, a single-byte locale's amounts and a CJK title."""
    for day, title, pay_to in ((3, "Invoice <!-- check with Bob", "<Stadtwerke>"),
                               (1, "Strom & Gas", "Stadtwerke"),
                               (2, "東京電力 12月分", "東京電力"),
                               (4, "Rent", "Landlord")):
        cli(folder, "add", "--title", title, "--pay-to", pay_to, "--due", f"2026-12-{day:02}",
            "--start", "2026-12-01", "--amount", "1250", "--notes", "line <1>\nline 2")


def check_hostile_month(folder):
    """Markup, the euro sign of de_DE@euro and a CJK title reach every document intact."""
    euro = "de_DE@euro"
    for form in ("html", "pdf", "xlsx", "docx"):
        cli(folder, "export", form, "--month", "2026-12", "--output", folder / f"dec.{form}",
            locale=euro)
    cli(folder, "print", "--from", "2026-12", "--to", "2026-12", "--output",
        folder / "print.html", locale=euro)

    exported = visible_text(folder / "dec.html")
    assert [f"Record {n} of 4" in exported for n in range(1, 5)] == [True] * 4, exported
    assert "Invoice <!-- check with Bob" in exported and "<Stadtwerke>" in exported
    assert "1.250,00 €" in exported and "line <1>" in exported
    assert "01.12.2026 - 03.12.2026" in exported, exported
    printed = visible_text(folder / "print.html")
    assert [f"{n}." in printed for n in range(1, 5)] == [True] * 4, printed
    assert printed.index("Strom & Gas") < printed.index("東京電力") < printed.index("Invoice <!--")
    assert "5.000,00 €" in printed, "the sums follow the dues"

    text = pdf_text(folder / "dec.pdf")
    assert "Amount: 1.250,00 €" in text, text
    assert "Invoice <!-- check with Bob" in text
    assert "東京電力 12月分" in text, "needs a CJK font (fonts-wqy-microhei): " + text

    sheet = openpyxl.load_workbook(folder / "dec.xlsx").active
    assert sheet["F10"].value == 1250 and "€" in sheet["F10"].number_format
    assert sheet["B10"].value == datetime.datetime(2026, 12, 1), sheet["B10"].value
    assert sheet["B10"].number_format == "dd.mm.yyyy", sheet["B10"].number_format
    assert sheet["C4"].value == "Dezember, 2026", sheet["C4"].value
    assert sheet["I10"].comment.text == "line <1>\nline 2"

    document = docx.Document(folder / "dec.docx")
    assert document.sections[0].page_width == docx.shared.Twips(11906)  # A4 in Germany
    rows = document.tables[0].rows
    assert rows[1].cells[3].text == "1.250,00 €", rows[1].cells[3].text
    assert rows[1].cells[0].text == "Strom & Gas\n01.12.2026\t01.12.2026", rows[1].cells[0].text
    assert rows[5].cells[3].text == "5.000,00 €"


def main():
    with tempfile.TemporaryDirectory() as name:
        folder = pathlib.Path(name)
        add_twelve_dues(folder)
        for form in ("xlsx", "docx"):
            cli(folder, "export", form, "--month", "2007-02", "--output", folder / f"with.{form}")
            cli(folder, "export", form, "--month", "2007-02", "--without-notes",
                "--output", folder / f"without.{form}")
        check_workbooks(folder)
        check_documents(folder)
        add_hostile_dues(folder)
        check_hostile_month(folder)
    print("openpyxl, python-docx, qpdf, pdftotext and an HTML parser read every export")


if __name__ == "__main__":
    main()
