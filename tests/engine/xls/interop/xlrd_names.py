"""Prints what xlrd reads of an .xls: each defined name with its scope, built-in and hidden flags and
what it stands for, then every cell's value, one line a row.
Usage: xlrd_names.py FILE.xls"""
import sys
import xlrd

book = xlrd.open_workbook(sys.argv[1], formatting_info=True)
for n in sorted(book.name_obj_list, key=lambda n: (n.scope, n.name)):
    print(n.name, n.scope, n.builtin, n.hidden, n.result.value if n.result else None)
for sheet in book.sheets():
    for r in range(sheet.nrows):
        print(sheet.name, r + 1, [sheet.cell(r, c).value for c in range(sheet.ncols)])
