#!/usr/bin/env python3
"""Reads a declaration PDF as the office reads it, through `pdftotext -bbox`.

  paper_words.py pairs PDF         prints, top to bottom, "LABEL<TAB>WORD" for every word that
                                   stands right of "adóazonositó száma:" and "adószáma:" on page 1
  paper_words.py place PDF WORD    prints "PAGE X Y" (points, from the paper's corner) of each
                                   occurrence of WORD
"""
import html
import re
import subprocess
import sys

WORD_RE = re.compile(
    r'<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">(.*?)</word>')


def pages(pdf):
    out = subprocess.run(["pdftotext", "-bbox", pdf, "-"], check=True, capture_output=True,
                         text=True).stdout
    result = []
    for page in out.split("<page ")[1:]:
        words = []
        for m in WORD_RE.finditer(page):
            x0, y0, x1, y1 = (float(v) for v in m.groups()[:4])
            words.append((x0, y0, x1, y1, html.unescape(m.group(5))))
        result.append(words)
    return result


def same_line(a, b):
    return abs((a[1] + a[3]) / 2 - (b[1] + b[3]) / 2) < 3


def right_of(words, label_end):
    """The nearest word right of the label's last word on its line."""
    candidates = [w for w in words if same_line(w, label_end) and w[0] > label_end[2]]
    return min(candidates, key=lambda w: w[0])[4] if candidates else "<none>"


def pairs(pdf):
    words = pages(pdf)[0]
    found = []
    for i, w in enumerate(words):
        if w[4] == "adószáma:":
            found.append((round(w[1] / 4), w[0], "adószáma:", right_of(words, w)))
        elif w[4] == "száma:" and i > 0 and words[i - 1][4] == "adóazonositó":
            found.append((round(w[1] / 4), w[0], "adóazonositó száma:", right_of(words, w)))
    for _, _, label, word in sorted(found):
        print(f"{label}\t{word}")


def place(pdf, wanted):
    for n, words in enumerate(pages(pdf), start=1):
        for w in words:
            if w[4] == wanted:
                print(f"{n} {w[0]:.2f} {w[1]:.2f}")


if __name__ == "__main__":
    if sys.argv[1] == "pairs":
        pairs(sys.argv[2])
    else:
        place(sys.argv[2], sys.argv[3])
