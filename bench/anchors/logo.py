# SPDX-FileCopyrightText: 2026 The Quilvoro developers
# SPDX-License-Identifier: GPL-3.0-or-later

# What the anchor scripts share: the logo of bench/heavy.qvd (text, size, angle, depth, colours)
# as the preview draws it with the normal label and the gradation shadow towards the lower
# right, the command line they take, and the layer colours.

import math
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
FACE = "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf"
FAMILY = "IPAPGothic"  # the family of FACE, for libraries that find faces by name
PREVIEW = (592, 360)
PIXELS_PER_INCH = 96


def colour(word):
    """(r, g, b) of a colour as a logo file writes it: 0x00BBGGRR in decimal."""
    value = int(word)
    return (value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF)


class Logo:
    """The settings of one drawing, read from heavy.qvd and the command line."""

    def __init__(self, argv):
        if len(argv) not in (4, 5) or argv[2] not in ("opaque", "transparent"):
            sys.exit("usage: %s SCALE opaque|transparent OUT.png [DEPTH]" % argv[0])
        values = {}
        with open(os.path.join(HERE, "..", "heavy.qvd"), encoding="utf-8") as f:
            for line in f:
                key, sep, value = line.rstrip("\n").partition("=")
                if sep:
                    values[key] = value
        self.scale = int(argv[1])
        self.transparent = argv[2] == "transparent"
        self.output = argv[3]
        self.text = values.get("Label", "Tamrin - Quilvoro")
        # The size is in points on a 96 dpi screen; every device pixel of depth is a layer.
        self.pixels = round(int(values["Size"]) * PIXELS_PER_INCH / 72) * self.scale
        self.angle = int(values["Angle"])
        depth = int(argv[4]) if len(argv) == 5 else int(values["Depth"])
        self.layers = depth * self.scale
        self.face = colour(values["Color1"])
        self.shadow = colour(values["Color2"])
        self.background = colour(values["Color3"])
        self.size = (PREVIEW[0] * self.scale, PREVIEW[1] * self.scale)

    def layer_colour(self, k):
        """Layer k of 1 (nearest) .. layers fades from the shadow colour toward the background."""
        n = self.layers
        return tuple(math.trunc(a + (k - 1) * (b - a) / n)
                     for a, b in zip(self.shadow, self.background))
