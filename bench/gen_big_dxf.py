#!/usr/bin/env python3
"""Writes a large AutoCAD 2000 DXF drawing for the reader benchmark.

The drawing holds lines, arcs, circles, points, solids and 3DFACEs spread
over several layers and linetypes (some entities with their own colour,
linetype scale or lineweight), in the group-code layout AutoCAD writes.
Usage: gen_big_dxf.py OUTPUT [MEGABYTES]
"""
import random
import sys

LAYERS = [("0", 7, "CONTINUOUS"), ("Walls", 1, "CONTINUOUS"), ("Axes", 5, "CENTER"),
          ("Hidden", 3, "DASHED"), ("Furniture", 30, "CONTINUOUS"), ("Dims", 140, "DASHED")]
LINETYPES = [("CONTINUOUS", []), ("DASHED", [0.5, -0.25]), ("CENTER", [1.25, -0.25, 0.25, -0.25])]


def pairs(out, *items):
    it = iter(items)
    for code, value in zip(it, it):
        out.append("%3d\n%s\n" % (code, value))


def header(out):
    pairs(out, 0, "SECTION", 2, "HEADER", 9, "$ACADVER", 1, "AC1015",
          9, "$TDCREATE", 40, "2451544.91568287", 9, "$TDUPDATE", 40, "2454091.895015729",
          9, "$TDINDWG", 40, "2.25", 9, "$MEASUREMENT", 70, "1", 0, "ENDSEC")


def tables(out):
    pairs(out, 0, "SECTION", 2, "TABLES", 0, "TABLE", 2, "LTYPE", 70, len(LINETYPES))
    for name, elements in LINETYPES:
        pairs(out, 0, "LTYPE", 5, "14", 100, "AcDbSymbolTableRecord", 100, "AcDbLinetypeTableRecord",
              2, name, 70, 0, 3, name.title(), 72, 65, 73, len(elements),
              40, "%g" % sum(abs(e) for e in elements))
        for e in elements:
            pairs(out, 49, "%g" % e, 74, 0)
    pairs(out, 0, "ENDTAB", 0, "TABLE", 2, "LAYER", 70, len(LAYERS))
    for name, color, linetype in LAYERS:
        pairs(out, 0, "LAYER", 5, "10", 100, "AcDbSymbolTableRecord", 100, "AcDbLayerTableRecord",
              2, name, 70, 0, 62, color, 6, linetype, 370, 25)
    pairs(out, 0, "ENDTAB", 0, "ENDSEC")


def common(out, rnd, kind, handle):
    layer = LAYERS[rnd.randrange(len(LAYERS))][0]
    pairs(out, 0, kind, 5, "%X" % handle, 330, "1F", 100, "AcDbEntity", 8, layer)
    pick = rnd.random()
    if pick < 0.1:
        pairs(out, 62, rnd.randrange(1, 256))
    elif pick < 0.15:
        pairs(out, 6, "DASHED", 48, "2.0")
    elif pick < 0.2:
        pairs(out, 370, 50)


def coord(rnd):
    return "%.6f" % rnd.uniform(-5000.0, 5000.0)


def entity(out, rnd, handle):
    kind = rnd.choice(["LINE", "LINE", "LINE", "ARC", "CIRCLE", "POINT", "SOLID", "3DFACE"])
    common(out, rnd, kind, handle)
    if kind == "LINE":
        pairs(out, 100, "AcDbLine", 10, coord(rnd), 20, coord(rnd), 30, "0.0",
              11, coord(rnd), 21, coord(rnd), 31, "0.0")
    elif kind == "CIRCLE":
        pairs(out, 100, "AcDbCircle", 10, coord(rnd), 20, coord(rnd), 30, "0.0",
              40, "%.6f" % rnd.uniform(0.1, 200.0))
    elif kind == "ARC":
        pairs(out, 100, "AcDbCircle", 10, coord(rnd), 20, coord(rnd), 30, "0.0",
              40, "%.6f" % rnd.uniform(0.1, 200.0))
        if rnd.random() < 0.1:
            pairs(out, 210, "0.0", 220, "0.0", 230, "-1.0")
        pairs(out, 100, "AcDbArc", 50, "%.4f" % rnd.uniform(0, 360), 51, "%.4f" % rnd.uniform(0, 360))
    elif kind == "POINT":
        pairs(out, 100, "AcDbPoint", 10, coord(rnd), 20, coord(rnd), 30, "0.0")
    else:
        subclass = "AcDbTrace" if kind == "SOLID" else "AcDbFace"
        x, y = rnd.uniform(-5000, 5000), rnd.uniform(-5000, 5000)
        size = rnd.uniform(1, 50)
        corners = [(x, y), (x + size, y), (x, y + size), (x + size, y + size)]
        pairs(out, 100, subclass)
        for i, (cx, cy) in enumerate(corners):
            pairs(out, 10 + i, "%.6f" % cx, 20 + i, "%.6f" % cy, 30 + i, "0.0")
        if kind == "3DFACE":
            pairs(out, 70, rnd.choice([0, 0, 0, 5, 15]))


def main():
    path = sys.argv[1]
    megabytes = float(sys.argv[2]) if len(sys.argv) > 2 else 24.0
    target = int(megabytes * 1024 * 1024)
    rnd = random.Random(20240501)
    out = []
    header(out)
    tables(out)
    pairs(out, 0, "SECTION", 2, "ENTITIES")
    size = sum(len(s) for s in out)
    handle = 0x100
    while size < target:
        chunk = []
        for _ in range(1000):
            entity(chunk, rnd, handle)
            handle += 1
        size += sum(len(s) for s in chunk)
        out.extend(chunk)
    pairs(out, 0, "ENDSEC", 0, "EOF")
    with open(path, "w", newline="\n") as f:
        f.writelines(out)
    print("%s: %.1f MB, %d entities" % (path, size / 1048576.0, handle - 0x100))


if __name__ == "__main__":
    main()
