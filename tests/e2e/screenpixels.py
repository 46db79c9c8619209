#!/usr/bin/env python3
"""Reads pixels of a screenshot saved as binary PPM (import -depth 8 ppm:FILE).

  screenpixels.py FILE near R G B X Y [X Y ...]   true when every pixel is within
                                                  24 per channel of the colour
  screenpixels.py FILE far R G B X Y [X Y ...]    true when none is
  screenpixels.py FILE find R G B X Y DX DY       prints the first X (DX) or Y (DY)
                                                  along the line from X Y whose
                                                  pixel is near, or nothing
A failed look-up names the pixel on standard error. One screenshot serves many
look-ups; grabbing a large screen takes seconds.
"""
import sys


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields = []
    at = 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        end = at
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[at:end])
        at = end
    if fields[0] != b"P6" or fields[3] != b"255":
        sys.exit("not an 8-bit binary PPM: %s" % path)
    return int(fields[1]), int(fields[2]), data[at + 1:]


def pixel(image, x, y):
    width, height, body = image
    if not (0 <= x < width and 0 <= y < height):
        return None
    i = (y * width + x) * 3
    return tuple(body[i:i + 3])


def near(image, x, y, want):
    found = pixel(image, x, y)
    return found is not None and all(abs(a - b) <= 24 for a, b in zip(found, want))


def main(args):
    image = read_ppm(args[0])
    mode, want, numbers = args[1], tuple(map(int, args[2:5])), list(map(int, args[5:]))
    if mode == "find":
        x, y, dx, dy = numbers
        while pixel(image, x, y) is not None:
            if near(image, x, y, want):
                print(x if dx else y)
                return 0
            x, y = x + dx, y + dy
        return 0
    for x, y in zip(numbers[0::2], numbers[1::2]):
        if near(image, x, y, want) != (mode == "near"):
            print("pixel (%d, %d) is %s" % (x, y, pixel(image, x, y)), file=sys.stderr)
            return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
