#!/usr/bin/env python3
"""Builds the engine's stroke font (font.dat) from the Hershey simplex roman
glyphs (rowmans.jhf of the hershey-fonts-data package).

The file holds 256 glyph records, one per byte code, little-endian:
  int32 N (256), then per code: double left, double right, int32 strokes K,
  per stroke int32 points M and M pairs of doubles (x, y).
Units are those of the character box: capital letters are one unit high and
stand on the baseline at y = -0.55, so that they reach y = 0.45; x runs in character widths, scaled so that the
usual character width of 1.31 heights keeps Hershey's proportions; x = 0 is
the glyph's centre, left and right give the spacing to its neighbours. Codes without a glyph have K = 0, left = right = 0.

Printable ASCII comes from the Hershey glyphs; the Latin-1 letters are the
base letter with accent strokes added; the remaining Latin-1 signs and the
codes 1 (diameter) and 2 (degree) are drawn here from strokes.
"""

import argparse
import math
import struct
import sys

# Hershey units: capitals run from y = -12 (top) to 9 (baseline), y downward.
CAP_TOP = -12.0
BASELINE = 9.0
CAP_HEIGHT = BASELINE - CAP_TOP
X_HEIGHT_TOP = -5.0
# Text is given a character width of about 1.31 heights for its usual
# style (the width factors drawings are converted with centre there): at
# that width the glyphs keep the proportions Hershey drew them with.
NATURAL_WIDTH_FACTOR = 1.31
BOX_WIDTH = CAP_HEIGHT * NATURAL_WIDTH_FACTOR
# The character box's origin lies 0.55 text heights above the baseline: the
# engine's alignment offsets (top -0.5 h, middle +0.075 h, bottom +0.85 h)
# then put the capitals' top, their middle and the descenders' bottom on the
# reference point (descenders reach 0.33 h below the baseline).
BOX_BASELINE = -0.55


class Glyph:
    """Strokes in Hershey units (y downward) with left and right bearings."""

    def __init__(self, left, right, strokes):
        self.left = float(left)
        self.right = float(right)
        self.strokes = [[(float(x), float(y)) for x, y in s] for s in strokes if s]

    def copy(self):
        return Glyph(self.left, self.right, [list(s) for s in self.strokes])

    def ink(self):
        points = [p for s in self.strokes for p in s]
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        return min(xs), min(ys), max(xs), max(ys)

    def centre_x(self):
        x0, _, x1, _ = self.ink()
        return (x0 + x1) / 2.0

    def moved(self, dx, dy):
        return Glyph(self.left + dx, self.right + dx,
                     [[(x + dx, y + dy) for x, y in s] for s in self.strokes])

    def scaled(self, factor, about_y=BASELINE):
        return Glyph(self.left * factor, self.right * factor,
                     [[(x * factor, about_y + (y - about_y) * factor) for x, y in s]
                      for s in self.strokes])

    def turned(self):
        """Half a turn about the centre of its capital box."""
        cy = (CAP_TOP + BASELINE) / 2.0
        return Glyph(-self.right, -self.left,
                     [[(-x, 2 * cy - y) for x, y in s] for s in self.strokes])

    def plus(self, *strokes):
        out = self.copy()
        out.strokes.extend([[(float(x), float(y)) for x, y in s] for s in strokes if s])
        return out


def parse_jhf(path):
    """Glyphs of a .jhf file in file order; a record may continue on
    following lines until it holds its announced number of pairs."""
    records = []
    pending = ""
    with open(path, encoding="latin-1") as source:
        for line in source:
            line = line.rstrip("\r\n")
            pending = pending + line if pending else line
            if len(pending) < 8:
                continue
            pairs = int(pending[5:8])
            if len(pending) >= 8 + 2 * pairs:
                records.append(pending[8:8 + 2 * pairs])
                pending = ""
    glyphs = []
    for data in records:
        left = ord(data[0]) - ord("R")
        right = ord(data[1]) - ord("R")
        strokes = [[]]
        for k in range(2, len(data) - 1, 2):
            if data[k:k + 2] == " R":
                strokes.append([])
            else:
                strokes[-1].append((ord(data[k]) - ord("R"), ord(data[k + 1]) - ord("R")))
        glyphs.append(Glyph(left, right, strokes))
    return glyphs


# --- Shapes drawn here -----------------------------------------------------------------


def arc(cx, cy, rx, ry, start_deg, end_deg, steps=16):
    points = []
    for i in range(steps + 1):
        a = math.radians(start_deg + (end_deg - start_deg) * i / steps)
        points.append((cx + rx * math.cos(a), cy - ry * math.sin(a)))
    return points


def circle(cx, cy, r, steps=24):
    return arc(cx, cy, r, r, 0, 360, steps)


def dot(x, y, r=1.0):
    return [(x, y - r), (x - r, y), (x, y + r), (x + r, y), (x, y - r)]


# Accent strokes relative to (centre x, bottom of the accent), y downward.
ACCENTS = {
    "grave": [[(-1.5, -3.0), (1.5, 0.0)]],
    "acute": [[(1.5, -3.0), (-1.5, 0.0)]],
    "circumflex": [[(-3.0, 0.0), (0.0, -3.0), (3.0, 0.0)]],
    "tilde": [[(-3.5, 0.0), (-2.5, -1.5), (-1.2, -2.0), (1.2, -0.5), (2.5, -1.0), (3.5, -2.0)]],
    "diaeresis": [dot(-2.5, -1.0), dot(2.5, -1.0)],
    "ring": [circle(0.0, -1.8, 1.8, 12)],
}
LOWER_ACCENT_BOTTOM = -7.5
UPPER_ACCENT_BOTTOM = -14.0


def accented(base, accent, upper):
    bottom = UPPER_ACCENT_BOTTOM if upper else LOWER_ACCENT_BOTTOM
    cx = base.centre_x()
    strokes = [[(cx + x, bottom + y) for x, y in s] for s in ACCENTS[accent]]
    return base.plus(*strokes)


def with_cedilla(base):
    cx = base.centre_x()
    return base.plus([(cx, BASELINE), (cx, BASELINE + 1.5), (cx + 1.8, BASELINE + 2.5),
                      (cx + 1.0, BASELINE + 4.0), (cx - 1.5, BASELINE + 4.0)])


def with_slash(base, top):
    x0, _, x1, _ = base.ink()
    return base.plus([(x0 - 1.0, BASELINE + 1.5), (x1 + 1.0, top - 1.5)])


def dotless(glyph):
    out = glyph.copy()
    out.strokes = [s for s in out.strokes if max(y for _, y in s) > -6.0]
    return out


def small(glyph, raise_to):
    """A superscript: the glyph at 0.55 of its size with its baseline at raise_to."""
    return glyph.scaled(0.55).moved(0.0, raise_to - BASELINE)


def make_font(hershey):
    ascii_glyphs = {32 + i: g for i, g in enumerate(hershey) if 32 + i < 127}
    font = {}
    for code, glyph in ascii_glyphs.items():
        if code != 32 and glyph.strokes:
            font[code] = glyph
    g = lambda ch: ascii_glyphs[ord(ch)]

    # The simplex set draws '^' as an arrow and '~' as a double wave: a
    # text caret and tilde are what text means by them.
    font[ord("^")] = Glyph(-7, 7, [[(-4, -6), (0, -11), (4, -6)]])
    font[ord("~")] = Glyph(-8, 8, [[(-5, 1), (-4, -1), (-2, -2), (0, -1), (2, 0), (4, -1), (5, -3)]])

    # Codes the translator writes for %%c and %%d; 176 is the Latin-1 degree.
    font[1] = Glyph(-11, 11, [circle(0.0, -1.5, 7.0), [(-9.0, 8.0), (9.0, -11.0)]])
    degree = Glyph(-5, 5, [circle(0.0, -9.0, 2.5, 16)])
    font[2] = degree
    font[176] = degree

    # Latin-1 signs.
    exclam = g("!").turned()
    font[161] = exclam
    font[162] = g("c").plus([(g("c").centre_x(), -8.0), (g("c").centre_x(), 12.0)])
    font[163] = Glyph(-9, 9, [[(4, -10), (3, -11.5), (1, -12), (-1, -11.5), (-2.5, -10), (-3, -7),
                               (-3, 5), (-4, 8), (-5, 9), (6, 9)], [(-6, -2), (3, -2)]])
    font[164] = Glyph(-9, 9, [circle(0, -1.5, 4.0), [(-6, -7.5), (-3, -4.5)], [(6, -7.5), (3, -4.5)],
                              [(-6, 4.5), (-3, 1.5)], [(6, 4.5), (3, 1.5)]])
    font[165] = g("Y").plus([(-5, 0), (5, 0)], [(-5, 3.5), (5, 3.5)])
    font[166] = Glyph(-4, 4, [[(0, -14), (0, -3)], [(0, 1), (0, 12)]])
    s_small = g("s").scaled(0.8)
    font[167] = Glyph(-8, 8, s_small.moved(0, -5.5).strokes + s_small.moved(0, 0.5).strokes)
    font[168] = Glyph(-5, 5, [dot(-2.5, -11.0), dot(2.5, -11.0)])
    font[169] = Glyph(-13, 13, [circle(0, -1.5, 10.5, 32)] + small(g("C"), 5.0).strokes)
    font[170] = Glyph(-7, 7, small(g("a"), -4.0).strokes + [[(-4, -2), (4, -2)]])
    chevrons = lambda d: [[(-1.5 * d - 2 * d, -5), (-1.5 * d - 5 * d, -1.5), (-1.5 * d - 2 * d, 2)],
                          [(1.5 * d - 2 * d, -5), (1.5 * d - 5 * d, -1.5), (1.5 * d - 2 * d, 2)]]
    font[171] = Glyph(-9, 9, [[(x + 3.5, y) for x, y in s] for s in chevrons(1)])
    font[187] = Glyph(-9, 9, [[(x - 3.5, y) for x, y in s] for s in chevrons(-1)])
    font[172] = Glyph(-11, 11, [[(-8, -2), (8, -2), (8, 3)]])
    font[173] = g("-")
    font[174] = Glyph(-13, 13, [circle(0, -1.5, 10.5, 32)] + small(g("R"), 5.0).strokes)
    font[175] = Glyph(-7, 7, [[(-5, -14), (5, -14)]])
    font[177] = Glyph(-13, 13, [[(0, -9), (0, 3)], [(-9, -3), (9, -3)], [(-9, 9), (9, 9)]])
    font[178] = small(g("2"), -4.0)
    font[179] = small(g("3"), -4.0)
    font[180] = Glyph(-5, 5, [[(x, y - 11.0) for x, y in s] for s in ACCENTS["acute"]])
    mu = g("u").copy()
    mu.strokes[0] = [(mu.ink()[0], 16.0)] + mu.strokes[0]
    font[181] = mu
    font[182] = Glyph(-9, 9, [[(1, -12), (1, 9)], [(5, -12), (5, 9)],
                              [(6, -12), (-2, -12), (-5, -11), (-6, -8), (-5, -5), (-2, -4), (1, -4)]])
    font[183] = Glyph(-5, 5, [dot(0, -2)])
    font[184] = Glyph(-5, 5, with_cedilla(Glyph(-5, 5, [dot(0, BASELINE, 0.01)])).strokes[1:])
    font[185] = small(g("1"), -4.0)
    font[186] = Glyph(-7, 7, small(g("o"), -4.0).strokes + [[(-4, -2), (4, -2)]])
    fraction = lambda top: Glyph(-14, 14, small(g("1"), -2.0).moved(-6, 0).strokes +
                                 [[(6, -12), (-6, 9)]] + small(g(top), 9.0).moved(6, 0).strokes)
    font[188] = fraction("4")
    font[189] = fraction("2")
    three_quarters = fraction("4")
    three_quarters.strokes = small(g("3"), -2.0).moved(-6, 0).strokes + three_quarters.strokes[1:]
    font[190] = three_quarters
    font[191] = g("?").turned()

    # Latin-1 letters: base letter and accent.
    letters = {
        192: ("A", "grave"), 193: ("A", "acute"), 194: ("A", "circumflex"), 195: ("A", "tilde"),
        196: ("A", "diaeresis"), 197: ("A", "ring"),
        200: ("E", "grave"), 201: ("E", "acute"), 202: ("E", "circumflex"), 203: ("E", "diaeresis"),
        204: ("I", "grave"), 205: ("I", "acute"), 206: ("I", "circumflex"), 207: ("I", "diaeresis"),
        209: ("N", "tilde"),
        210: ("O", "grave"), 211: ("O", "acute"), 212: ("O", "circumflex"), 213: ("O", "tilde"),
        214: ("O", "diaeresis"),
        217: ("U", "grave"), 218: ("U", "acute"), 219: ("U", "circumflex"), 220: ("U", "diaeresis"),
        221: ("Y", "acute"),
        224: ("a", "grave"), 225: ("a", "acute"), 226: ("a", "circumflex"), 227: ("a", "tilde"),
        228: ("a", "diaeresis"), 229: ("a", "ring"),
        232: ("e", "grave"), 233: ("e", "acute"), 234: ("e", "circumflex"), 235: ("e", "diaeresis"),
        236: ("i", "grave"), 237: ("i", "acute"), 238: ("i", "circumflex"), 239: ("i", "diaeresis"),
        241: ("n", "tilde"),
        242: ("o", "grave"), 243: ("o", "acute"), 244: ("o", "circumflex"), 245: ("o", "tilde"),
        246: ("o", "diaeresis"),
        249: ("u", "grave"), 250: ("u", "acute"), 251: ("u", "circumflex"), 252: ("u", "diaeresis"),
        253: ("y", "acute"), 255: ("y", "diaeresis"),
    }
    for code, (base, accent) in letters.items():
        glyph = g(base)
        if base == "i":
            glyph = dotless(glyph)
        font[code] = accented(glyph, accent, base.isupper())

    font[198] = Glyph(-11, 12, [[(-10, 9), (0, -12), (10, -12)], [(0, -12), (0, 9), (10, 9)],
                                [(0, -2), (8, -2)], [(-6.2, 1), (0, 1)]])
    a, e = g("a"), g("e")
    font[230] = Glyph(a.left - 4, e.right + 4, a.moved(-4, 0).strokes + e.moved(4, 0).strokes)
    font[199] = with_cedilla(g("C"))
    font[231] = with_cedilla(g("c"))
    d = g("D")
    stem = d.ink()[0]
    font[208] = d.plus([(stem - 3, -1.5), (stem + 4, -1.5)])
    font[215] = Glyph(-9, 9, [[(-5, -6.5), (5, 3.5)], [(5, -6.5), (-5, 3.5)]])
    font[216] = with_slash(g("O"), CAP_TOP)
    font[248] = with_slash(g("o"), X_HEIGHT_TOP)
    font[222] = Glyph(-11, 10, [[(-7, -12), (-7, 9)],
                                [(-7, -7), (2, -7), (5, -6), (6, -5), (7, -3), (7, 0), (6, 2), (5, 3),
                                 (2, 4), (-7, 4)]])
    p = g("p").copy()
    p.strokes[0] = [(p.strokes[0][0][0], CAP_TOP)] + p.strokes[0][1:]
    font[254] = p
    font[223] = Glyph(-10, 9, [[(-6, 9), (-6, -7), (-5, -10), (-3, -11.5), (0, -12), (2, -11.5),
                                (3.5, -10), (3.5, -7.5), (2.5, -5.5), (-1, -4), (2.5, -3), (4.5, -1),
                                (5.5, 1.5), (5.5, 4.5), (4.5, 7), (2.5, 8.5), (0, 9), (-2, 8.5)]])
    o = g("o")
    font[240] = o.plus([(o.ink()[2] - 0.5, -1.0), (o.ink()[2] - 1.5, -6.0), (-1.0, -12.0)],
                       [(-2.5, -8.0), (3.5, -11.5)])
    font[247] = Glyph(-13, 13, [[(-9, 0), (9, 0)], dot(0, -5), dot(0, 5)])
    return font


def to_box(glyph):
    """Hershey units to character-box units: the capital height becomes 1
    and the baseline BOX_BASELINE; along the line, one unit is the character
    width, which callers give as a width factor times the height."""
    convert = lambda x, y: (x / BOX_WIDTH, BOX_BASELINE + (BASELINE - y) / CAP_HEIGHT)
    return (glyph.left / BOX_WIDTH, glyph.right / BOX_WIDTH,
            [[convert(x, y) for x, y in s] for s in glyph.strokes])


def write_font(font, path, count=256):
    out = bytearray(struct.pack("<i", count))
    for code in range(count):
        glyph = font.get(code)
        if glyph is None or not glyph.strokes:
            out += struct.pack("<ddi", 0.0, 0.0, 0)
            continue
        left, right, strokes = to_box(glyph)
        out += struct.pack("<ddi", left, right, len(strokes))
        for stroke in strokes:
            out += struct.pack("<i", len(stroke))
            for x, y in stroke:
                out += struct.pack("<dd", x, y)
    with open(path, "wb") as target:
        target.write(out)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--hershey", required=True, help="path of rowmans.jhf")
    parser.add_argument("--output", required=True, help="font file to write")
    args = parser.parse_args()
    try:
        hershey = parse_jhf(args.hershey)
    except OSError as error:
        sys.exit(f"make_font: cannot read {args.hershey}: {error.strerror}")
    if len(hershey) < 95:
        sys.exit(f"make_font: {args.hershey} holds {len(hershey)} glyphs, expected 96")
    write_font(make_font(hershey), args.output)


if __name__ == "__main__":
    main()
