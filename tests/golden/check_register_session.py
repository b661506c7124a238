#!/usr/bin/env python3
"""Runs register_session.play through varnel-play on a copy of the bundled register and checks every
cell, formula, drop-down list, outline level, format and message against tables written from the
register's layout rules. Usage: check_register_session.py VARNEL_PLAY DATA_DIR"""

import datetime
import json
import os
import shutil
import subprocess
import sys
import tempfile

import xlrd

HERE = os.path.dirname(os.path.abspath(__file__))
Y = datetime.date.today().year
failures = []


def fail(message):
    failures.append(message)


def check(what, actual, expected):
    if actual != expected:
        fail(f"{what}: expected {expected!r}, got {actual!r}")


# ---- Expected register ---------------------------------------------------------------------------

KINDS = "报纸,杂志,图书,年鉴"
KINDS_ADDED = KINDS + ",报纸增刊"
YEAR_LIST = f"{Y - 1},{Y}"
HEADER = ["征订年度", "资料名称", "征订数量", "单价", "金额", "票据号", "征订单位"]


def material_list(kinds):
    return f"{kinds},{Y}年度读者,{Y + 1}年度读者"


def amount(row):
    return f'=IF(OR($C${row}<1,$D${row}<1),"",PRODUCT($C${row},$D${row}))'


def missing(materials, kinds):
    terms = "&".join(f'IF(COUNTIF({materials},"{k}"),"","{k} ")' for k in kinds.split(","))
    return f'=SUBSTITUTE(TRIM({terms})," ","、")'


# cell -> (value, formula, validation); every other cell of A1:G17 is empty, with neither.
register = {}


def put(ref, value, formula=None, validation=None):
    register[ref] = (value, formula, validation)


for col, title in zip("ABCDEFG", HEADER):
    put(f"{col}1", title)


def unit_row(row, name, missing_value, missing_formula, total, total_formula):
    put(f"A{row}", name)
    put(f"B{row}", missing_value, missing_formula)
    put(f"C{row}", total, total_formula)


def header_row(row):
    for col, title in zip("ABCDEFG", HEADER):
        put(f"{col}{row}", title)


def entry_row(row, kinds, year=None, material=None, quantity=None, price=None, unit=None):
    put(f"A{row}", year, None, YEAR_LIST)
    put(f"B{row}", material, None, material_list(kinds))
    if quantity is not None:
        put(f"C{row}", quantity)
        put(f"D{row}", price)
    put(f"E{row}", quantity * price if quantity else "", amount(row))
    if unit is not None:
        put(f"G{row}", unit)


unit_row(2, "市一中", "图书、年鉴", missing("$B$4:$B$6", KINDS), 120, "=SUM($E$3:$E$6)")
header_row(3)
entry_row(4, KINDS, None, "报纸", 2, 30, "市一中")
entry_row(5, KINDS, None, "杂志", 3, 20, "市一中")
entry_row(6, KINDS)
unit_row(7, "ABC书店", "报纸、杂志、图书、年鉴", missing("$B$9", KINDS), 0, "=SUM($E$9)")
header_row(8)
entry_row(9, KINDS)
unit_row(11, "县文化馆", "杂志、图书", missing("$B$13:$B$16", KINDS_ADDED), 68, "=SUM($E$12:$E$16)")
header_row(12)
entry_row(13, KINDS, Y, "报纸", 5, 12, "县文化馆")
entry_row(14, KINDS, None, "年鉴", None, None, "县文化馆")
entry_row(15, KINDS_ADDED, None, "报纸增刊", 1, 8, "县文化馆")
entry_row(16, KINDS_ADDED)

LEVELS = {2: 1, 3: 2, 4: 2, 5: 2, 6: 2, 7: 1, 8: 2, 9: 2, 10: 1, 11: 1, 12: 2, 13: 2, 14: 2, 15: 2, 16: 2, 17: 1}
HEADER_ROWS = [3, 8, 12]
ENTRY_ROWS = [4, 5, 6, 9, 13, 14, 15, 16]
UNIT_ROWS = [2, 7, 11]

# ---- Expected results ----------------------------------------------------------------------------

FOUND = [
    ["征订年度", "被查询资料名称", "征订数量", "单价", "金额", "票据号", "征订单位"],
    ["", "报纸", 2, 30, 60, "", "市一中"],
    [Y, "报纸", 5, 12, 60, "", "县文化馆"],
    [""] * 7,
]
MISSING = [
    HEADER,
    ["市一中", "图书、年鉴", 120, "", "", "", ""],
    ["ABC书店", "报纸、杂志、图书、年鉴", 0, "", "", "", ""],
    ["县文化馆", "杂志、图书", 68, "", "", "", ""],
    [""] * 7,
]
BLOCK = [
    ["市一中", "图书、年鉴", 120, "", "", "", ""],
    HEADER,
    ["", "报纸", 2, 30, 60, "", "市一中"],
    ["", "杂志", 3, 20, 60, "", "市一中"],
    [""] * 7,
    [""] * 7,
]
YEAR_ITEMS = [f"{y}年度读者" for y in range(2009, Y + 2)]

MESSAGES = [
    ("添加统计单位", "该单位已经存在，不能添加相同的单位！"),
    ("添加统计单位错误", "输入类型不正确！"),
    ("添加征订资料错误", "该资料名称已经存在，不会被再次添加！"),
    ("添加征订资料错误", "输入类型不正确！"),
]
DIALOGS = [
    ("查询指定资料征订情况", YEAR_ITEMS + ["报纸", "报纸增刊", "年鉴", "图书", "杂志"]),
    ("查询指定资料征订情况", ["ABC书店", "市一中", "县文化馆"]),
]

# ---- Running the session ---------------------------------------------------------------------------


def run(play, data):
    folder = tempfile.mkdtemp(prefix="varnel-golden-")
    out = os.path.join(folder, "out")
    os.mkdir(out)
    for name in ("Ombrell.xls", "TessikConfig.ini"):
        shutil.copy(os.path.join(data, name), folder)
    with open(os.path.join(HERE, "register_session.play"), encoding="utf-8") as f:
        script = f.read().replace("{Y}", str(Y))
    done = subprocess.run([play, "--out", out, folder], input=script.encode("utf-8"),
                          stdout=subprocess.PIPE, timeout=300)
    events = [json.loads(line) for line in done.stdout.decode("utf-8").splitlines() if line.strip()]
    return folder, out, events, done.returncode


def value_of(record):
    kind = record.get("type")
    if kind == "empty":
        return None
    return record.get("value")


def same_value(actual, expected):
    if expected in (None, ""):
        return actual in (None, "")
    if isinstance(expected, (int, float)) and isinstance(actual, (int, float)):
        return abs(actual - expected) < 1e-9
    return actual == expected


def check_register(cells):
    for row in range(1, 18):
        for col in "ABCDEFG":
            ref = f"{col}{row}"
            record = cells.get(f"征订登记!${col}${row}")
            if record is None:
                fail(f"{ref}: not printed")
                continue
            value, formula, validation = register.get(ref, (None, None, None))
            if not same_value(value_of(record), value):
                fail(f"{ref}: value {value_of(record)!r}, expected {value!r}")
            check(f"{ref} formula", record.get("formula"), formula)
            check(f"{ref} validation", record.get("validation"), validation)


def check_table(cells, prefix, table):
    for r, expected_row in enumerate(table, start=1):
        for c, expected in enumerate(expected_row):
            ref = f"{prefix}${'ABCDEFG'[c]}${r}"
            record = cells.get(ref)
            if record is None:
                fail(f"{ref}: not printed")
                continue
            if not same_value(value_of(record), expected):
                fail(f"{ref}: value {value_of(record)!r}, expected {expected!r}")
            check(f"{ref} formula", record.get("formula"), None)


def check_formats(path):
    book = xlrd.open_workbook(path, formatting_info=True)
    sheet = book.sheet_by_name("征订登记")

    def xf_of(row, col):
        if row < sheet.nrows and col < sheet.row_len(row):
            return book.xf_list[sheet.cell_xf_index(row, col)]
        info = sheet.rowinfo_map.get(row)
        return book.xf_list[info.xf_index] if info and info.has_default_xf_index else None

    for row, level in LEVELS.items():
        info = sheet.rowinfo_map.get(row - 1)
        check(f"row {row} outline level", info.outline_level if info else 0, level - 1)
        check(f"row {row} hidden", bool(info.hidden) if info else False, False)
    # Palette colour index n is stored as n + 7; xlDash in thin weight is the dashed line style 3.
    for row in HEADER_ROWS + ENTRY_ROWS:
        font = 10 if row in HEADER_ROWS else 5
        for col in range(7):
            xf = xf_of(row - 1, col)
            where = f"{'ABCDEFG'[col]}{row}"
            if xf is None:
                fail(f"{where}: no format")
                continue
            check(f"{where} fill", xf.background.pattern_colour_index, 34 + 7)
            check(f"{where} font colour", book.font_list[xf.font_index].colour_index, font + 7)
            borders = (xf.border.top_line_style, xf.border.bottom_line_style, xf.border.left_line_style,
                       xf.border.right_line_style)
            check(f"{where} borders", borders, (3, 3, 3, 3))
    for row in UNIT_ROWS:
        xf = xf_of(row - 1, 1)
        check(f"B{row} alignment", xf.alignment.hor_align if xf else None, 1)


def check_config(folder, data):
    with open(os.path.join(data, "TessikConfig.ini"), "rb") as f:
        before = f.read()
    with open(os.path.join(folder, "TessikConfig.ini"), "rb") as f:
        after = f.read()
    old = ("征订资料种类=" + KINDS).encode("utf-16-le")
    new = ("征订资料种类=" + KINDS_ADDED).encode("utf-16-le")
    if old not in before:
        fail("the bundled TessikConfig.ini does not hold the expected kinds")
    check("TessikConfig.ini after adding a name", after, before.replace(old, new))


def main():
    play, data = sys.argv[1], sys.argv[2]
    folder, out, events, code = run(play, data)
    check("exit code", code, 0)
    check("errors", [e for e in events if e.get("event") == "error"], [])

    check("input boxes", [(e["prompt"], e["title"], e["default"]) for e in events if e.get("event") == "inputbox"],
          [("请输入单位名称：", "添加统计单位", "未知单位")] * 5)
    check("message boxes", [(e["caption"], e["text"]) for e in events if e.get("event") == "messagebox"],
          MESSAGES)
    check("query dialogs",
          [(e["caption"], e["items"]) for e in events if e.get("event") == "dialog" and e.get("items")], DIALOGS)
    check("refused typing", [(e["cell"], e["text"]) for e in events if e.get("event") == "refused"],
          [("征订登记!$B$14", "报纸增刊")])
    check("instances shown", [e["instance"] for e in events if e.get("event") == "visible"], [1, 2, 3])

    cells = {e["cell"]: e for e in events if "cell" in e and "event" not in e}
    check_register(cells)
    check_table(cells, "2:[Book1]Sheet1!", FOUND)
    check_table(cells, "3:[Book1]未征订情况统计!", MISSING)
    check_table(cells, "3:[Book1]被查询单位征订情况!", BLOCK)
    check_table(cells, "Sheet2!", [[""] * 7] * 5)

    try:
        check_formats(os.path.join(folder, "Ombrell.xls"))
    except (OSError, xlrd.XLRDError, IndexError, KeyError) as e:
        fail(f"saved register: {e}")
    check_config(folder, data)

    for message in failures[:60]:
        print(message)
    if len(failures) > 60:
        print(f"... and {len(failures) - 60} more")
    if not failures:
        shutil.rmtree(folder)
    else:
        print(f"session left in {folder}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
