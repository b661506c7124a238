#!/usr/bin/env bash
# The bundled register, opened and saved by the Windows build under Wine, reads in xlrd (a reader of its
# own) with the same sheets and the same cell values as the file it came from.
# Usage: resaved_in_xlrd.sh RESAVE.exe REGISTER.xls
set -euo pipefail
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
wine "$1" "$2" "$folder/resaved.xls"
/usr/bin/python3 - "$2" "$folder/resaved.xls" <<'PY'
import sys
import xlrd

original, resaved = (xlrd.open_workbook(p) for p in sys.argv[1:3])
assert original.sheet_names() == resaved.sheet_names(), resaved.sheet_names()
for a, b in zip(original.sheets(), resaved.sheets()):
    assert (a.nrows, a.ncols) == (b.nrows, b.ncols), (a.name, b.nrows, b.ncols)
    for r in range(a.nrows):
        assert a.row_values(r) == b.row_values(r), (a.name, r, b.row_values(r))
print("same sheets and values:", original.sheet_names())
PY
