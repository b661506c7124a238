"""Sheet settings through other programs.

  sheet_settings.py make OUT.xlsx   writes an .xlsx (by hand) with page setup, headers and footers, view
                                    options, frozen panes, zoom, column widths and protection, for
                                    LibreOffice to turn into an .xls;
  sheet_settings.py xlsx FILE.xlsx  prints those settings as LibreOffice wrote them into an .xlsx;
  sheet_settings.py xlrd FILE.xls   prints what xlrd sees of them in an .xls."""
import sys
import zipfile
import xml.etree.ElementTree as ET
from xml.sax.saxutils import escape

MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
PKG = "http://schemas.openxmlformats.org/package/2006/relationships"
NS = {"m": MAIN}

# What the test expects back in the model; the .xlsx below says the same.
SHEETS = [
    ("登记", """
<sheetPr><pageSetUpPr fitToPage="0"/></sheetPr>
<sheetViews><sheetView tabSelected="1" zoomScale="85" zoomScaleNormal="85" showGridLines="0" showZeros="0" workbookViewId="0">
<pane xSplit="1" ySplit="2" topLeftCell="B3" activePane="bottomRight" state="frozen"/>
<selection pane="bottomRight" activeCell="C5" sqref="C5"/></sheetView></sheetViews>
<cols><col min="1" max="1" width="12.7109375" customWidth="1"/><col min="2" max="3" width="20.5" customWidth="1"/>
<col min="5" max="5" width="3.140625" customWidth="1"/></cols>
%(rows)s
<sheetProtection password="CBEB" sheet="1" objects="1" scenarios="1"/>
<printOptions horizontalCentered="1" verticalCentered="1" headings="1" gridLines="1"/>
<pageMargins left="0.5" right="0.4" top="1.2" bottom="0.9" header="0.3" footer="0.35"/>
<pageSetup paperSize="11" scale="80" firstPageNumber="3" useFirstPageNumber="1" orientation="landscape" copies="2" pageOrder="overThenDown"/>
<headerFooter><oddHeader>&amp;L征订登记&amp;R&amp;D</oddHeader><oddFooter>&amp;C第 &amp;P 页</oddFooter></headerFooter>
"""),
    ("Sheet2", """
<sheetPr><pageSetUpPr fitToPage="1"/></sheetPr>
<sheetViews><sheetView showRowColHeaders="0" zoomScale="150" zoomScaleNormal="150" workbookViewId="0"/></sheetViews>
%(rows)s
<pageMargins left="0.7" right="0.7" top="0.75" bottom="0.75" header="0.3" footer="0.3"/>
<pageSetup paperSize="9" fitToWidth="1" fitToHeight="0" orientation="portrait"/>
"""),
]


def rows():
    cells = "".join('<c r="%s%d"><v>%d</v></c>' % (col, r, r * 10 + i) for i, col in enumerate("ABCDE")
                    for r in [1])
    return "<sheetData>%s</sheetData>" % "".join(
        '<row r="%d">%s</row>' % (r, "".join('<c r="%s%d"><v>%d</v></c>' % (c, r, r * 10 + i)
                                             for i, c in enumerate("ABCDE"))) for r in range(1, 8))


def make(out):
    sheets = "".join('<sheet name="%s" sheetId="%d" r:id="rId%d"/>' % (escape(n), i + 1, i + 1)
                     for i, (n, _) in enumerate(SHEETS))
    rels = "".join('<Relationship Id="rId%d" Type="%s/worksheet" Target="worksheets/sheet%d.xml"/>' % (i + 1, REL, i + 1)
                   for i in range(len(SHEETS)))
    overrides = "".join('<Override PartName="/xl/worksheets/sheet%d.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>' % (i + 1)
                        for i in range(len(SHEETS)))
    parts = {
        "[Content_Types].xml": '<?xml version="1.0" encoding="UTF-8" standalone="yes"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"><Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/><Default Extension="xml" ContentType="application/xml"/><Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>%s</Types>' % overrides,
        "_rels/.rels": '<?xml version="1.0" encoding="UTF-8" standalone="yes"?><Relationships xmlns="%s"><Relationship Id="rId1" Type="%s/officeDocument" Target="xl/workbook.xml"/></Relationships>' % (PKG, REL),
        "xl/workbook.xml": '<?xml version="1.0" encoding="UTF-8" standalone="yes"?><workbook xmlns="%s" xmlns:r="%s"><workbookProtection workbookPassword="CBEB" lockStructure="1"/><bookViews><workbookView activeTab="0"/></bookViews><sheets>%s</sheets></workbook>' % (MAIN, REL, sheets),
        "xl/_rels/workbook.xml.rels": '<?xml version="1.0" encoding="UTF-8" standalone="yes"?><Relationships xmlns="%s">%s</Relationships>' % (PKG, rels),
    }
    for i, (_, body) in enumerate(SHEETS):
        parts["xl/worksheets/sheet%d.xml" % (i + 1)] = (
            '<?xml version="1.0" encoding="UTF-8" standalone="yes"?><worksheet xmlns="%s" xmlns:r="%s">%s</worksheet>'
            % (MAIN, REL, body % {"rows": rows()}))
    with zipfile.ZipFile(out, "w") as z:
        for name, data in parts.items():
            z.writestr(name, data)


def attributes(node):
    return " ".join("%s=%s" % (k, v) for k, v in sorted(node.attrib.items()) if not k.startswith("{"))


def xlsx(path):
    z = zipfile.ZipFile(path)
    book = ET.fromstring(z.read("xl/workbook.xml"))
    for p in book.findall("m:workbookProtection", NS):
        print("workbook protection", attributes(p))
    names = [n for n in z.namelist() if n.startswith("xl/worksheets/sheet")]
    for name in sorted(names):
        sheet = ET.fromstring(z.read(name))
        print(name)
        # Column widths are xlrd's to compare, exactly: LibreOffice reports columns of its default
        # width as custom ones in a file it did not write itself.
        for path in ("m:sheetPr/m:pageSetUpPr", "m:sheetViews/m:sheetView", "m:sheetViews/m:sheetView/m:pane",
                     "m:sheetViews/m:sheetView/m:selection", "m:sheetProtection",
                     "m:printOptions", "m:pageMargins", "m:pageSetup"):
            for node in sheet.findall(path, NS):
                print(" ", path.split(":")[-1], attributes(node))
        for node in sheet.findall("m:headerFooter/*", NS):
            print(" ", node.tag.split("}")[1], node.text)


def xlrd_view(path):
    import xlrd
    book = xlrd.open_workbook(path, formatting_info=True)
    for s in book.sheets():
        print(s.name, "grid", s.show_grid_lines, "headings", s.show_sheet_headers, "zeros", s.show_zero_values,
              "formulas", s.show_formulas, "frozen", s.panes_are_frozen, "split", s.vert_split_pos, s.horz_split_pos,
              "first", s.vert_split_first_visible, s.horz_split_first_visible, "active", s.split_active_pane,
              "zoom", s.scl_mag_factor, "top", s.first_visible_rowx, s.first_visible_colx)
        for c in sorted(k for k in s.colinfo_map if k < 8):
            info = s.colinfo_map[c]
            print("  column", c, info.width, info.hidden)


if __name__ == "__main__":
    {"make": make, "xlsx": xlsx, "xlrd": xlrd_view}[sys.argv[1]](sys.argv[2])
