"""Prints every cell of the first sheet of an .xls as xlrd reads it: its place and its value (numbers in
15 significant digits), one line each.
Usage: xlrd_values.py FILE.xls"""
import sys
import xlrd

s = xlrd.open_workbook(sys.argv[1]).sheet_by_index(0)
for r in range(s.nrows):
    for c in range(s.ncols):
        cell = s.cell(r, c)
        if cell.ctype == xlrd.XL_CELL_EMPTY:
            continue
        value = "%.15g" % cell.value if cell.ctype == xlrd.XL_CELL_NUMBER else cell.value
        print(xlrd.cellname(r, c), value)
