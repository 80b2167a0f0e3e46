#!/usr/bin/env python3
"""Draws Zarvi's board squares, pieces and program icon.

Writes src/ui/resources/bitmaps/*.bmp (60x60, 24-bit) and
src/ui/resources/zarvi.ico (32x32, 256 colours). The outputs are committed,
so the build never needs to run this; run it again after changing the art:

    python3 scripts/draw-art.py

Standard library only, and deterministic: the same script always writes the
same bytes, so regenerating without changes leaves git clean.

Every piece is a list of shapes in a 60x60 unit box (y grows downwards):
filled parts, painted back to front, whose union gets one outer outline, plus
detail lines and dots inside. Shapes are rasterised at SS x SS samples per
pixel and averaged down for anti-aliasing.
"""

import math
import os
import struct

SIZE = 60          # square size in pixels
SS = 6             # samples per pixel along each axis
BASE = 52.5        # every piece stands on this line

LIGHT_SQUARE = (238, 216, 176)
DARK_SQUARE = (181, 136, 99)

OUTLINE_HALF = 0.75    # half width of the silhouette outline, in pixels
SEAM_WIDTH = 1.2       # width of inner lines, in units

# Fill shading runs from the lit left side to the shaded right side.
STYLES = {
    "B": dict(outline=(34, 28, 24), detail=(34, 28, 24),
              lit=(255, 254, 248), shade=(208, 196, 174), span=(19.0, 44.0)),
    "N": dict(outline=(8, 8, 8), detail=(222, 216, 204),
              lit=(104, 100, 96), shade=(30, 30, 32), span=(17.0, 36.0)),
}


# ---------------------------------------------------------------- geometry

def ellipse(cx, cy, rx, ry, n=64, a0=0.0, a1=2 * math.pi):
    """Points on an ellipse (or an arc of it when a0/a1 are given)."""
    full = abs(a1 - a0 - 2 * math.pi) < 1e-9
    count = n if full else n + 1
    step = (a1 - a0) / n
    return [(cx + rx * math.cos(a0 + i * step), cy + ry * math.sin(a0 + i * step))
            for i in range(count)]


def circle(cx, cy, r, n=48):
    return ellipse(cx, cy, r, r, n)


def rrect(x0, y0, x1, y1, r, n=6):
    """Rectangle with rounded corners."""
    pts = []
    for cx, cy, a in ((x1 - r, y0 + r, -math.pi / 2), (x1 - r, y1 - r, 0.0),
                      (x0 + r, y1 - r, math.pi / 2), (x0 + r, y0 + r, math.pi)):
        pts += ellipse(cx, cy, r, r, n, a, a + math.pi / 2)
    return pts


class Path:
    """Polyline builder with Bezier segments, flattened to points."""

    def __init__(self, x, y):
        self.pts = [(x, y)]

    def line(self, x, y):
        self.pts.append((x, y))
        return self

    def curve(self, x1, y1, x2, y2, x, y, n=14):
        x0, y0 = self.pts[-1]
        for i in range(1, n + 1):
            t = i / n
            u = 1 - t
            self.pts.append((u * u * u * x0 + 3 * u * u * t * x1 + 3 * u * t * t * x2 + t * t * t * x,
                             u * u * u * y0 + 3 * u * u * t * y1 + 3 * u * t * t * y2 + t * t * t * y))
        return self


def symmetric(left):
    """Closed outline from its left half (top to bottom), mirrored about x=30."""
    right = [(60 - x, y) for x, y in reversed(left)]
    return left + right


def plinth(half_top, half_bottom, top, bottom=BASE):
    """Footing: a slab with a gently rounded top."""
    return (Path(30 - half_bottom, bottom)
            .line(30 - half_bottom, bottom - 1.0)
            .curve(30 - half_bottom, top + 0.6, 30 - half_top - 1.0, top, 30 - half_top, top)
            .line(30 + half_top, top)
            .curve(30 + half_top + 1.0, top, 30 + half_bottom, top + 0.6, 30 + half_bottom, bottom - 1.0)
            .line(30 + half_bottom, bottom).pts)


def base(width=34.0):
    """The two-step footing every piece stands on."""
    return [
        ("part", plinth(width / 2 - 3.5, width / 2 - 1.5, 43.5, 47.6), True),
        ("part", rrect(30 - width / 2, 47.0, 30 + width / 2, BASE, 1.6), True),
    ]


# ------------------------------------------------------------------ pieces
# Ops, painted in order (later ops hide the inner lines of earlier ones):
#   ("part", points, seam)  filled part; seam draws its edge as an inner line
#   ("line", points, width) inner line
#   ("dot", points)         inner filled shape in the line colour

def pawn():
    body = symmetric(Path(22.5, 44.5).curve(24.5, 38.0, 26.5, 33.0, 26.8, 27.5).pts)
    return [
        ("part", body, False),
        *base(32.0),
        ("part", ellipse(30, 27.8, 8.0, 2.6), True),
        ("part", circle(30, 19.6, 7.4), True),
    ]


def rook():
    top = [(16.5, 21.0), (16.5, 9.5), (22.2, 9.5), (22.2, 13.5), (27.2, 13.5), (27.2, 9.5),
           (32.8, 9.5), (32.8, 13.5), (37.8, 13.5), (37.8, 9.5), (43.5, 9.5), (43.5, 21.0)]
    body = symmetric([(19.8, 21.0), (18.6, 44.0)])
    return [
        ("part", body, False),
        ("line", [(19.4, 29.0), (40.6, 29.0)], SEAM_WIDTH * 0.8),
        ("line", [(19.1, 36.5), (40.9, 36.5)], SEAM_WIDTH * 0.8),
        ("line", [(30.0, 29.0), (30.0, 36.5)], SEAM_WIDTH * 0.8),
        ("line", [(24.5, 21.0), (24.5, 29.0)], SEAM_WIDTH * 0.8),
        ("line", [(35.5, 21.0), (35.5, 29.0)], SEAM_WIDTH * 0.8),
        ("line", [(24.5, 36.5), (24.5, 44.0)], SEAM_WIDTH * 0.8),
        ("line", [(35.5, 36.5), (35.5, 44.0)], SEAM_WIDTH * 0.8),
        *base(34.0),
        ("part", rrect(17.8, 19.0, 42.2, 23.6, 1.0), True),
        ("part", top, True),
    ]


def bishop():
    body = symmetric(Path(21.5, 44.5).curve(24.0, 40.0, 26.5, 37.0, 26.8, 33.0).pts)
    mitre = (Path(30.0, 11.0)
             .curve(25.5, 14.5, 21.2, 20.5, 22.2, 26.0)
             .curve(22.8, 29.5, 25.0, 31.5, 30.0, 31.5)
             .curve(35.0, 31.5, 37.2, 29.5, 37.8, 26.0)
             .curve(38.8, 20.5, 34.5, 14.5, 30.0, 11.0).pts)
    return [
        ("part", body, False),
        *base(32.0),
        ("part", ellipse(30, 33.0, 9.0, 2.6), True),
        ("part", circle(30, 9.4, 2.7), True),
        ("part", mitre, True),
        ("line", [(27.6, 24.0), (34.2, 17.0)], 1.7),
        ("line", [(25.0, 29.0), (35.0, 29.0)], SEAM_WIDTH * 0.8),
    ]


def queen():
    crown = [(20.0, 35.0), (13.0, 17.0), (21.5, 27.5), (21.8, 13.5), (27.2, 26.2), (30.0, 11.5),
             (32.8, 26.2), (38.2, 13.5), (38.5, 27.5), (47.0, 17.0), (40.0, 35.0)]
    body = symmetric(Path(19.5, 44.5).curve(21.0, 41.0, 21.5, 38.0, 20.5, 35.0).pts)
    ops = [
        ("part", crown, False),
        ("part", body, False),
        *base(34.0),
        ("part", ellipse(30, 35.6, 10.6, 2.5), True),
    ]
    for x, y in ((13.0, 16.0), (21.8, 12.4), (30.0, 10.2), (38.2, 12.4), (47.0, 16.0)):
        ops.append(("part", circle(x, y, 2.5), True))
    return ops


def king():
    body = symmetric(Path(20.5, 44.5).curve(22.5, 40.0, 25.0, 35.0, 25.2, 29.0).pts)
    # Flared crown with a domed top: the dome arc, then both flanks.
    flanks = symmetric(Path(20.5, 19.0).curve(21.5, 23.0, 24.5, 25.5, 25.5, 29.0).pts)
    cup = Path(39.5, 19.0).curve(36.0, 16.0, 24.0, 16.0, 20.5, 19.0).pts + flanks[1:-1]
    cross = [(28.5, 5.0), (31.5, 5.0), (31.5, 8.2), (34.7, 8.2), (34.7, 11.2), (31.5, 11.2),
             (31.5, 17.0), (28.5, 17.0), (28.5, 11.2), (25.3, 11.2), (25.3, 8.2), (28.5, 8.2)]
    return [
        ("part", body, False),
        ("part", cross, False),
        *base(34.0),
        ("part", ellipse(30, 29.6, 9.5, 2.6), True),
        ("part", cup, True),
        ("line", Path(22.6, 23.0).curve(26.0, 22.0, 34.0, 22.0, 37.4, 23.0).pts, SEAM_WIDTH * 0.8),
    ]


def knight():
    back = (Path(29.5, 9.0)
            .curve(37.0, 10.0, 43.5, 15.5, 45.5, 24.0)      # crest
            .curve(47.0, 31.0, 46.0, 38.5, 43.0, 44.5).pts)  # back of the neck
    head = (Path(18.5, 44.5)
            .curve(18.5, 40.0, 21.0, 36.5, 25.5, 32.5)      # chest, front of the neck
            .curve(24.5, 31.0, 21.5, 31.2, 18.5, 32.2)      # under the jaw
            .curve(16.0, 33.0, 12.5, 33.0, 11.2, 31.0)      # chin
            .curve(10.0, 29.0, 9.8, 26.8, 11.5, 25.2)       # muzzle
            .curve(14.5, 22.0, 18.0, 16.5, 21.5, 12.2)      # nose bridge, forehead
            .line(25.5, 5.2)                                # ear
            .curve(27.5, 6.5, 28.8, 7.8, 29.5, 9.0).pts
            + back[1:])
    # The mane: tufts standing out along the crest and the back of the neck.
    mane = []
    tufts = back[2:-7]
    for k in range(len(tufts) - 1):
        (x0, y0), (x1, y1) = tufts[k], tufts[k + 1]
        nx, ny = y1 - y0, -(x1 - x0)
        ln = math.hypot(nx, ny)
        out = 3.0 if k % 3 == 1 else 0.2
        mane.append((x0 + nx / ln * out, y0 + ny / ln * out))
    mane += [(38.0, 38.0), (33.0, 14.0)]
    return [
        ("part", mane, False),
        ("part", head, True),
        ("line", Path(25.5, 32.5).curve(26.2, 29.0, 25.5, 26.0, 22.5, 24.0).pts, SEAM_WIDTH * 0.8),
        ("line", [(11.0, 30.0), (15.0, 29.8)], SEAM_WIDTH * 0.8),
        ("line", Path(31.0, 11.5).curve(37.0, 13.5, 41.5, 20.0, 42.5, 28.0).pts, SEAM_WIDTH * 0.8),
        ("dot", ellipse(21.6, 17.0, 2.1, 1.4)),
        ("dot", circle(13.6, 26.6, 1.0)),
        *base(33.0),
    ]


PIECES = {"P": pawn, "C": knight, "A": bishop, "T": rook, "D": queen, "R": king}


# ------------------------------------------------------------- rasteriser

class Raster:
    """Masks at SS samples per pixel for one picture of n x n pixels.

    Shapes are given in art units; scale and offset map units to pixels.
    """

    def __init__(self, n, scale=1.0, dx=0.0, dy=0.0):
        self.w = n * SS
        self.scale = scale * SS
        self.dx = dx * SS
        self.dy = dy * SS

    def mask(self):
        return bytearray(self.w * self.w)

    def _map(self, pts):
        return [(x * self.scale + self.dx, y * self.scale + self.dy) for x, y in pts]

    def fill(self, pts):
        """Even-odd scanline fill, sampled at sample centres."""
        m = self.mask()
        pts = self._map(pts)
        edges = []
        for i in range(len(pts)):
            (x0, y0), (x1, y1) = pts[i], pts[(i + 1) % len(pts)]
            if y0 != y1:
                edges.append((x0, y0, x1, y1))
        ys = [p[1] for p in pts]
        j0 = max(0, int(math.floor(min(ys))))
        j1 = min(self.w - 1, int(math.ceil(max(ys))))
        for j in range(j0, j1 + 1):
            yc = j + 0.5
            xs = []
            for x0, y0, x1, y1 in edges:
                if (y0 <= yc < y1) or (y1 <= yc < y0):
                    xs.append(x0 + (yc - y0) * (x1 - x0) / (y1 - y0))
            xs.sort()
            row = j * self.w
            for k in range(0, len(xs) - 1, 2):
                a = max(0, math.ceil(xs[k] - 0.5))
                b = min(self.w, math.ceil(xs[k + 1] - 0.5))
                if b > a:
                    m[row + a:row + b] = b'\x01' * (b - a)
        return m

    def stroke(self, pts, width, closed=False):
        """Round-capped polyline of the given width in units."""
        m = self.mask()
        pts = self._map(pts)
        hw = width * self.scale / 2
        segs = list(zip(pts, pts[1:]))
        if closed:
            segs.append((pts[-1], pts[0]))
        for (x0, y0), (x1, y1) in segs:
            vx, vy = x1 - x0, y1 - y0
            ll = vx * vx + vy * vy
            i0 = max(0, int(min(x0, x1) - hw))
            i1 = min(self.w - 1, int(max(x0, x1) + hw) + 1)
            j0 = max(0, int(min(y0, y1) - hw))
            j1 = min(self.w - 1, int(max(y0, y1) + hw) + 1)
            for j in range(j0, j1 + 1):
                py = j + 0.5
                row = j * self.w
                for i in range(i0, i1 + 1):
                    px = i + 0.5
                    t = 0.0 if ll == 0 else max(0.0, min(1.0, ((px - x0) * vx + (py - y0) * vy) / ll))
                    ex, ey = px - x0 - t * vx, py - y0 - t * vy
                    if ex * ex + ey * ey <= hw * hw:
                        m[row + i] = 1
        return m

    def band(self, m, radius):
        """Samples within radius (in pixels) of the edge of mask m."""
        w = self.w
        r = radius * SS
        ri = int(math.ceil(r))
        disc = [(di, dj) for dj in range(-ri, ri + 1) for di in range(-ri, ri + 1)
                if di * di + dj * dj <= r * r]
        out = self.mask()
        for j in range(w):
            row = j * w
            for i in range(w):
                v = m[row + i]
                edge = ((i + 1 < w and m[row + i + 1] != v) or (j + 1 < w and m[row + w + i] != v))
                if not edge:
                    continue
                # The edge lies between this sample and its right/lower neighbour.
                for di, dj in disc:
                    x, y = i + di, j + dj
                    if 0 <= x < w and 0 <= y < w:
                        out[y * w + x] = 1
        return out


def render_piece(ops, style, raster):
    """Paints a piece; returns per-pixel (r, g, b, coverage) sums."""
    filled = raster.mask()
    inner = raster.mask()
    for op in ops:
        kind = op[0]
        if kind == "part":
            part = raster.fill(op[1])
            for k, v in enumerate(part):
                if v:
                    filled[k] = 1
                    inner[k] = 0
            if op[2]:
                seam = raster.stroke(op[1], SEAM_WIDTH, closed=True)
                for k, v in enumerate(seam):
                    if v:
                        inner[k] = 1
        elif kind == "line":
            line = raster.stroke(op[1], op[2])
            for k, v in enumerate(line):
                if v:
                    inner[k] = 1
        elif kind == "dot":
            dot = raster.fill(op[1])
            for k, v in enumerate(dot):
                if v:
                    inner[k] = 1
    edge = raster.band(filled, OUTLINE_HALF)

    w = raster.w
    n = w // SS
    lit, shade = style["lit"], style["shade"]
    x0, x1 = style["span"]
    outline, detail = style["outline"], style["detail"]
    sums = [[0.0, 0.0, 0.0, 0] for _ in range(n * n)]
    for j in range(w):
        row = j * w
        for i in range(w):
            k = row + i
            if edge[k]:
                c = outline
            elif filled[k]:
                if inner[k]:
                    c = detail
                else:
                    ux = ((i + 0.5) / raster.scale) - raster.dx / raster.scale
                    t = min(1.0, max(0.0, (ux - x0) / (x1 - x0)))
                    t = t * t * (3 - 2 * t)
                    c = tuple(lit[q] + (shade[q] - lit[q]) * t for q in range(3))
            else:
                continue
            s = sums[(j // SS) * n + i // SS]
            s[0] += c[0]
            s[1] += c[1]
            s[2] += c[2]
            s[3] += 1
    return sums


def composite(sums, background):
    """Lays coverage sums over a flat background; returns rows of RGB."""
    total = SS * SS
    out = []
    for s in sums:
        rest = total - s[3]
        out.append(tuple(int(round((s[q] + background[q] * rest) / total)) for q in range(3)))
    return out


# ------------------------------------------------------------ file writers

def write_bmp(path, pixels, n):
    """24-bit bottom-up BI_RGB bitmap; pixels are top-down RGB rows."""
    stride = (n * 3 + 3) & ~3
    data = bytearray()
    for y in range(n - 1, -1, -1):
        row = bytearray()
        for x in range(n):
            r, g, b = pixels[y * n + x]
            row += bytes((b, g, r))
        row += b'\x00' * (stride - len(row))
        data += row
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, n, n, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def median_cut(colours, count):
    """Palette of at most count colours for the given list of RGB tuples."""
    boxes = [sorted(set(colours))]
    while len(boxes) < count:
        best = None
        for bi, box in enumerate(boxes):
            if len(box) < 2:
                continue
            spans = [max(c[q] for c in box) - min(c[q] for c in box) for q in range(3)]
            span = max(spans)
            if best is None or span > best[0]:
                best = (span, bi, spans.index(span))
        if best is None or best[0] == 0:
            break
        _, bi, axis = best
        box = sorted(boxes[bi], key=lambda c: (c[axis], c))
        half = len(box) // 2
        boxes[bi:bi + 1] = [box[:half], box[half:]]
    palette = []
    for box in boxes:
        palette.append(tuple(int(round(sum(c[q] for c in box) / len(box))) for q in range(3)))
    return palette


def write_ico(path, pixels, opaque, n):
    """One n x n, 8 bits per pixel image with a 256-entry palette."""
    palette = median_cut([p for p, o in zip(pixels, opaque) if o], 255)
    palette = [(0, 0, 0)] + palette          # index 0 for transparent pixels
    palette += [(0, 0, 0)] * (256 - len(palette))
    cache = {}

    def index(c):
        if c not in cache:
            cache[c] = min(range(1, 256), key=lambda k: (sum((palette[k][q] - c[q]) ** 2 for q in range(3)), k))
        return cache[c]

    xor = bytearray()
    mask = bytearray()
    xor_stride = (n + 3) & ~3
    and_stride = ((n + 31) // 32) * 4
    for y in range(n - 1, -1, -1):
        row = bytearray(xor_stride)
        bits = bytearray(and_stride)
        for x in range(n):
            k = y * n + x
            if opaque[k]:
                row[x] = index(pixels[k])
            else:
                bits[x // 8] |= 0x80 >> (x % 8)
        xor += row
        mask += bits
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    info = struct.pack("<IiiHHIIiiII", 40, n, n * 2, 1, 8, 0, len(xor) + len(mask), 0, 0, 256, 0)
    image = info + pal + xor + mask
    icondir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", n, n, 0, 0, 1, 8, len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(icondir + entry + image)


# ------------------------------------------------------------------- icon

def draw_icon():
    n = 32
    # Two by two board corner with rounded corners, a white knight on top.
    board = []
    for y in range(n):
        for x in range(n):
            board.append(LIGHT_SQUARE if (x < 16) == (y < 16) else DARK_SQUARE)
    raster = Raster(n, scale=0.55, dx=0.3, dy=0.2)
    sums = render_piece(knight(), STYLES["B"], raster)
    total = SS * SS
    pixels = []
    for k, s in enumerate(sums):
        rest = total - s[3]
        pixels.append(tuple(int(round((s[q] + board[k][q] * rest) / total)) for q in range(3)))
    # Frame and rounded corners.
    opaque = []
    for y in range(n):
        for x in range(n):
            cx = min(max(x + 0.5, 3.0), n - 3.0)
            cy = min(max(y + 0.5, 3.0), n - 3.0)
            d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
            opaque.append(d <= 3.0)
            if d > 2.0 or x == 0 or y == 0 or x == n - 1 or y == n - 1:
                pixels[y * n + x] = (70, 46, 28)
    return pixels, opaque, n


# ------------------------------------------------------------------- main

def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "ui", "resources")
    out_dir = os.path.join(root, "bitmaps")
    os.makedirs(out_dir, exist_ok=True)
    squares = {"B": LIGHT_SQUARE, "N": DARK_SQUARE}
    empty = [[0.0, 0.0, 0.0, 0]] * (SIZE * SIZE)
    for sq, bg in squares.items():
        write_bmp(os.path.join(out_dir, "CAS%s.bmp" % sq), composite(empty, bg), SIZE)
    for letter, make in PIECES.items():
        ops = make()
        for colour, style in STYLES.items():
            sums = render_piece(ops, style, Raster(SIZE))
            for sq, bg in squares.items():
                name = "%s%sCAS%s.bmp" % (letter, colour, sq)
                write_bmp(os.path.join(out_dir, name), composite(sums, bg), SIZE)
    pixels, opaque, n = draw_icon()
    write_ico(os.path.join(root, "zarvi.ico"), pixels, opaque, n)


if __name__ == "__main__":
    main()
