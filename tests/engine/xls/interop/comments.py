"""Cell comments through other programs.

  comments.py make OUT.fods   writes a flat OpenDocument spreadsheet (by hand) with comments in several
                              cells, one of them shown, one of two paragraphs, for LibreOffice to turn
                              into an .xls;
  comments.py xlrd FILE.xls   prints each comment as xlrd sees it: row, column, author, shown, text;
  comments.py xlsx FILE.xlsx  prints each comment as LibreOffice wrote it into an .xlsx: cell, text."""
import sys
import zipfile
import xml.etree.ElementTree as ET
from xml.sax.saxutils import escape

# (row, column, author, shown, paragraphs): what the test expects back.
COMMENTS = [
    (0, 0, "王会计", False, ["单位名称以公章为准"]),
    (1, 3, "Li", True, ["含邮费", "second line"]),
    (4, 1, "赵", False, ["到 2027 年底"]),
]

DOCUMENT = """<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" xmlns:dc="http://purl.org/dc/elements/1.1/"
 office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
<office:body><office:spreadsheet><table:table table:name="登记">%s</table:table>
</office:spreadsheet></office:body></office:document>
"""


def make(path):
    rows = []
    for r in range(6):
        cells = []
        for c in range(5):
            note = ""
            for row, col, author, shown, paragraphs in COMMENTS:
                if (row, col) == (r, c):
                    note = '<office:annotation%s><dc:creator>%s</dc:creator>%s</office:annotation>' % (
                        ' office:display="true"' if shown else "", escape(author),
                        "".join("<text:p>%s</text:p>" % escape(p) for p in paragraphs))
            value = r * 10 + c
            cells.append('<table:table-cell office:value-type="float" office:value="%d"><text:p>%d</text:p>%s'
                         '</table:table-cell>' % (value, value, note))
        rows.append("<table:table-row>%s</table:table-row>" % "".join(cells))
    with open(path, "w", encoding="utf-8") as f:
        f.write(DOCUMENT % "".join(rows))


def from_xlrd(path):
    import xlrd
    book = xlrd.open_workbook(path, formatting_info=True)
    sheet = book.sheet_by_index(0)
    for (row, col), note in sorted(sheet.cell_note_map.items()):
        print("%d\t%d\t%s\t%d\t%s" % (row, col, note.author, note.show, note.text.replace("\n", "\\n")))


def from_xlsx(path):
    main = "{http://schemas.openxmlformats.org/spreadsheetml/2006/main}"
    with zipfile.ZipFile(path) as z:
        for name in sorted(n for n in z.namelist() if n.startswith("xl/comments")):
            root = ET.fromstring(z.read(name))
            for c in root.iter(main + "comment"):
                text = "".join(t.text or "" for t in c.iter(main + "t"))
                print("%s\t%s" % (c.get("ref"), text.replace("\n", "\\n")))


if __name__ == "__main__":
    {"make": make, "xlrd": from_xlrd, "xlsx": from_xlsx}[sys.argv[1]](sys.argv[2])
