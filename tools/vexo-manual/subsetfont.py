#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#
# subsetfont.py FONTFILE INDEX TEXTFILE FAMILY OUTPUT: a copy of one face of a font (a .ttc
# collection needs INDEX) that maps only the characters of TEXTFILE and printable ASCII, under a
# family name of its own.
#
# Why: CJK fonts draw an ideograph and its Kangxi radical with one glyph. A PDF names the
# character of a glyph once, and the lower code point (the radical) wins, so text copied or
# searched from the PDF would read radicals. Without the radicals in the font, the ideograph wins.
# The same holds for control characters, which share the space's glyph.
#
# The language forms ('locl') go too: for Chinese text they replace digits with glyphs that no
# character maps to, so a PDF cannot name their character and "IPv4" would copy as "IPv". The
# face chosen is the Simplified Chinese one, whose own forms are the ones the manual needs.
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

font_file, index, text_file, family, output = sys.argv[1:6]
with open(text_file, encoding="utf-8") as f:
    text = f.read()
chars = {ord(c) for c in text} | set(range(0x20, 0x7F))
# Radicals and their supplement never stay in: they are what the ideographs would read as.
chars = {c for c in chars if not (0x2E80 <= c <= 0x2FDF)}
chars = {c for c in chars if c >= 0x20}

font = TTFont(font_file, fontNumber=int(index))
features = set()
for table in ("GSUB", "GPOS"):
    if table in font:
        features |= {record.FeatureTag for record in font[table].table.FeatureList.FeatureRecord}
options = subset.Options()
options.layout_features = sorted(features - {"locl"})
options.name_IDs = ["*"]
options.notdef_outline = True
subsetter = subset.Subsetter(options)
subsetter.populate(unicodes=chars)
subsetter.subset(font)

style = font["name"].getDebugName(2) or "Regular"
for record in font["name"].names:
    if record.nameID in (1, 16):
        record.string = family
    elif record.nameID == 4:
        record.string = f"{family} {style}"
    elif record.nameID == 6:
        record.string = f"{family}-{style}".replace(" ", "")
font.save(output)
