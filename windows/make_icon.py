#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tarvelo developers
#
# Packs square PNG images into one Windows icon file, each image stored as
# the PNG it is, as Windows reads icons from Vista on.
#
#   make_icon.py <out.ico> <image.png> ...
import struct
import sys

out, *images = sys.argv[1:]
pngs = [open(image, "rb").read() for image in images]
entries, offset = b"", 6 + 16 * len(pngs)
for png in pngs:
    width, height = struct.unpack(">II", png[16:24])  # from the IHDR chunk
    # 256 px is written as 0; 32 bits a pixel.
    entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(png), offset)
    offset += len(png)
with open(out, "wb") as ico:
    ico.write(struct.pack("<HHH", 0, 1, len(pngs)) + entries + b"".join(pngs))
