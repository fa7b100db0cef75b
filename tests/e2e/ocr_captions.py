#!/usr/bin/env python3
"""Finds every fixed caption of the printed template in what OCR read off the pages.

  ocr_captions.py TEMPLATE.xml OCR.txt...

OCR misreads a letter here and there, so each caption is matched by a fuzzy ratio against the
run of words of its own length at every place of the text; a caption cut by its box falls far
below the bar. Prints each caption with its best ratio; exits 1 when one is not found.
"""
import difflib
import re
import sys
import xml.etree.ElementTree as ET

BAR = 0.85


def captions(template):
    found = []
    for memo in ET.parse(template).iter():
        if memo.tag not in ("TrepMemoView",):
            continue
        text = memo.get("Text", "")
        if "[" in text:
            continue
        for line in text.replace("\r\n", "\n").split("\n"):
            if line.strip():
                found.append((memo.get("Name"), line.strip()))
    return found


def words(text):
    return re.sub(r"\s+", " ", text).strip().split(" ")


def best(caption, ocr):
    want = caption.split(" ")
    n = len(want)
    top = 0.0
    for size in range(max(1, n - 1), n + 2):
        for i in range(0, max(1, len(ocr) - size + 1)):
            ratio = difflib.SequenceMatcher(None, caption, " ".join(ocr[i:i + size])).ratio()
            top = max(top, ratio)
    return top


def main():
    ocr = words(" ".join(open(p, encoding="utf-8").read() for p in sys.argv[2:]))
    missing = 0
    for name, caption in captions(sys.argv[1]):
        ratio = best(caption, ocr)
        mark = "ok " if ratio >= BAR else "CUT"
        if ratio < BAR:
            missing += 1
        print(f"{mark} {ratio:.2f} {name}: {caption}")
    sys.exit(1 if missing else 0)


if __name__ == "__main__":
    main()
