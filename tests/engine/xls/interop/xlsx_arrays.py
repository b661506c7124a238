"""Prints every formula cell of an .xlsx that LibreOffice wrote from a workbook: its place, its formula,
whether it is an array formula and over which range, and its value.
Usage: xlsx_arrays.py FILE.xlsx"""
import sys
import zipfile
import xml.etree.ElementTree as ET

NS = {"m": "http://schemas.openxmlformats.org/spreadsheetml/2006/main"}
z = zipfile.ZipFile(sys.argv[1])
strings = [si.findtext("m:t", "", NS) for si in
           ET.fromstring(z.read("xl/sharedStrings.xml")).findall("m:si", NS)] if "xl/sharedStrings.xml" in z.namelist() else []
for c in ET.fromstring(z.read("xl/worksheets/sheet1.xml")).iter("{%s}c" % NS["m"]):
    f = c.find("m:f", NS)
    v = c.findtext("m:v", "", NS)
    if c.get("t") == "s":
        v = strings[int(v)]
    print(c.get("r"), f.get("t", "-") if f is not None else "", f.get("ref", "-") if f is not None else "",
          f.text if f is not None else "", v)
