"""Exports a month of dues with paylark-cli as .xlsx and .docx and checks that openpyxl and
python-docx read them as a user's office program would: values, fills, table rows, comments."""
import os
import pathlib
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

import docx
import openpyxl

W = "{http://schemas.openxmlformats.org/wordprocessingml/2006/main}"


def cli(folder, *arguments):
    # Backups go beside the records, not into the user's own data folder.
    environment = dict(os.environ, LC_ALL="en_US.UTF-8",
                       XDG_DATA_HOME=os.path.join(str(folder), ".data"))
    subprocess.run([sys.argv[1], "--dir", str(folder), *arguments], check=True,
                   env=environment, stdout=subprocess.DEVNULL)


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
    assert (sheet["F4"].value, sheet["F5"].value) == ("$360.00", "$420.00")
    titles = [sheet[f"A{row}"].value for row in range(10, 22)]
    assert titles[1] == "Gas & <Power>" and titles[11] == "Due 12", titles
    assert sheet["B10"].value == "02/01/2007 09:00:00 AM", sheet["B10"].value
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
    assert table.rows[2].cells[0].text == "Gas & <Power>\n01/02/2007\t02/02/2007"
    assert [cell.text for cell in table.rows[13].cells] == [
        "Status: (6/12)", "$360.00", "$420.00", "$780.00", ""]
    comments = comments_of(document)
    assert len(comments) == 12 and comments[0] == "first line\nsecond line", comments
    assert comments[1] == ""
    document = docx.Document(folder / "without.docx")
    assert len(document.tables[0].columns) == 4 and comments_of(document) == []


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
    print("openpyxl and python-docx read every export")


if __name__ == "__main__":
    main()
