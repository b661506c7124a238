"""Cells of a flat OpenDocument spreadsheet written by hand, for the scripts that have LibreOffice make
a workbook from one."""

NS = ('xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
      'xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" '
      'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" '
      'xmlns:of="urn:oasis:names:tc:opendocument:xmlns:of:1.2"')


def number(v):
    return '<table:table-cell office:value-type="float" office:value="%s"/>' % v


def formula(f, rows=0, columns=0):
    """A formula in OpenFormula syntax; with rows and columns, an array formula over that many cells."""
    span = ""
    if rows:
        span = ' table:number-matrix-rows-spanned="%d" table:number-matrix-columns-spanned="%d"' % (rows, columns)
    return '<table:table-cell table:formula="of:=%s"%s/>' % (f.replace('"', "&quot;"), span)


def text(t):
    return '<table:table-cell office:value-type="string"><text:p>%s</text:p></table:table-cell>' % t


def empty():
    return "<table:table-cell/>"
