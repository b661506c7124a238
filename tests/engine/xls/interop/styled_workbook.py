"""Writes an .xlsx (the Office Open XML spreadsheet, by hand) whose cells carry number formats, fonts,
a default font of 宋体 11, rich text, borders and protection, for LibreOffice to turn into an .xls.

Usage: styled_workbook.py OUT.xlsx"""
import sys
import zipfile
from xml.sax.saxutils import escape

MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
PKG = "http://schemas.openxmlformats.org/package/2006/relationships"

# name, points, bold, italic, underline, strike, ARGB colour
FONTS = [
    ("宋体", 11, False, False, None, False, None),
    ("宋体", 14, True, False, None, False, None),
    ("Arial", 10, False, True, "single", False, "FFFF0000"),
    ("Times New Roman", 12, False, False, "double", True, "FF0000FF"),
]
NUMBER_FORMATS = {
    164: '"¥"#,##0.00', 165: "yyyy-mm-dd hh:mm", 166: "0.00;[Red]-0.00", 167: "[$€-407] #,##0.00",
    168: '0.00" kg"', 169: "h:mm:ss", 170: "yyyy\"年\"m\"月\"d\"日\"",
}
BORDERS = [
    "<left/><right/><top/><bottom/>",
    '<left style="thin"><color rgb="FF0000FF"/></left><right style="thin"><color rgb="FF0000FF"/></right><top/><bottom/>',
    '<left/><right/><top/><bottom style="mediumDashed"><color rgb="FFFF0000"/></bottom>',
    '<left/><right/><top style="double"><color rgb="FF000000"/></top><bottom style="dotted"><color rgb="FF008000"/></bottom>',
]
# Cell formats: number format, font, border, locked, formula hidden.
XFS = {
    "plain": (0, 0, 0, 1, 0), "0.00": (2, 0, 0, 1, 0), "#,##0.00": (4, 0, 0, 1, 0), "0%": (9, 0, 0, 1, 0),
    "0.00%": (10, 0, 0, 1, 0), "0.00E+00": (11, 0, 0, 1, 0), "yuan": (164, 0, 0, 1, 0),
    "datetime": (165, 0, 0, 1, 0), "red negative": (166, 0, 0, 1, 0), "euro": (167, 0, 0, 1, 0),
    "kg": (168, 0, 0, 1, 0), "time": (169, 0, 0, 1, 0), "chinese date": (170, 0, 0, 1, 0),
    "text": (49, 0, 0, 1, 0), "big bold": (0, 1, 0, 1, 0), "red italic": (0, 2, 0, 1, 0),
    "times": (0, 3, 0, 1, 0), "blue sides": (0, 0, 1, 1, 0), "dashed bottom": (0, 0, 2, 1, 0),
    "double top": (0, 0, 3, 1, 0), "unlocked": (0, 0, 0, 0, 0), "hidden": (0, 0, 0, 1, 1),
    "unlocked hidden": (0, 0, 0, 0, 1), "#,##0": (3, 0, 0, 1, 0),
}
STYLE = {name: i for i, name in enumerate(XFS)}


def font_xml(font, tag="font"):
    name, size, bold, italic, underline, strike, colour = font
    parts = ["<b/>" if bold else "", "<i/>" if italic else "", "<strike/>" if strike else "",
             '<u val="%s"/>' % underline if underline else "", '<sz val="%s"/>' % size,
             '<color rgb="%s"/>' % colour if colour else "",
             '<%s val="%s"/>' % ("name" if tag == "font" else "rFont", escape(name))]
    return "<%s>%s</%s>" % (tag, "".join(parts), tag)


def styles():
    numfmts = "".join('<numFmt numFmtId="%d" formatCode="%s"/>' % (k, escape(v, {'"': "&quot;"}))
                      for k, v in NUMBER_FORMATS.items())
    xfs = "".join('<xf numFmtId="%d" fontId="%d" fillId="0" borderId="%d" xfId="0" applyNumberFormat="1" '
                  'applyFont="1" applyBorder="1" applyProtection="1"><protection locked="%d" hidden="%d"/></xf>'
                  % x for x in XFS.values())
    return ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?><styleSheet xmlns="%s">'
            '<numFmts count="%d">%s</numFmts><fonts count="%d">%s</fonts>'
            '<fills count="2"><fill><patternFill patternType="none"/></fill><fill><patternFill patternType="gray125"/></fill></fills>'
            '<borders count="%d">%s</borders>'
            '<cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>'
            '<cellXfs count="%d">%s</cellXfs>'
            '<cellStyles count="1"><cellStyle name="Normal" xfId="0" builtinId="0"/></cellStyles></styleSheet>'
            % (MAIN, len(NUMBER_FORMATS), numfmts, len(FONTS), "".join(font_xml(f) for f in FONTS),
               len(BORDERS), "".join("<border>%s<diagonal/></border>" % b for b in BORDERS), len(XFS), xfs))


strings = []


def text(value):
    if isinstance(value, list):  # rich text: (text, font or None)
        body = "".join("<r>%s<t>%s</t></r>" % (font_xml(f, "rPr") if f else "", escape(t)) for t, f in value)
    else:
        body = "<t>%s</t>" % escape(value)
    strings.append("<si>%s</si>" % body)
    return len(strings) - 1


# Rows of (value, style); a value is a number, a text, a rich text (a list) or a formula ("=…").
ROWS = [
    [(1234.5, "0.00"), (1234.567, "#,##0.00"), (0.125, "0%"), (0.1234, "0.00%"), (12345.678, "0.00E+00"),
     (1234.5, "yuan"), (45000.75, "datetime"), (-3, "red negative"), (12.5, "euro")],
    [(12, "kg"), (0.3, "time"), (45000, "chinese date"), ("文本格式", "text"), (1234567, "#,##0"),
     (3, "red negative")],
    [("宋体粗体", "big bold"), ("Italic red", "red italic"), ("Times", "times"),
     ([("普通", None), ("粗体", ("宋体", 11, True, False, None, False, None)),
       ("红色", ("Arial", 10, False, True, "single", False, "FFFF0000"))], "plain")],
    [("边框", "blue sides"), ("边框", "dashed bottom"), ("边框", "double top")],
    [(1, "unlocked"), ("=A1*2", "hidden"), (3, "unlocked hidden")],
]


def cell(ref, value, style):
    s = STYLE[style]
    if isinstance(value, str) and value.startswith("="):
        return '<c r="%s" s="%d"><f>%s</f></c>' % (ref, s, escape(value[1:]))
    if isinstance(value, (str, list)):
        return '<c r="%s" s="%d" t="s"><v>%d</v></c>' % (ref, s, text(value))
    return '<c r="%s" s="%d"><v>%r</v></c>' % (ref, s, value)


def sheet():
    rows = "".join('<row r="%d">%s</row>' % (r + 1, "".join(cell("%s%d" % (chr(65 + c), r + 1), v, st)
                                                                for c, (v, st) in enumerate(row)))
                   for r, row in enumerate(ROWS))
    return '<?xml version="1.0" encoding="UTF-8" standalone="yes"?><worksheet xmlns="%s"><sheetData>%s</sheetData></worksheet>' % (MAIN, rows)


def main(out):
    sheet_xml = sheet()
    parts = {
        "[Content_Types].xml": '<?xml version="1.0" encoding="UTF-8" standalone="yes"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"><Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/><Default Extension="xml" ContentType="application/xml"/><Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/><Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/><Override PartName="/xl/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml"/><Override PartName="/xl/sharedStrings.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml"/></Types>',
        "_rels/.rels": '<?xml version="1.0" encoding="UTF-8" standalone="yes"?><Relationships xmlns="%s"><Relationship Id="rId1" Type="%s/officeDocument" Target="xl/workbook.xml"/></Relationships>' % (PKG, REL),
        "xl/workbook.xml": '<?xml version="1.0" encoding="UTF-8" standalone="yes"?><workbook xmlns="%s" xmlns:r="%s"><sheets><sheet name="格式" sheetId="1" r:id="rId1"/></sheets></workbook>' % (MAIN, REL),
        "xl/_rels/workbook.xml.rels": '<?xml version="1.0" encoding="UTF-8" standalone="yes"?><Relationships xmlns="%s"><Relationship Id="rId1" Type="%s/worksheet" Target="worksheets/sheet1.xml"/><Relationship Id="rId2" Type="%s/styles" Target="styles.xml"/><Relationship Id="rId3" Type="%s/sharedStrings" Target="sharedStrings.xml"/></Relationships>' % (PKG, REL, REL, REL),
        "xl/worksheets/sheet1.xml": sheet_xml,
        "xl/styles.xml": styles(),
        "xl/sharedStrings.xml": '<?xml version="1.0" encoding="UTF-8" standalone="yes"?><sst xmlns="%s" count="%d" uniqueCount="%d">%s</sst>' % (MAIN, len(strings), len(strings), "".join(strings)),
    }
    with zipfile.ZipFile(out, "w") as z:
        for name, data in parts.items():
            z.writestr(name, data)


if __name__ == "__main__":
    main(sys.argv[1])
