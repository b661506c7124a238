"""Writes a flat OpenDocument spreadsheet (.fods, by hand) with array formulas over one cell, a column
and a row, and formulas holding array constants, for LibreOffice to turn into an .xls.

Usage: array_workbook.py OUT.fods"""
import sys

from fods import NS, number, formula, empty

rows = [
    [number(1), number(4), formula("SUM([.A1:.A3]*[.B1:.B3])", 1, 1), formula("[.A1:.A3]*10+[.B1:.B3]", 3, 1),
     formula("TRANSPOSE([.A1:.A3])", 1, 3), empty(), empty()],
    [number(2), number(5), formula('MATCH("b";{"a";"b";"c"};0)'), empty(), formula("SUM({1;2|3;4}*{10;100})"),
     formula("SUMPRODUCT({1;2;3};TRANSPOSE([.A1:.A3]))"), formula('IF([.A1:.A3]>1;"big";"small")', 3, 1)],
    [number(3), number(6), formula('VLOOKUP(2;{1;"x"|2;"y"};2;0)'), empty(), formula("INDEX({1;2|3;4};2;1)"),
     formula("MAX({3;-1|7;2})")],
]
data = "".join("<table:table-row>%s</table:table-row>" % "".join(r) for r in rows)
sys.stdout = open(sys.argv[1], "w", encoding="utf-8")
print('<?xml version="1.0" encoding="UTF-8"?>')
print('<office:document %s office:version="1.2" '
      'office:mimetype="application/vnd.oasis.opendocument.spreadsheet">' % NS)
print("<office:body><office:spreadsheet>")
print('<table:table table:name="Sheet1">%s</table:table>' % data)
print("</office:spreadsheet></office:body></office:document>")
