"""Writes a flat OpenDocument spreadsheet (.fods, by hand) with defined names of the workbook and of a
sheet, a print area, formulas using the names, a column of like formulas (which LibreOffice saves as
one shared formula) and a function this program does not compute, for LibreOffice to turn into an .xls.

Usage: named_workbook.py OUT.fods"""
import sys

from fods import NS, number, formula, text

rows = [[number(0.05), formula("PMT([.A1];10;1000)"), formula("Rate*100"), text("单价")]]
for r in range(2, 8):
    rows.append([number(r * 10), formula("[.A%d]*Rate" % r), formula("[.A%d]+Bonus" % r), number(r)])
rows.append([formula("SUM(Amounts)"), formula("SUM([.B2:.B7])"), formula("Bonus"), formula("Units")])

data = "".join("<table:table-row>%s</table:table-row>" % "".join(r) for r in rows)
other = "<table:table-row>%s%s</table:table-row>" % (number(7), formula("Bonus*2"))
sys.stdout = open(sys.argv[1], "w", encoding="utf-8")
print('<?xml version="1.0" encoding="UTF-8"?>')
print('<office:document %s office:version="1.2" '
      'office:mimetype="application/vnd.oasis.opendocument.spreadsheet">' % NS)
print("<office:body><office:spreadsheet>")
print('<table:table table:name="征订登记" table:print-ranges="$征订登记.$A$1:.$D$8">%s</table:table>' % data)
print('<table:table table:name="Sheet2">%s<table:named-expressions>'
      '<table:named-range table:name="Bonus" table:base-cell-address="$Sheet2.$A$1" '
      'table:cell-range-address="$Sheet2.$A$1"/></table:named-expressions></table:table>' % other)
print("<table:named-expressions>")
print('<table:named-range table:name="Rate" table:base-cell-address="$征订登记.$A$1" '
      'table:cell-range-address="$征订登记.$A$1"/>')
print('<table:named-range table:name="Amounts" table:base-cell-address="$征订登记.$A$1" '
      'table:cell-range-address="$征订登记.$A$2:.$A$7"/>')
print('<table:named-range table:name="Bonus" table:base-cell-address="$征订登记.$A$1" '
      'table:cell-range-address="$征订登记.$D$2"/>')
print('<table:named-expression table:name="Units" table:base-cell-address="$征订登记.$A$1" '
      'table:expression="of:=12"/>')
print("</table:named-expressions>")
print("</office:spreadsheet></office:body></office:document>")
