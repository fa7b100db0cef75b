#!/usr/bin/env python3
"""Checks of the declaration table by an independent reader, Python's csv module.

  same ORIG NEW UNTOUCHED.tkd   every ORIG/*.tkd has a NEW/*.tkd of its name with the same fields
                                and choices (what a file leaves out is as in UNTOUCHED.tkd)
  values TABLE ORIG             TABLE (";", UTF-8 with BOM, CRLF) has one row per ORIG/*.tkd in
                                name order, and every value of each file stands in its row
  cells A.csv B.csv             the two tables hold the same cells under the same headers,
                                whatever their separators, quoting and column order
"""
import csv
import glob
import io
import json
import os
import sys


def load(path):
    with open(path, encoding="utf-8") as f:
        data = json.load(f)
    return data.get("fields", {}), data.get("choices", {})


def whole(path, untouched):
    fields, choices = load(path)
    base_fields, base_choices = untouched
    return {**base_fields, **fields}, {**base_choices, **choices}


def same(orig, new, untouched_path):
    untouched = load(untouched_path)
    names = sorted(os.path.basename(p) for p in glob.glob(f"{orig}/*.tkd"))
    got = sorted(os.path.basename(p) for p in glob.glob(f"{new}/*.tkd"))
    if names != got:
        sys.exit(f"the files differ: {names} / {got}")
    for name in names:
        a, b = whole(f"{orig}/{name}", untouched), whole(f"{new}/{name}", untouched)
        if a != b:
            for key in sorted(set(a[0]) | set(b[0])):
                if a[0].get(key) != b[0].get(key):
                    print(f"{name}: {key}: {a[0].get(key)!r} / {b[0].get(key)!r}")
            sys.exit(f"{name} did not come back field for field (choices {a[1]} / {b[1]})")
    print(f"{len(names)} declarations came back field for field")


def read_table(path):
    with open(path, "rb") as f:
        raw = f.read()
    text = raw.decode("utf-8-sig")
    first = text.split("\n", 1)[0]
    delimiter = ";" if ";" in first else ","
    rows = list(csv.reader(io.StringIO(text, newline=""), delimiter=delimiter))
    return raw, rows


def values(table, orig):
    raw, rows = read_table(table)
    if not raw.startswith(b"\xef\xbb\xbf"):
        sys.exit("no byte-order mark")
    if b"\r\n" not in raw or raw.replace(b"\r\n", b"").count(b"\r"):
        sys.exit("the records do not end with CRLF")
    header, data = rows[0], rows[1:]
    if len(set(header)) != len(header):
        sys.exit(f"the headers repeat: {header}")
    files = sorted(glob.glob(f"{orig}/*.tkd"))
    if len(data) != len(files):
        sys.exit(f"{len(data)} rows for {len(files)} files")
    for row, path in zip(data, files):
        if len(row) != len(header):
            sys.exit(f"{path}: {len(row)} cells under {len(header)} headers")
        if row[0] != os.path.basename(path):
            sys.exit(f"the row of {path} names {row[0]!r}")
        fields, _ = load(path)
        for key, value in fields.items():
            if value not in row:
                sys.exit(f"{path}: {key} = {value!r} is not in its row {row}")
    print(f"{len(data)} rows of {len(header)} cells read back by Python's csv module")


def cells(a, b):
    _, ra = read_table(a)
    _, rb = read_table(b)
    da = [dict(zip(ra[0], r)) for r in ra[1:]]
    db = [dict(zip(rb[0], r)) for r in rb[1:] if any(r)]
    if sorted(ra[0]) != sorted(rb[0]):
        sys.exit(f"the headers differ: {set(ra[0]) ^ set(rb[0])}")
    if len(da) != len(db):
        sys.exit(f"{len(da)} rows / {len(db)} rows")
    for n, (x, y) in enumerate(zip(da, db), start=2):
        for h in ra[0]:
            if x[h] != y[h]:
                sys.exit(f"row {n}, {h}: {x[h]!r} / {y[h]!r}")
    print(f"{len(da)} rows with every cell the same")


if __name__ == "__main__":
    {"same": same, "values": values, "cells": cells}[sys.argv[1]](*sys.argv[2:])
