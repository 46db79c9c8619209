#!/usr/bin/env python3
"""Pixels of one screenshot (import -depth 8 ppm:FILE), which takes seconds to grab.

  screenpixels.py FILE near|far R G B X Y [X Y ...]  every pixel within 24 per channel
                                                     of the colour (near), or none (far)
  screenpixels.py FILE find R G B X Y DX DY          prints the first X (or Y) along
                                                     the line whose pixel is near
"""
import sys

path, mode, *numbers = sys.argv[1:]
with open(path, "rb") as f:
    data = f.read()
width, height = (int(n) for n in data.split(maxsplit=3)[1:3])
body = data[-width * height * 3:]  # the pixels end the file, after a header of text
want, rest = [int(n) for n in numbers[:3]], [int(n) for n in numbers[3:]]


def near(x, y):
    i = (y * width + x) * 3
    return 0 <= x < width and 0 <= y < height and all(abs(body[i + c] - want[c]) <= 24 for c in range(3))


if mode == "find":
    x, y, dx, dy = rest
    while 0 <= x < width and 0 <= y < height and not near(x, y):
        x, y = x + dx, y + dy
    if 0 <= x < width and 0 <= y < height:
        print(x if dx else y)
    sys.exit(0)
bad = [(x, y) for x, y in zip(rest[0::2], rest[1::2]) if near(x, y) != (mode == "near")]
sys.exit("pixels not %s the colour: %s" % (mode, bad) if bad else 0)
