#!/usr/bin/python3
"""Writes the browser edition's fonts.css: the faces a sheet is drawn with,
cut down to the characters of a sheet's figures and fixed texts (those of
web/font_metrics.inc), as WOFF2 inside the CSS, so that a page opened from a
file needs no fetch.  Usage: web_fonts.py OUT.css"""
import base64
import io
import re
import subprocess
import sys
from pathlib import Path

from fontTools import subset
from fontTools.ttLib import TTFont

# The CSS family of each face, and the installed family it is cut from.
FACES = [
    ("TavelinMincho", "IPAMincho"),
    ("TavelinGothic", "IPAGothic"),
    ("TavelinUD", "BIZ UDGothic:style=Regular"),
    ("TavelinKlee", "Klee One:style=Regular"),
]


def sheet_characters(table: Path) -> str:
    text = table.read_text(encoding="utf-8")
    others = {int(code, 16) for code in re.findall(r"\{0x([0-9A-F]{4}),", text)}
    return "".join(chr(c) for c in sorted(set(range(0x20, 0x7F)) | others))


def font_file(family: str) -> str:
    return subprocess.run(["fc-match", "-f", "%{file}", family], check=True, capture_output=True, text=True).stdout


def woff2(path: str, characters: str) -> bytes:
    options = subset.Options()
    options.flavor = "woff2"
    options.layout_features = ["*"]
    options.name_IDs = ["*"]
    options.hinting = False
    options.notdef_outline = True
    font = TTFont(path, fontNumber=0)
    subsetter = subset.Subsetter(options)
    subsetter.populate(text=characters)
    subsetter.subset(font)
    out = io.BytesIO()
    font.flavor = "woff2"
    font.save(out)
    return out.getvalue()


def main() -> None:
    root = Path(__file__).resolve().parent.parent
    characters = sheet_characters(root / "web" / "font_metrics.inc")
    css = ["/* The faces of the sheets, cut to the characters they draw (made by scripts/web_fonts.py). */"]
    for family, installed in FACES:
        data = base64.b64encode(woff2(font_file(installed), characters)).decode("ascii")
        css.append(f'@font-face {{ font-family: "{family}"; src: url(data:font/woff2;base64,{data}) format("woff2"); }}')
    Path(sys.argv[1]).write_text("\n".join(css) + "\n", encoding="utf-8")


if __name__ == "__main__":
    main()
