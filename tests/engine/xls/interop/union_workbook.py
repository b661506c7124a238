"""Writes a flat OpenDocument spreadsheet (.fods, by hand) with formulas over unions and intersections,
calls of functions the engine does not compute, a name relative to the cell using it and print titles
of both columns and rows, for LibreOffice to turn into an .xls.

Usage: union_workbook.py OUT.fods"""
import sys

from fods import NS, number, formula

rows = [[number(10 * r + c) for c in range(4)] for r in range(4)]
rows.append([formula("SUM([.A1]~[.B2:.C3])"), formula("COUNT([.A1:.A2]~[.D1:.D4])"),
             formula("AREAS([.A1]~[.B1:.C2]~[.D4])"), formula("[.A1:.B2]![.B2:.C3]")])
rows.append([formula("PERMUT(5;2)"), formula("DSUM([.A1:.D4];1;[.A1:.A2])"), formula("Left*10"),
             formula("SUM([.A1:.B2]![.B1:.C3])")])
data = "".join("<table:table-row>%s</table:table-row>" % "".join(r) for r in rows)
sys.stdout = open(sys.argv[1], "w", encoding="utf-8")
print('<?xml version="1.0" encoding="UTF-8"?>')
print('<office:document %s office:version="1.2" '
      'office:mimetype="application/vnd.oasis.opendocument.spreadsheet">' % NS)
print("<office:body><office:spreadsheet>")
print('<table:table table:name="Sheet1" table:print-ranges="$Sheet1.$A$1:.$D$6">')
print('<table:table-header-columns><table:table-column/></table:table-header-columns>'
      '<table:table-column table:number-columns-repeated="3"/>')
print("<table:table-header-rows>%s</table:table-header-rows>%s" % (data[:data.index("</table:table-row>") + 18],
                                                                    data[data.index("</table:table-row>") + 18:]))
print("</table:table>")
print("<table:named-expressions>")
print('<table:named-range table:name="Left" table:base-cell-address="$Sheet1.$B$6" '
      'table:cell-range-address="$Sheet1.A6"/>')
print("</table:named-expressions>")
print("</office:spreadsheet></office:body></office:document>")
