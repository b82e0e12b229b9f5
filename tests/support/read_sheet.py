"""Reads an exported file back as a spreadsheet program would and prints what it holds.

    read_sheet.py FILE.xlsx   first line: the workbook's facts (sheet names, frozen cell, column
                              widths, bold header cells); then one line per row, each cell as
                              [type, value, number format] with type "s" text, "n" number,
                              "d" date and time, "" empty.
    read_sheet.py FILE.csv    first line: {"bom": true/false}; then one line per record, the
                              fields as the csv module reads them.
Every line is JSON.
"""
import csv
import datetime
import json
import sys

import openpyxl
from openpyxl.utils import get_column_letter


def cell_of(cell):
    value = cell.value
    if value is None:
        return ["", "", cell.number_format]
    if isinstance(value, bool):
        return ["b", str(value), cell.number_format]
    if isinstance(value, (int, float)):
        return ["n", repr(value), cell.number_format]
    if isinstance(value, (datetime.datetime, datetime.date)):
        return ["d", value.isoformat(), cell.number_format]
    return ["s", str(value), cell.number_format]


def read_xlsx(path):
    book = openpyxl.load_workbook(path)
    sheet = book.worksheets[0]
    widths = []
    for col in range(1, sheet.max_column + 1):
        dimension = sheet.column_dimensions.get(get_column_letter(col))
        widths.append(dimension.width if dimension is not None and dimension.customWidth else None)
    facts = {
        "sheets": book.sheetnames,
        "freeze": sheet.freeze_panes,
        "widths": widths,
        "bold": [bool(c.font and c.font.b) for c in sheet[1]],
    }
    print(json.dumps(facts, ensure_ascii=False))
    for row in sheet.iter_rows():
        print(json.dumps([cell_of(c) for c in row], ensure_ascii=False))


def read_csv(path):
    with open(path, "rb") as raw:
        bom = raw.read(3) == b"\xef\xbb\xbf"
    print(json.dumps({"bom": bom}))
    with open(path, newline="", encoding="utf-8-sig") as text:
        for record in csv.reader(text):
            print(json.dumps(record, ensure_ascii=False))


if __name__ == "__main__":
    sys.stdout.reconfigure(encoding="utf-8")
    if sys.argv[1].lower().endswith(".csv"):
        read_csv(sys.argv[1])
    else:
        read_xlsx(sys.argv[1])
