"""Prints the defined names and every cell's formula of an .xlsx that LibreOffice wrote from a workbook.
Usage: xlsx_formulas.py FILE.xlsx"""
import sys
import zipfile
import xml.etree.ElementTree as ET

NS = {"m": "http://schemas.openxmlformats.org/spreadsheetml/2006/main"}
z = zipfile.ZipFile(sys.argv[1])
book = ET.fromstring(z.read("xl/workbook.xml"))
for n in book.findall("m:definedNames/m:definedName", NS):
    print("name", n.get("name"), n.get("localSheetId", "-"), n.get("hidden", "0"), n.text)
sheets = sorted(f for f in z.namelist() if f.startswith("xl/worksheets/sheet"))
for f in sheets:
    for c in ET.fromstring(z.read(f)).iter("{%s}c" % NS["m"]):
        formula = c.find("m:f", NS)
        if formula is not None:
            print(f.split("/")[-1], c.get("r"), formula.text)
