#!/usr/bin/env python3
"""Reads a declaration code's payload as documented, without the program: "TKD1P" LF TAX LF JSON,
or "TKD1Z" BASE45(4-byte length + zlib(TAX LF JSON)).

  code_payload.py PAYLOAD_FILE DECLARATION.tkd

Exits 0 when the payload carries the declaration file's fields and choices (those the code
leaves out being as on an untouched form, which the file must then hold too).
"""
import json
import sys
import zlib

ALPHABET = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:"


def base45(text):
    out = bytearray()
    for i in range(0, len(text), 3):
        chunk = text[i:i + 3]
        n = sum(ALPHABET.index(c) * 45 ** k for k, c in enumerate(chunk))
        out += n.to_bytes(2 if len(chunk) == 3 else 1, "big")
    return bytes(out)


def main():
    payload = open(sys.argv[1], "rb").read().decode("utf-8")
    if payload.startswith("TKD1P\n"):
        data = payload[6:]
    elif payload.startswith("TKD1Z"):
        packed = base45(payload[5:])
        data = zlib.decompress(packed[4:]).decode("utf-8")
        assert len(data.encode("utf-8")) == int.from_bytes(packed[:4], "big"), "length header"
    else:
        sys.exit(f"not a declaration code: {payload[:20]!r}")
    tax, _, body = data.partition("\n")
    told = json.loads(body)
    whole = json.load(open(sys.argv[2], encoding="utf-8"))
    for key, value in told.get("fields", {}).items():
        if whole["fields"].get(key) != value:
            sys.exit(f"{key}: {value!r} in the code, {whole['fields'].get(key)!r} in the file")
    for key, value in told.get("choices", {}).items():
        if whole["choices"].get(key) != value:
            sys.exit(f"{key}: {value} in the code, {whole['choices'].get(key)} in the file")
    print(f"tax {tax}; {len(told.get('fields', {}))} fields and {len(told.get('choices', {}))} choices told")


if __name__ == "__main__":
    main()
