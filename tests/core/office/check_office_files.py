"""Writes sample exports with the given program and checks that openpyxl and python-docx read
them as a user's office program would: values, fills, table rows and comments."""
import pathlib
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

import docx
import openpyxl

W = "{http://schemas.openxmlformats.org/wordprocessingml/2006/main}"


def check_workbooks(folder):
    sheet = openpyxl.load_workbook(folder / "with.xlsx").active
    assert sheet["C4"].value == "February, 2007", sheet["C4"].value
    assert (sheet["F4"].value, sheet["F5"].value) == ("$360.00", "$420.00")
    titles = [f"Due {n}" for n in range(1, 13)]
    titles[1] = "Gas & <Power>"
    assert [sheet[f"A{row}"].value for row in range(10, 22)] == titles
    assert sheet["B10"].value == "02/01/2007 09:00:00 AM", sheet["B10"].value
    assert sheet["I10"].value == "Show Notes"
    assert sheet["I10"].comment.text == "first line\nsecond line"
    assert sheet["I11"].comment is not None and sheet["I11"].comment.text == ""
    sheet = openpyxl.load_workbook(folder / "without.xlsx").active
    assert sheet["I9"].value is None and sheet["I9"].fill.fgColor.rgb == "FFFFFFFF"
    assert sheet["I10"].value is None and sheet["I10"].comment is None
    sheet = openpyxl.load_workbook(folder / "empty.xlsx").active
    assert (sheet["C4"].value, sheet["F4"].value, sheet["F5"].value) == (
        "February, 2007", "$0.00", "$0.00")


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
    document = docx.Document(folder / "empty.docx")
    assert document.tables == [] and [p.text for p in document.paragraphs] == [""]


def main():
    with tempfile.TemporaryDirectory() as name:
        folder = pathlib.Path(name)
        subprocess.run([sys.argv[1], str(folder)], check=True)
        check_workbooks(folder)
        check_documents(folder)
    print("openpyxl and python-docx read every sample")


if __name__ == "__main__":
    main()
