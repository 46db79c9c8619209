#!/usr/bin/env python3
"""Prints what every filled cell of a Tessel map file stands for, one cell a line.

Usage: mapcells.py FILE.map

Each line is "layer x y | subtype | texture | lights", sorted, where layer is
the grid the cell is in, texture is the image's file name inside the map's
texture folder ("-" for Lightmap cells) and lights is
"emission,min,max,random,blink" ("-" for other layers). Cell values are only
keys into the "#Definitions" lines and differ between two saves of the same
map, so they are resolved and left out: two files that describe the same map
print the same lines. So is a definition line's own layer field: cells of
several layers with the same texture and subtype share one line, which names
the first of those layers.

The file is read strictly, as the editor writes it: CR LF line ends, one
empty line after each grid, every value defined, texture paths inside the
folder named after the map. Anything else is an error (exit status 2).
"""
import os
import sys


class MapError(Exception):
    pass


def split_lines(data):
    if not data.endswith(b"\r\n"):
        raise MapError("the last line does not end with CR LF")
    lines = data[:-2].split(b"\r\n")
    for number, line in enumerate(lines, 1):
        if b"\r" in line or b"\n" in line:
            raise MapError("line %d: a line end other than CR LF" % number)
    return [line.decode("utf-8") for line in lines]


def read_sections(lines):
    """Returns ({section: [[value, ...], ...]}, [definition line, ...])."""
    grids = {}
    definitions = None
    name = None
    rows = []
    for number, line in enumerate(lines, 1):
        if line.startswith("#"):
            if name is not None:
                raise MapError("line %d: header %r without an empty line before it" % (number, line))
            name = line[1:]
            rows = []
        elif name is None:
            raise MapError("line %d: %r outside any section" % (number, line))
        elif line == "":
            if name == "Definitions":
                raise MapError("line %d: empty line inside the definitions" % number)
            if name in grids:
                raise MapError("section %r appears twice" % name)
            grids[name] = rows
            name = None
        elif name == "Definitions":
            rows.append(line)
        else:
            if not line.endswith(","):
                raise MapError("line %d: grid row without its final comma" % number)
            rows.append(line[:-1].split(","))
    if name != "Definitions":
        raise MapError("the file does not end with the definitions section")
    definitions = rows
    widths = {len(row) for grid in grids.values() for row in grid}
    heights = {len(grid) for grid in grids.values()}
    if len(widths) > 1 or len(heights) > 1:
        raise MapError("grids of different sizes: widths %s, heights %s" % (sorted(widths), sorted(heights)))
    return grids, definitions


def resolve(path):
    data = open(path, "rb").read()
    grids, definition_lines = read_sections(split_lines(data))
    map_name = os.path.basename(path)
    if map_name.endswith(".map"):
        map_name = map_name[:-len(".map")]

    definitions = {}
    for line in definition_lines:
        fields = line.split(",")
        key, layer = fields[0], fields[1] if len(fields) > 1 else ""
        if key in definitions:
            raise MapError("definition %s appears twice" % key)
        if layer == "Lightmap":
            if len(fields) != 8:
                raise MapError("Lightmap definition with %d fields: %r" % (len(fields), line))
            subtype, texture = fields[2], "-"
            lights = ",".join(fields[3:8])
        else:
            if len(fields) != 4:
                raise MapError("definition with %d fields: %r" % (len(fields), line))
            subtype, lights = fields[2], "-"
            folder, _, texture = fields[3].rpartition("/")
            if folder != map_name:
                raise MapError("texture %r is not in the folder %r" % (fields[3], map_name))
        definitions[key] = (subtype, texture, lights)

    cells = []
    for section, rows in grids.items():
        for y, row in enumerate(rows):
            for x, value in enumerate(row):
                if value == "0":
                    continue
                if value not in definitions:
                    raise MapError("%s cell (%d, %d) holds %r, which has no definition" % (section, x, y, value))
                cells.append("%s %d %d | %s" % (section, x, y, " | ".join(definitions[value])))
    return sorted(cells)


def main(argv):
    if len(argv) != 2:
        sys.stderr.write(__doc__)
        return 2
    try:
        for cell in resolve(argv[1]):
            print(cell)
    except (MapError, OSError, UnicodeDecodeError) as error:
        sys.stderr.write("%s: %s\n" % (argv[1], error))
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
