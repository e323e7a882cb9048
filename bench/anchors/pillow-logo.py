#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Quilvoro developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Draws the heavy logo with Pillow as a script would: the text into a mask once and turned, then
# the shadow's layers stacked by doubling (a block of layers and itself moved by its own length,
# log2 of the depth times) and the face, written as PNG at zlib level 1.
#
# The gradation fades toward the background, so the shadow is the background plus a weight times
# (shadow colour - background): a layer's weight is its coverage scaled down with its distance,
# the nearest layer wins, and a block moved by m layers is the block less m steps of weight.
# Usage: pillow-logo.py SCALE opaque|transparent OUT.png [DEPTH]

import sys

from PIL import Image, ImageChops, ImageDraw, ImageFont

from logo import FACE, Logo


def moved(image, d):
    """`image` moved d pixels right and down, black where nothing comes in."""
    width, height = image.size
    return image.crop((-d, -d, width - d, height - d))


def weakened(image, amount):
    amount = round(amount)
    return image.point(lambda v: max(0, v - amount)) if amount else image


def draw_mask(logo):
    """The caption's coverage on the picture grown by the depth up and left, whence layers come."""
    n = logo.layers
    width, height = logo.size
    font = ImageFont.truetype(FACE, logo.pixels)
    ascent, descent = font.getmetrics()
    cell = Image.new("L", (round(font.getlength(logo.text)), ascent + descent))
    ImageDraw.Draw(cell).text((0, 0), logo.text, fill=255, font=font)
    turned = cell.rotate(logo.angle, resample=Image.BICUBIC, expand=True)
    mask = Image.new("L", (width + n, height + n))
    mask.paste(turned, (n + (width - turned.width) // 2, n + (height - turned.height) // 2))
    return mask


def shadow_weight(logo, mask):
    """Max over layers k = 1 .. n of the mask moved k pixels at weight(k), by doubling."""
    n = logo.layers
    step = 255 / n
    block, length = moved(mask, 1), 1  # layers 1 .. length at full weight for the first
    shadow, placed = None, 0
    while True:
        if n & length:
            part = weakened(moved(block, placed), placed * step)
            shadow = part if shadow is None else ImageChops.lighter(shadow, part)
            placed += length
        if placed == n:
            return shadow
        block = ImageChops.lighter(block, weakened(moved(block, length), length * step))
        length *= 2


def main():
    logo = Logo(sys.argv)
    n = logo.layers
    mask = draw_mask(logo)
    box = (n, n, n + logo.size[0], n + logo.size[1])
    face = mask.crop(box)
    if logo.transparent:
        picture = Image.new("RGBA", logo.size, logo.shadow + (0,))
        if n:
            picture.putalpha(shadow_weight(logo, mask).crop(box))
        top = Image.new("RGBA", logo.size, logo.face + (0,))
        top.putalpha(face)
        picture = Image.alpha_composite(picture, top)
    else:
        picture = Image.new("RGB", logo.size, logo.background)
        if n:
            picture.paste(logo.shadow, (0, 0) + logo.size, shadow_weight(logo, mask).crop(box))
        picture.paste(logo.face, (0, 0) + logo.size, face)
    picture.save(logo.output, compress_level=1)


main()
