#!/usr/bin/python3
"""Reads an .xlsx written by `tavik-cli export xlsx` with an independent reader (openpyxl)
and checks the sheet layout of the example table.

    check_xlsx.py FILE.xlsx full     the whole example, with the frequency column
    check_xlsx.py FILE.xlsx range    relevés 5..8, species 1..10, items 2 and 8 only
    check_xlsx.py FILE.xlsx groups   tests/data/example_groups.vtb with the frequency column
    check_xlsx.py FILE.xlsx synoptic its constancy table with the fidelity, diagnostic order
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


if what == "synoptic":
    # Names in A; per group the class, then phi x 100 as a number; headings as numbers.
    expect("label A", ws.cell(2, 2).value, "A")
    expect("phi heading", ws.cell(2, 3).value, "φ×100")
    expect("label D", ws.cell(2, 8).value, "D")
    expect("relevés of A", ws.cell(3, 2).value, 15)
    mean = ws.cell(4, 2).value
    expect("mean species number is a number", isinstance(mean, float), True)
    expect("rule under the headings", ws.cell(4, 1).border.bottom.style, "thin")
    first = ws.cell(5, 1).value
    expect("first diagnostic species of A", first, "チシマザサ")
    expect("phi a number", isinstance(ws.cell(5, 3).value, (int, float)), True)
    expect("diagnostic fill", ws.cell(5, 2).fill.fgColor.rgb, "FFFFC4C4")
    expect("phi fill", ws.cell(5, 3).fill.fgColor.rgb, "FFFFC4C4")
    expect("no fill outside the group", ws.cell(5, 4).fill.fill_type, None)
    # Every shaded class cell has a phi beside it; the blocks end in a rule, and the
    # rows of a block are shaded in one group's columns.
    rules = 0
    for r in range(5, ws.max_row + 1):
        for g in range(4):
            cls, phi = ws.cell(r, 2 + 2 * g), ws.cell(r, 3 + 2 * g)
            if cls.fill.fill_type:
                expect(f"phi of a diagnostic cell {r},{g}", isinstance(phi.value, (int, float)), True)
        if ws.cell(r, 1).border.bottom.style == "thin":
            rules += 1
    expect("rules between the blocks (A|B|C|D|rest)", rules, 4)
    for f in failures:
        print("FAIL:", f)
    sys.exit(1 if failures else 0)

expect("title", ws.cell(1, 1).value, "本州中部・北部の森林")
beech = row_of("ブナ")
if what == "groups":
    # 63 columns: relevés 1-15, a separator, 16-30, a separator, 31-45, a separator, 46-60.
    serial = [ws.cell(2, c).value for c in range(3, 66)]
    expect("serials skip the separators", serial,
           list(range(1, 16)) + [None] + list(range(16, 31)) + [None] + list(range(31, 46)) + [None]
           + list(range(46, 61)))
    for c in (18, 34, 50):
        expect(f"separator column {c} empty", [ws.cell(r, c).value for r in range(2, ws.max_row + 1)],
               [None] * (ws.max_row - 1))
    expect("frequency heading", ws.cell(row_of("出現種数"), 66).value, "出現頻度(%)")
    # 30 of 60 relevés, not of 63 columns.
    expect("beech frequency", ws.cell(beech, 66).value, 50)
    # Header values trimmed; a column of numbers holds numbers only.
    expect("soil type trimmed", ws.cell(row_of("土壌型"), 3).value, "BD")
    altitude = [ws.cell(row_of("調査地標高(m)"), c).value for c in range(3, 66)]
    expect("altitudes are numbers", {type(v).__name__ for v in altitude if v is not None}, {"int"})
elif what == "full":
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
    expect("soil type", ws.cell(row_of("土壌型"), 3).value, "BD")  # trimmed
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
