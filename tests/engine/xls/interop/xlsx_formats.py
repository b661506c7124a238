"""Prints, one line a non-empty cell, the cell formats of an .xlsx that LibreOffice wrote from a
workbook: number format code, font, borders, protection and rich-text runs, resolved from styles.xml.
Usage: xlsx_formats.py FILE.xlsx"""
import sys
import zipfile
import xml.etree.ElementTree as ET

NS = {"m": "http://schemas.openxmlformats.org/spreadsheetml/2006/main"}
BUILT_IN = {0: "General", 1: "0", 2: "0.00", 3: "#,##0", 4: "#,##0.00", 9: "0%", 10: "0.00%", 11: "0.00E+00",
            14: "m/d/yyyy", 49: "@"}


def attr(node, path, name="val", default=""):
    found = node.find(path, NS) if node is not None else None
    return found.get(name, "1" if name == "val" and default == "present" else default) if found is not None else ""


def font(node):
    colour = node.find("m:color", NS)
    return "%s/%s/b%s/i%s/u%s/s%s/%s" % (
        attr(node, "m:name") or attr(node, "m:rFont"), attr(node, "m:sz"),
        int(node.find("m:b", NS) is not None), int(node.find("m:i", NS) is not None),
        attr(node, "m:u", default="present") if node.find("m:u", NS) is not None else "",
        int(node.find("m:strike", NS) is not None),
        colour.get("rgb", colour.get("indexed", colour.get("theme", ""))) if colour is not None else "")


z = zipfile.ZipFile(sys.argv[1])
styles = ET.fromstring(z.read("xl/styles.xml"))
formats = dict(BUILT_IN)
for f in styles.findall("m:numFmts/m:numFmt", NS):
    formats[int(f.get("numFmtId"))] = f.get("formatCode")
fonts = [font(f) for f in styles.findall("m:fonts/m:font", NS)]
borders = []
for b in styles.findall("m:borders/m:border", NS):
    sides = []
    for side in ("left", "right", "top", "bottom"):
        s = b.find("m:" + side, NS)
        style = s.get("style") if s is not None else None
        colour = s.find("m:color", NS) if s is not None else None
        sides.append("%s:%s" % (style, colour.get("rgb", colour.get("indexed", "")) if colour is not None else "")
                     if style else "-")
    borders.append(" ".join(sides))
xfs = styles.findall("m:cellXfs/m:xf", NS)
strings = []
if "xl/sharedStrings.xml" in z.namelist():
    for si in ET.fromstring(z.read("xl/sharedStrings.xml")).findall("m:si", NS):
        runs = si.findall("m:r", NS)
        if runs:
            strings.append(";".join("%s=%s" % (r.findtext("m:t", "", NS), font(r.find("m:rPr", NS)) if r.find("m:rPr", NS) is not None else "")
                                    for r in runs))
        else:
            strings.append("")
sheet = ET.fromstring(z.read("xl/worksheets/sheet1.xml"))
print("default font", fonts[0])
for c in sheet.iter("{%s}c" % NS["m"]):
    if c.find("m:v", NS) is None and c.find("m:f", NS) is None and c.find("m:is", NS) is None:
        continue
    xf = xfs[int(c.get("s", "0"))]
    protection = xf.find("m:protection", NS)
    locked = protection.get("locked", "1") if protection is not None else "1"
    hidden = protection.get("hidden", "0") if protection is not None else "0"
    runs = strings[int(c.findtext("m:v", "", NS))] if c.get("t") == "s" else ""
    print(c.get("r"), repr(formats.get(int(xf.get("numFmtId", "0")), "?")), fonts[int(xf.get("fontId", "0"))],
          borders[int(xf.get("borderId", "0"))], "locked%s hidden%s" % (locked, hidden), runs)
