#!/usr/bin/python3
"""Writes a realistic DXF drawing with ezdxf, an independent DXF writer.

The drawing is a grid of rooms, each holding what users draw in plans: walls
as bulged, wide LWPOLYLINEs, furniture as INSERTs of nested blocks with
ATTRIBs (some as rotated and scaled arrays), room names as TEXT, notes as
MTEXT with formatting codes, SPLINEs, ELLIPSEs, circles and lines on layers
with DASHED and CENTER linetypes, and ANSI31 pattern HATCHes, one with an
island. Usage: gen_mix_dxf.py OUTPUT MEGABYTES
"""
import math
import os
import random
import sys

import ezdxf

LAYERS = [("WALLS", 7, "Continuous"), ("AXES", 1, "CENTER"), ("HIDDEN", 3, "DASHED"),
          ("FURNITURE", 30, "Continuous"), ("TEXT", 2, "Continuous"), ("HATCH", 8, "DASHED"),
          ("CURVES", 5, "Continuous")]
ROOM = 10.0
# Bytes one room adds to the file, measured on a sample: rooms are added
# until the target size is reached.
SAMPLE_ROOMS = 200


def make_blocks(doc):
    leg = doc.blocks.new(name="LEG")
    leg.add_circle((0, 0), 0.05)
    leg.add_line((-0.05, 0), (0.05, 0))
    chair = doc.blocks.new(name="CHAIR")
    chair.add_lwpolyline([(0, 0), (0.5, 0), (0.5, 0.5), (0, 0.5)], close=True)
    chair.add_arc((0.25, 0.5), 0.25, 0, 180)
    for x, y in ((0.05, 0.05), (0.45, 0.05), (0.45, 0.45), (0.05, 0.45)):
        chair.add_blockref("LEG", (x, y))
    chair.add_attdef("SEAT", (0.1, 0.2), dxfattribs={"height": 0.1})
    table = doc.blocks.new(name="TABLE")
    table.add_lwpolyline([(0, 0), (1.6, 0), (1.6, 0.9), (0, 0.9)], close=True)
    table.add_ellipse((0.8, 0.45), major_axis=(0.5, 0), ratio=0.5)
    table.add_blockref("CHAIR", (0.1, -0.6))
    table.add_blockref("CHAIR", (1.0, -0.6))
    table.add_attdef("NUMBER", (0.2, 0.3), dxfattribs={"height": 0.2})


def add_room(msp, ox, oy, rnd, number):
    walls = {"layer": "WALLS"}
    # Outer walls with a door swing (bulge) and wide segments.
    msp.add_lwpolyline([(ox, oy, 0.2, 0.2, 0), (ox + 4, oy, 0, 0, 0.414), (ox + 5, oy, 0.2, 0.2, 0),
                        (ox + ROOM, oy, 0.2, 0.2, 0), (ox + ROOM, oy + ROOM, 0.2, 0.2, 0),
                        (ox, oy + ROOM, 0.2, 0.2, 0)], format="xyseb", close=True, dxfattribs=walls)
    msp.add_line((ox + ROOM / 2, oy), (ox + ROOM / 2, oy + ROOM), dxfattribs={"layer": "AXES"})
    msp.add_line((ox, oy + ROOM / 2), (ox + ROOM, oy + ROOM / 2), dxfattribs={"layer": "AXES"})
    msp.add_circle((ox + 8, oy + 8), 0.6 + rnd.random() * 0.3, dxfattribs={"layer": "HIDDEN"})
    msp.add_arc((ox + 2, oy + 8), 0.8, rnd.uniform(0, 90), rnd.uniform(180, 300), dxfattribs={"layer": "HIDDEN"})
    # Furniture: a table with chairs, and a row of chairs as an array insert.
    ref = msp.add_blockref("TABLE", (ox + 3, oy + 3), dxfattribs={"layer": "FURNITURE",
                                                                  "rotation": rnd.choice((0, 90, 135))})
    ref.add_auto_attribs({"NUMBER": "T%d" % number})
    row = msp.add_blockref("CHAIR", (ox + 6, oy + 1), dxfattribs={"layer": "FURNITURE", "xscale": 1.2,
                                                                 "yscale": 1.2})
    row.dxf.column_count = 3
    row.dxf.column_spacing = 0.8
    row.add_auto_attribs({"SEAT": "S%d" % number})
    msp.add_text("ROOM %d" % number, dxfattribs={"layer": "TEXT", "insert": (ox + 1, oy + 9), "height": 0.35})
    msp.add_mtext("{\\fArial|b1;Area:} %.1f m\\U+00B2\\P\\H0.7x;floor %d, finish %s" %
                  (ROOM * ROOM, number % 7, rnd.choice(("oak", "tile", "screed"))),
                  dxfattribs={"layer": "TEXT", "insert": (ox + 1, oy + 6.5), "char_height": 0.25, "width": 3.0})
    msp.add_spline([(ox + 1, oy + 1), (ox + 2, oy + 2.5), (ox + 3.5, oy + 1.2), (ox + 4.5, oy + 2.2)],
                   dxfattribs={"layer": "CURVES"})
    msp.add_ellipse((ox + 8, oy + 4), major_axis=(1.0, 0.3), ratio=0.4, start_param=0,
                    end_param=math.pi * 1.5, dxfattribs={"layer": "CURVES"})
    hatch = msp.add_hatch(dxfattribs={"layer": "HATCH"})
    hatch.set_pattern_fill("ANSI31", scale=0.5)
    hatch.paths.add_polyline_path([(ox + 6, oy + 6), (ox + 9, oy + 6), (ox + 9, oy + 7.5), (ox + 6, oy + 7.5)],
                                  is_closed=True, flags=1)
    hatch.paths.add_polyline_path([(ox + 7, oy + 6.5), (ox + 7.5, oy + 6.5), (ox + 7.5, oy + 7), (ox + 7, oy + 7)],
                                  is_closed=True, flags=16)


def build(path, rooms):
    doc = ezdxf.new("R2004", setup=True)
    for name, color, linetype in LAYERS:
        doc.layers.add(name, color=color, linetype=linetype)
    make_blocks(doc)
    msp = doc.modelspace()
    rnd = random.Random(1)
    side = max(1, int(math.ceil(math.sqrt(rooms))))
    for n in range(rooms):
        add_room(msp, (n % side) * ROOM * 1.2, (n // side) * ROOM * 1.2, rnd, n)
    doc.saveas(path)


def main():
    path, megabytes = sys.argv[1], float(sys.argv[2])
    build(path, SAMPLE_ROOMS)
    per_room = os.path.getsize(path) / SAMPLE_ROOMS
    rooms = max(1, int(megabytes * 1048576 / per_room))
    build(path, rooms)
    print("%s: %d rooms, %.1f MB" % (path, rooms, os.path.getsize(path) / 1048576.0))


if __name__ == "__main__":
    main()
