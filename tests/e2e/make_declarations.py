#!/usr/bin/env python3
"""Writes N declaration files d01.tkd ... into a folder: Hungarian letters, multi-line remarks
with the CSV's own characters (";", quotes), co-owner blocks empty, partly and wholly filled,
and every option of every radio group in turn (none as well)."""
import json
import sys

n, folder = int(sys.argv[1]), sys.argv[2]

NAMES = ["Kovács Őrs", "Nagy Űrsula", "Szűcs Ödön", "Tóth Ágnes", "Éles Írisz", "Fűzfa Ügyné", "Öreg Ákos"]
STREETS = ["Fő tér", "Árpád utca", "Ősz utca", "Hűség köz", "Ürge sor"]
# Tax numbers and identification codes with right check digits, so that the checks pass for some.
TAX_NUMBERS = ["10773381-2-44", "15789934-2-51", "30000010-1-01", "23456787-3-13"]
TAX_IDS = ["8365670003", "8400000129", "8412340779", "8380000056"]
GROUPS = {"CtlRadioGroup5": 4, "CtlRadioGroup6": 6, "CtlRadioGroup1": 2}
# The co-owners' blocks: name, address, tax number, identification code, share.
BLOCKS = [("m12", "m13", "m14", "m15", "m16"), ("m17", "m18", "m19", "m20", "m21"),
          ("m22", "m23", "m24", "m25", "m26")]

for i in range(1, n + 1):
    name = f"{NAMES[i % len(NAMES)]} {i}"
    fields = {
        "m1": name if i % 9 else f'{name} "ifj."; Bt.',
        "m2": f"{9000 + i} Hollóberény, {STREETS[i % len(STREETS)]} {i}.",
        "m3": TAX_NUMBERS[i % 4],
        "m4": TAX_IDS[i % 4],
        "m5": "1/1",
        "m6": "tulajdonjog" if i % 2 else "haszonélvezeti jog",
        "m7": f"Hollóberény, {STREETS[(i + 1) % len(STREETS)]} {i + 10}.",
        "m8": f"{1000 + i}/{i % 7 + 1}",
        "m9": "kert; gyümölcsös" if i % 5 == 0 else "kert",
        "m10": f"{i},5",
        "m11": str(1990 + i % 16),
        "m27": str(1000 + 37 * i),
        "m28": str(10 * i),
        "m30": str(i),
        "m31": str(2 * i),
        "m32": "0",
        "m33": str(i % 3),
        "m34": f"{i % 4},25",
        "m35": "0",
        "m39": f"2005.{i % 12 + 1:02}.{i % 28 + 1:02}",
        "m40": NAMES[(i + 2) % len(NAMES)],
        "m41": f"Sopron, {STREETS[i % len(STREETS)]} 5.",
        "m42": NAMES[(i + 3) % len(NAMES)],
        "m43": f"06-99-{100 + i}-456",
    }
    # Remarks: none, one line, several lines with quotes and separators.
    if i % 3 == 1:
        fields["m44"] = f"Első sor {i}: árvíztűrő tükörfúrógép.\nMásodik; \"idézett\" sor.\n\nNegyedik sor."
    elif i % 3 == 2:
        fields["m44"] = f"Egy sor ({i})."
    # Co-owners: none (block left out), some, all three.
    for b, keys in enumerate(BLOCKS):
        if b < i % 4:
            fields[keys[0]] = f"{NAMES[(i + b) % len(NAMES)]} társ{b + 1}"
            fields[keys[1]] = f"Győr, {STREETS[b]} {b + 1}."
            fields[keys[2]] = TAX_NUMBERS[(i + b) % 4]
            fields[keys[3]] = TAX_IDS[(i + b + 1) % 4]
            fields[keys[4]] = f"1/{b + 2}"
    choices = {g: (i + k) % (count + 1) - 1 for k, (g, count) in enumerate(GROUPS.items())}
    with open(f"{folder}/d{i:02}.tkd", "w", encoding="utf-8") as f:
        json.dump({"choices": choices, "fields": fields, "format": "telekado-bevallas", "version": 1},
                  f, ensure_ascii=False, indent=4)
