#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tarvelo developers
#
# Cuts a face down to the glyphs that the window draws and writes it as a
# web font (.woff2) or as TrueType (.ttf, which the Windows program
# carries), named after the game: a cut-down face is a modified version,
# and the faces' licences reserve their own names for the originals.
#
#   subset_font.py <face.ttf> <family> <texts file> <unicodes> <out.woff2|out.ttf>
#
# Run by Debian's python3, which python3-fonttools and python3-brotli
# serve.
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

face, family, texts, unicodes, out = sys.argv[1:]
options = subset.Options()
options.flavor = None if out.endswith(".ttf") else "woff2"
options.hinting = False
options.desubroutinize = True
options.name_IDs = [0, 1, 2, 3, 4, 5, 6, 13, 14]
options.drop_tables += ["FFTM"]  # a font editor's timestamps
# The face keeps its own time rather than the cutting's, so that two builds
# give the same bytes.
font = TTFont(face, recalcTimestamp=False)
with open(texts, encoding="utf-8") as text:
    wanted = set(map(ord, text.read())) | set(subset.parse_unicodes(unicodes))
cutter = subset.Subsetter(options)
cutter.populate(unicodes=wanted - {ord("\n")})
cutter.subset(font)

style = font["name"].getDebugName(2) or "Regular"
for record in font["name"].names:
    if record.nameID in (1, 16):
        record.string = family
    elif record.nameID in (4, 18):
        record.string = f"{family} {style}"
    elif record.nameID in (3, 6):
        record.string = f"{family} {style}".replace(" ", "-")
subset.save_font(font, out, options)
