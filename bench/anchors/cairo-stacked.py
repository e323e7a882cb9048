#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Quilvoro developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Writes the heavy logo as vectors the way a script would: the background, then one copy of the
# turned text per shadow layer (farthest first, each a pixel further to the lower right, in the
# layer's colour) and the face, as glyphs through Cairo's SVG or PDF surface. The file's suffix
# picks the surface.
# Usage: cairo-stacked.py SCALE opaque|transparent OUT.svg|OUT.pdf [DEPTH]

import math
import os
import sys

from logo import HERE, FAMILY, Logo

# Cairo finds faces by name: let it see only the faces the tests see.
os.environ.setdefault("FONTCONFIG_FILE",
                      os.path.join(HERE, "..", "..", "tests", "support", "fonts.conf"))
import cairo  # noqa: E402  (after the font configuration is chosen)


def main():
    logo = Logo(sys.argv)
    width, height = logo.size
    if logo.output.endswith(".pdf"):
        surface = cairo.PDFSurface(logo.output, width, height)
    else:
        surface = cairo.SVGSurface(logo.output, width, height)
        surface.set_document_unit(cairo.SVGUnit.PX)
    cr = cairo.Context(surface)
    if not logo.transparent:
        cr.set_source_rgb(*(c / 255 for c in logo.background))
        cr.paint()
    cr.select_font_face(FAMILY)
    cr.set_font_size(logo.pixels)
    ascent, descent = cr.font_extents()[:2]
    advance = cr.text_extents(logo.text).x_advance
    for k in range(logo.layers, -1, -1):
        colour = logo.layer_colour(k) if k > 0 else logo.face
        cr.set_source_rgb(*(c / 255 for c in colour))
        cr.save()
        cr.translate(width / 2 + k, height / 2 + k)
        cr.rotate(-math.radians(logo.angle))
        cr.move_to(-advance / 2, -(ascent + descent) / 2 + ascent)
        cr.show_text(logo.text)
        cr.restore()
    surface.finish()


main()
