#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Quilvoro developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Draws the heavy logo with Cairo as a script would: the turned text into an A8 mask once, then
# one mask paint per shadow layer (farthest first, each a device pixel further to the lower
# right) and the face, written with Cairo's own PNG writer (its zlib level is fixed).
# Transparent, the layers keep their colours over nothing: fading them out instead (the source
# operator at falling opacity) takes pixman off its fast path, several times slower.
# Usage: cairo-logo.py SCALE opaque|transparent OUT.png [DEPTH]

import math
import os
import sys

from logo import HERE, FAMILY, Logo

# Cairo finds faces by name: let it see only the faces the tests see, so the name gives FACE.
os.environ.setdefault("FONTCONFIG_FILE",
                      os.path.join(HERE, "..", "..", "tests", "support", "fonts.conf"))
import cairo  # noqa: E402  (after the font configuration is chosen)


def place_text(cr, logo):
    """Sets the path of the caption, its cell centred on the preview and turned about it."""
    width, height = logo.size
    cr.select_font_face(FAMILY)
    cr.set_font_size(logo.pixels)
    ascent, descent = cr.font_extents()[:2]
    advance = cr.text_extents(logo.text).x_advance
    cr.translate(width / 2, height / 2)
    cr.rotate(-math.radians(logo.angle))
    cr.move_to(-advance / 2, -(ascent + descent) / 2 + ascent)
    cr.text_path(logo.text)


def draw_mask(logo):
    """The caption's coverage over the part that the picture or some layer can show."""
    n = logo.layers
    width, height = logo.size
    probe = cairo.Context(cairo.ImageSurface(cairo.FORMAT_A8, 1, 1))
    place_text(probe, logo)
    probe.identity_matrix()
    x1, y1, x2, y2 = probe.fill_extents()
    left, top = max(-n, math.floor(x1)), max(-n, math.floor(y1))
    right, bottom = min(width, math.ceil(x2)), min(height, math.ceil(y2))
    mask = cairo.ImageSurface(cairo.FORMAT_A8, max(1, right - left), max(1, bottom - top))
    cr = cairo.Context(mask)
    cr.translate(-left, -top)
    place_text(cr, logo)
    cr.fill()
    return mask, left, top


def main():
    logo = Logo(sys.argv)
    mask, left, top = draw_mask(logo)
    surface = cairo.ImageSurface(cairo.FORMAT_ARGB32 if logo.transparent else cairo.FORMAT_RGB24,
                                 *logo.size)
    cr = cairo.Context(surface)
    if not logo.transparent:
        cr.set_source_rgb(*(c / 255 for c in logo.background))
        cr.paint()
    for k in range(logo.layers, 0, -1):
        cr.set_source_rgb(*(c / 255 for c in logo.layer_colour(k)))
        cr.mask_surface(mask, left + k, top + k)
    cr.set_source_rgb(*(c / 255 for c in logo.face))
    cr.mask_surface(mask, left, top)
    surface.write_to_png(logo.output)


main()
