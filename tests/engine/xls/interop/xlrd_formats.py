"""Prints, one line a non-empty cell, what xlrd sees of an .xls file's cell formats: the number format
code, the font, the borders, the protection and the rich-text runs. Usage: xlrd_formats.py FILE.xls"""
import sys
import xlrd


def font(book, index):
    f = book.font_list[index]
    return "%s/%d/w%d/i%d/u%d/s%d/c%d" % (f.name, f.height, f.weight, f.italic, f.underline_type, f.struck_out,
                                         f.colour_index)


book = xlrd.open_workbook(sys.argv[1], formatting_info=True)
print("default font", font(book, 0))
for sheet in book.sheets():
    for r in range(sheet.nrows):
        for c in range(sheet.row_len(r)):
            if sheet.cell_type(r, c) == xlrd.XL_CELL_EMPTY:
                continue
            xf = book.xf_list[sheet.cell_xf_index(r, c)]
            b = xf.border
            sides = []
            for style, colour in ((b.left_line_style, b.left_colour_index), (b.right_line_style, b.right_colour_index),
                                  (b.top_line_style, b.top_colour_index), (b.bottom_line_style, b.bottom_colour_index)):
                sides.append("%d:%d" % (style, colour) if style else "-")
            runs = sheet.rich_text_runlist_map.get((r, c)) or []
            print(sheet.name, r, c, repr(book.format_map[xf.format_key].format_str), font(book, xf.font_index),
                  " ".join(sides), "locked%d hidden%d" % (xf.protection.cell_locked, xf.protection.formula_hidden),
                  ";".join("%d=%s" % (at, font(book, f)) for at, f in runs))
