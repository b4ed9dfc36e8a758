#!/usr/bin/python3
"""Reads an .xlsx written by `tavik-cli export xlsx` with an independent reader (openpyxl)
and checks the sheet layout of the example table.

    check_xlsx.py FILE.xlsx full     the whole example, with the frequency column
    check_xlsx.py FILE.xlsx range    relevés 5..8, species 1..10, items 2 and 8 only
"""
import sys

import openpyxl

path, what = sys.argv[1], sys.argv[2]
ws = openpyxl.load_workbook(path).active
failures = []


def expect(label, got, want):
    if got != want:
        failures.append(f"{label}: expected {want!r}, got {got!r}")


def row_of(caption):
    for r in range(1, ws.max_row + 1):
        if ws.cell(r, 1).value == caption:
            return r
    failures.append(f"no row {caption!r}")
    return 1


expect("title", ws.cell(1, 1).value, "本州中部・北部の森林")
beech = row_of("ブナ")
if what == "full":
    # Serial numbers are numbers; relevé numbers and texts stay texts, exactly.
    expect("serial caption", ws.cell(2, 1).value, "表番号")
    expect("serial 1", ws.cell(2, 3).value, 1)
    expect("serial 60", ws.cell(2, 62).value, 60)
    number = row_of("測定番号")
    expect("relevé number", ws.cell(number, 3).value, "A84-01")
    expect("site name", ws.cell(row_of("調査地名"), 4).value, "鳥海山")
    # Plain decimal header values are numbers.
    expect("altitude", ws.cell(row_of("調査地標高(m)"), 3).value, 1160)
    expect("herb height", ws.cell(row_of("草 本 層高さ（m）"), 3).value, 0.75)
    expect("soil type", ws.cell(row_of("土壌型"), 3).value, "  BD")
    # The species numbers counted in the table.
    expect("species count", ws.cell(row_of("出現種数"), 3).value, 23)
    # A species row: name at the top, layer labels and notations as lines of one cell.
    expect("name alignment", ws.cell(beech, 1).alignment.vertical, "top")
    expect("labels", ws.cell(beech, 2).value, "T1\nT2\nS1\nH2")
    expect("labels wrap", ws.cell(beech, 2).alignment.wrap_text, True)
    cell = ws.cell(beech, 3)
    expect("notations", cell.value, " 3 \n . \n 1 \n + ")
    expect("notations centred", cell.alignment.horizontal, "center")
    expect("notations wrap", cell.alignment.wrap_text, True)
    expect("row height", ws.row_dimensions[beech].height, 60)
    # Frequency in % of the range, a number in column 63.
    freq = ws.cell(beech, 63)
    expect("frequency", freq.value, 50)
    expect("frequency centred", freq.alignment.horizontal, "center")
    # Every species row of the table is there.
    expect("rows", ws.max_row, beech + 134)
elif what == "range":
    # Relevés 5..8 are columns 7..10; the frequency is column 11 (2 of 4 positions: 50).
    expect("no serial row", ws.cell(2, 1).value, "測定番号")
    expect("altitude row", ws.cell(3, 1).value, "調査地標高(m)")
    expect("species count row", ws.cell(4, 1).value, "出現種数")
    expect("first relevé", ws.cell(2, 7).value, "A91-05")
    expect("last relevé", ws.cell(2, 10).value, "A12-08")
    expect("before the range", ws.cell(2, 6).value, None)
    expect("frequency column", ws.cell(beech, 11).value, 100)
    expect("after the frequency", ws.cell(beech, 12).value, None)
    expect("rows", ws.max_row, 14)
else:
    failures.append("unknown check " + what)

for f in failures:
    print("FAIL:", f)
sys.exit(1 if failures else 0)
