"""Hyperlinks, conditional formats, data validations and page breaks through other programs.

  sheet_extras.py make OUT.xlsx   writes an .xlsx (by hand) with a link to a web address, one to a cell
                                  of another sheet, conditional formats comparing values and testing a
                                  formula, validations by a formula of the cells beside and by bounds
                                  (one with no alert but with messages), and page breaks before a row
                                  and a column, for LibreOffice to turn into an .xls (a format of
                                  several areas has absolute references
                                  only: LibreOffice reads the relative ones of such a format in its own
                                  .xls files from another cell than it wrote them for);
  sheet_extras.py xlsx FILE.xlsx  prints those as LibreOffice wrote them into an .xlsx;
  sheet_extras.py xlrd FILE.xls   prints what xlrd sees of them in an .xls (links and page breaks)."""
import sys
import zipfile
import xml.etree.ElementTree as ET

MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
PKG = "http://schemas.openxmlformats.org/package/2006/relationships"
NS = {"m": MAIN}

SHEET = """<sheetData>%(rows)s</sheetData>
<conditionalFormatting sqref="C2:C7"><cfRule type="cellIs" dxfId="0" priority="1" operator="greaterThan"><formula>40</formula></cfRule></conditionalFormatting>
<conditionalFormatting sqref="E2:E7"><cfRule type="expression" dxfId="1" priority="2"><formula>AND($B2&gt;30,$D2&lt;70)</formula></cfRule></conditionalFormatting>
<conditionalFormatting sqref="A9 C9"><cfRule type="cellIs" dxfId="0" priority="3" operator="between"><formula>10</formula><formula>$A$1+90</formula></cfRule></conditionalFormatting>
<dataValidations count="2"><dataValidation type="custom" allowBlank="1" showErrorMessage="1" sqref="C3:C6"><formula1>B3&gt;A3</formula1></dataValidation>
<dataValidation type="decimal" operator="between" allowBlank="1" showInputMessage="1" promptTitle="单价" prompt="请输入单价，单位为元" errorTitle="单价不对" error="单价在第一行的十倍以内" sqref="E3:E6"><formula1>A3</formula1><formula2>$B$1*10</formula2></dataValidation></dataValidations>
<hyperlinks><hyperlink ref="A2" r:id="rIdLink" tooltip="邮局网站"/><hyperlink ref="B3" location="'汇总'!C4" display="看汇总"/></hyperlinks>
<rowBreaks count="1" manualBreakCount="1"><brk id="4" max="16383" man="1"/></rowBreaks>
<colBreaks count="1" manualBreakCount="1"><brk id="2" max="1048575" man="1"/></colBreaks>
"""

STYLES = """<?xml version="1.0" encoding="UTF-8" standalone="yes"?><styleSheet xmlns="%s">
<fonts count="1"><font><sz val="11"/><name val="Arial"/></font></fonts>
<fills count="2"><fill><patternFill patternType="none"/></fill><fill><patternFill patternType="gray125"/></fill></fills>
<borders count="1"><border/></borders><cellStyleXfs count="1"><xf/></cellStyleXfs><cellXfs count="1"><xf/></cellXfs>
<dxfs count="2"><dxf><font><b/><color rgb="FFFF0000"/></font></dxf><dxf><fill><patternFill patternType="solid"><bgColor rgb="FFFFFF00"/></patternFill></fill></dxf></dxfs>
</styleSheet>""" % MAIN


def rows():
    return "".join('<row r="%d">%s</row>' % (r, "".join('<c r="%s%d"><v>%d</v></c>' % (c, r, r * 10 + i)
                                                         for i, c in enumerate("ABCDE"))) for r in range(1, 10))


def make(out):
    sheet_xml = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?><worksheet xmlns="%s" xmlns:r="%s">%s'
                 '</worksheet>' % (MAIN, REL, SHEET % {"rows": rows()}))
    other_xml = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?><worksheet xmlns="%s"><sheetData>%s'
                 '</sheetData></worksheet>' % (MAIN, rows()))
    worksheet = "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"
    parts = {
        "[Content_Types].xml": '<?xml version="1.0" encoding="UTF-8" standalone="yes"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"><Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/><Default Extension="xml" ContentType="application/xml"/><Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/><Override PartName="/xl/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml"/><Override PartName="/xl/worksheets/sheet1.xml" ContentType="%s"/><Override PartName="/xl/worksheets/sheet2.xml" ContentType="%s"/></Types>' % (worksheet, worksheet),
        "_rels/.rels": '<?xml version="1.0" encoding="UTF-8" standalone="yes"?><Relationships xmlns="%s"><Relationship Id="rId1" Type="%s/officeDocument" Target="xl/workbook.xml"/></Relationships>' % (PKG, REL),
        "xl/workbook.xml": '<?xml version="1.0" encoding="UTF-8" standalone="yes"?><workbook xmlns="%s" xmlns:r="%s"><sheets><sheet name="登记" sheetId="1" r:id="rId1"/><sheet name="汇总" sheetId="2" r:id="rId2"/></sheets></workbook>' % (MAIN, REL),
        "xl/_rels/workbook.xml.rels": '<?xml version="1.0" encoding="UTF-8" standalone="yes"?><Relationships xmlns="%s"><Relationship Id="rId1" Type="%s/worksheet" Target="worksheets/sheet1.xml"/><Relationship Id="rId2" Type="%s/worksheet" Target="worksheets/sheet2.xml"/><Relationship Id="rId3" Type="%s/styles" Target="styles.xml"/></Relationships>' % (PKG, REL, REL, REL),
        "xl/worksheets/_rels/sheet1.xml.rels": '<?xml version="1.0" encoding="UTF-8" standalone="yes"?><Relationships xmlns="%s"><Relationship Id="rIdLink" Type="%s/hyperlink" Target="http://www.example.com/dingyue" TargetMode="External"/></Relationships>' % (PKG, REL),
        "xl/styles.xml": STYLES,
        "xl/worksheets/sheet1.xml": sheet_xml,
        "xl/worksheets/sheet2.xml": other_xml,
    }
    with zipfile.ZipFile(out, "w") as z:
        for name, data in parts.items():
            z.writestr(name, data)


def attributes(node, skip=()):
    return " ".join("%s=%s" % (k.split("}")[-1], v) for k, v in sorted(node.attrib.items())
                    if k.split("}")[-1] not in skip)


def xlsx(path):
    z = zipfile.ZipFile(path)
    sheet = ET.fromstring(z.read("xl/worksheets/sheet1.xml"))
    rels = {}
    if "xl/worksheets/_rels/sheet1.xml.rels" in z.namelist():
        for r in ET.fromstring(z.read("xl/worksheets/_rels/sheet1.xml.rels")):
            rels[r.get("Id")] = r.get("Target")
    for link in sheet.findall("m:hyperlinks/m:hyperlink", NS):
        target = rels.get(link.get("{%s}id" % REL), "")
        print("link", attributes(link, skip=("id",)), "target=" + target)
    # Priorities and style numbers are the writer's own; what is compared is where and when.
    for cf in sheet.findall("m:conditionalFormatting", NS):
        for rule in cf.findall("m:cfRule", NS):
            formulas = [f.text for f in rule.findall("m:formula", NS)]
            print("format", cf.get("sqref"), attributes(rule, skip=("priority", "dxfId")), formulas)
    for dv in sheet.findall("m:dataValidations/m:dataValidation", NS):
        formulas = [f.text for f in dv if f.tag.endswith("formula1") or f.tag.endswith("formula2")]
        print("validation", attributes(dv), formulas)
    for kind in ("rowBreaks", "colBreaks"):
        for brk in sheet.findall("m:%s/m:brk" % kind, NS):
            print(kind, brk.get("id"), brk.get("man"))


def xlrd_view(path):
    import xlrd
    book = xlrd.open_workbook(path, formatting_info=True)
    s = book.sheet_by_index(0)
    for h in s.hyperlink_list:
        print("link", h.frowx, h.lrowx, h.fcolx, h.lcolx, h.type, h.url_or_path, h.textmark, h.desc, h.quicktip)
    print("row breaks", s.horizontal_page_breaks)
    print("column breaks", s.vertical_page_breaks)


if __name__ == "__main__":
    {"make": make, "xlsx": xlsx, "xlrd": xlrd_view}[sys.argv[1]](sys.argv[2])
