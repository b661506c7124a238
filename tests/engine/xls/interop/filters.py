"""An autofilter through other programs.

  filters.py make OUT.fods   writes a flat OpenDocument spreadsheet (by hand) whose list A1:C5 has an
                             autofilter: column B below 10 and column C equal to a text, the rows they
                             hide hidden, for LibreOffice to turn into an .xls;
  filters.py xlrd FILE.xls   prints what xlrd reads of the filter: the range of the sheet's filter
                             database name, the rows hidden, and each AUTOFILTERINFO and AUTOFILTER
                             record of the sheet from the workbook stream as xlrd's compound file reader
                             gives it;
  filters.py xlsx FILE.xlsx  prints the filter LibreOffice wrote into an .xlsx: its range, each column's
                             conditions, the rows hidden."""
import struct
import sys
import zipfile
import xml.etree.ElementTree as ET

# (name, quantity, kind); the filter keeps the rows whose quantity is below 10 and whose kind is 期刊.
ROWS = [("甲", 5, "期刊"), ("乙", 20, "期刊"), ("丙", 7, "报纸"), ("丁", 3, "期刊")]

DOCUMENT = """<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
<office:body><office:spreadsheet><table:table table:name="登记">%s</table:table>
<table:database-ranges><table:database-range table:name="__Anonymous_Sheet_DB__0"
 table:target-range-address="登记.A1:登记.C5" table:display-filter-buttons="true"><table:filter>
<table:filter-and>
<table:filter-condition table:field-number="1" table:value="10" table:operator="&lt;" table:data-type="number"/>
<table:filter-condition table:field-number="2" table:value="期刊" table:operator="=" table:data-type="text"/>
</table:filter-and></table:filter></table:database-range></table:database-ranges>
</office:spreadsheet></office:body></office:document>
"""


def cell(value):
    if isinstance(value, int):
        return '<table:table-cell office:value-type="float" office:value="%d"><text:p>%d</text:p></table:table-cell>' % (
            value, value)
    return '<table:table-cell office:value-type="string"><text:p>%s</text:p></table:table-cell>' % value


def make(path):
    rows = ["<table:table-row>%s</table:table-row>" % "".join(cell(v) for v in ("名称", "数量", "类别"))]
    for name, quantity, kind in ROWS:
        shown = quantity < 10 and kind == "期刊"
        rows.append('<table:table-row%s>%s</table:table-row>' % (
            "" if shown else ' table:visibility="filter"', "".join(cell(v) for v in (name, quantity, kind))))
    with open(path, "w", encoding="utf-8") as f:
        f.write(DOCUMENT % "".join(rows))


def records(path):
    """The (type, body) records of the first sheet's substream."""
    from xlrd import compdoc
    with open(path, "rb") as f:
        doc = compdoc.CompDoc(f.read())
    stream = doc.get_named_stream("Workbook")
    at, depth, sheets = 0, 0, 0
    while at + 4 <= len(stream):
        kind, length = struct.unpack_from("<HH", stream, at)
        body = stream[at + 4:at + 4 + length]
        at += 4 + length
        if kind == 0x0809:
            depth += 1
            if depth == 1:
                sheets += 1
        elif kind == 0x000A:
            depth -= 1
        elif sheets == 2 and depth == 1:
            yield kind, body


def from_xlrd(path):
    import xlrd
    book = xlrd.open_workbook(path, formatting_info=True)
    sheet = book.sheet_by_index(0)
    for name in book.name_obj_list:
        if name.name == "_FilterDatabase":
            area = name.area2d()[1:]
            print("range\trows %d-%d\tcolumns %d-%d\thidden %d" % (area[0], area[1] - 1, area[2], area[3] - 1,
                                                                   name.hidden))
    print("hidden rows\t%s" % " ".join(str(r) for r, info in sorted(sheet.rowinfo_map.items()) if info.hidden))
    for kind, body in records(path):
        if kind == 0x009B:
            print("rows hidden by the filter")
        elif kind == 0x009D:
            print("arrows\t%d" % struct.unpack_from("<H", body)[0])
        elif kind == 0x009E:
            print("column\t%d\t%s" % (struct.unpack_from("<H", body)[0], body[2:].hex()))


def from_xlsx(path):
    main = "{http://schemas.openxmlformats.org/spreadsheetml/2006/main}"
    with zipfile.ZipFile(path) as z:
        root = ET.fromstring(z.read("xl/worksheets/sheet1.xml"))
    for f in root.iter(main + "autoFilter"):
        print("range\t%s" % f.get("ref"))
        for column in f.iter(main + "filterColumn"):
            conditions = ["%s %s" % (c.get("operator", "equal"), c.get("val")) for c in column.iter(main + "customFilter")]
            conditions += ["= %s" % v.get("val") for v in column.iter(main + "filter")]
            print("column\t%s\t%s" % (column.get("colId"), "; ".join(conditions)))
    print("hidden rows\t%s" % " ".join(str(int(r.get("r")) - 1) for r in root.iter(main + "row") if r.get("hidden") in ("1", "true")))


if __name__ == "__main__":
    {"make": make, "xlrd": from_xlrd, "xlsx": from_xlsx}[sys.argv[1]](sys.argv[2])
