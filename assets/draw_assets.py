#!/usr/bin/python3
"""Draws Qilo's window pictures, the HAND cursor and the MAINICON icon.

Run with Debian's Python 3 and python3-pil:  python3 assets/draw_assets.py
Every file is rebuilt from the pixel art and shapes below and written beside
this script. Nothing depends on installed fonts, so with the same Pillow the
output is the same bytes on every run.
"""

import io
import itertools
import math
import os
import struct

from PIL import Image, ImageDraw, ImageFilter, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
SLATE = (87, 117, 159)  # dark slate-blue of the window frame
BLUE_GREY = (203, 215, 227)
BAND_TOP = (219, 231, 239)  # title band gradient, top
BAND_BOTTOM = (244, 249, 250)  # title band gradient, bottom
BAND_LINE = (189, 212, 230)
TEAL = (0, 128, 128)
RED = (255, 0, 0)
GREEN = (0, 128, 0)
PEACH = (252, 237, 231)
ARROW_FRAME = (60, 62, 61)
DUSKY_RED = (204, 89, 89)


def lerp(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def from_art(rows, palette, background=WHITE):
    """Turns rows of characters into an RGB image; unknown characters are
    background."""
    img = Image.new("RGB", (len(rows[0]), len(rows)), background)
    for y, row in enumerate(rows):
        assert len(row) == img.width, (y, row)
        for x, ch in enumerate(row):
            if ch in palette:
                img.putpixel((x, y), palette[ch])
    return img


# --- file writers ----------------------------------------------------------


def bmp_bytes(img):
    """A 24-bit bottom-up BMP with a BITMAPINFOHEADER, rows padded to 4
    bytes."""
    img = img.convert("RGB")
    w, h = img.size
    stride = (w * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            r, g, b = img.getpixel((x, y))
            pixels += bytes((b, g, r))
        pixels += b"\0" * (stride - w * 3)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 3780,
                       3780, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0,
                       14 + len(info))
    return head + info + pixels


def mask_rows(bits, w, h):
    """Packs a w x h grid of 0/1 (bits[y][x]) into bottom-up 1-bit rows padded
    to 4 bytes, as icon and cursor bitmaps store them."""
    stride = ((w + 31) // 32) * 4
    out = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(w):
            if bits[y][x]:
                row[x // 8] |= 0x80 >> (x % 8)
        out += row
    return bytes(out)


def cur_bytes(images):
    """A Windows cursor holding each (outline, hot_x, hot_y): black where the
    outline is set, transparent elsewhere (XOR bit 0 with AND bit 0 is black;
    XOR 0 with AND 1 shows the screen)."""
    blobs = []
    for outline, hot_x, hot_y in images:
        h = len(outline)
        w = len(outline[0])
        xor = mask_rows([[0] * w for _ in range(h)], w, h)
        and_mask = mask_rows([[0 if v else 1 for v in row] for row in outline],
                             w, h)
        info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 1, 0,
                           len(xor) + len(and_mask), 0, 0, 2, 0)
        colours = bytes((0, 0, 0, 0, 255, 255, 255, 0))
        blobs.append((w, h, hot_x, hot_y, info + colours + xor + and_mask))
    out = struct.pack("<HHH", 0, 2, len(blobs))
    offset = 6 + 16 * len(blobs)
    for w, h, hot_x, hot_y, data in blobs:
        out += struct.pack("<BBBBHHII", w, h, 2, 0, hot_x, hot_y, len(data),
                           offset)
        offset += len(data)
    return out + b"".join(blob[-1] for blob in blobs)


def ico_bytes(images):
    """A Windows icon holding each image: up to 128 pixels as a 24-bit
    bitmap with an all-opaque AND mask, 256 as a PNG, as Windows stores its
    own."""
    blobs = []
    for img in images:
        w, h = img.size
        if w >= 256:
            blobs.append((w, h, 32, png_bytes(img.convert("RGBA"))))
            continue
        pixels = bmp_bytes(img)[54:]  # past the file and info headers
        # An icon's header counts the XOR and AND bitmaps together in its
        # height.
        info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 24, 0, 0, 0, 0, 0,
                           0)
        and_mask = mask_rows([[0] * w for _ in range(h)], w, h)
        blobs.append((w, h, 24, info + pixels + and_mask))
    out = struct.pack("<HHH", 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for w, h, bits, data in blobs:
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, bits,
                           len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, _, _, data in blobs)


def png_bytes(img):
    buf = io.BytesIO()
    img.save(buf, "PNG", optimize=True)
    return buf.getvalue()


# --- window pictures -------------------------------------------------------


def band_rows():
    """The 25 row colours of the title band, top to bottom."""
    rows = [SLATE, (252, 253, 254), (246, 249, 252)]
    steps = 20
    rows += [lerp(BAND_TOP, BAND_BOTTOM, i / (steps - 1)) for i in range(steps)]
    rows += [BAND_LINE, WHITE]
    return rows


def draw_title_band():
    img = Image.new("RGB", (27, 25))
    for y, colour in enumerate(band_rows()):
        for x in range(27):
            img.putpixel((x, y), colour)
    return img


def edge_inner_column():
    """The inner column of the edge strips: it picks up the title band's
    gradient where the band covers it and fades to the band's last tint."""
    return [lerp(BAND_TOP, BAND_BOTTOM, min(1.0, y / 4)) for y in range(29)]


def draw_edge(columns):
    """An edge strip from a column plan: 's' slate, 'b' blue-grey, 'i' the
    inner column."""
    img = Image.new("RGB", (len(columns), 29))
    inner = edge_inner_column()
    for x, kind in enumerate(columns):
        for y in range(29):
            colour = {"s": SLATE, "b": BLUE_GREY}.get(kind) or inner[y]
            img.putpixel((x, y), colour)
    return img


# Letters of the logo, 16 rows each: a bold "Q", "i", "l" and "o".
LOGO_Q = [
    "............",
    "..#######...",
    ".#########..",
    "###.....###.",
    "##.......##.",
    "##.......##.",
    "##.......##.",
    "##.......##.",
    "##.......##.",
    "##...##..##.",
    "###...####..",
    ".###...###..",
    "..#########.",
    "...#####.###",
    "..........##",
    "............",
]
LOGO_I = ["..", "##", "##", "..", ".."] + ["##"] * 9 + [".."] * 2
LOGO_L = [".."] + ["##"] * 13 + [".."] * 2
LOGO_O = [
    "........",
    "........",
    "........",
    "........",
    "........",
    "..####..",
    ".######.",
    "###..###",
    "##....##",
    "##....##",
    "##....##",
    "###..###",
    ".######.",
    "..####..",
    "........",
    "........",
]


def draw_logo():
    """ "Qi" in red and "lo" in green on white, the logo's transparent
    colour."""
    img = Image.new("RGB", (32, 16), WHITE)
    for art, left, colour in ((LOGO_Q, 1, RED), (LOGO_I, 15, RED),
                              (LOGO_L, 19, GREEN), (LOGO_O, 23, GREEN)):
        img.paste(from_art(art, {"#": colour}), (left, 0))
    return img


GLYPH_JI = [
    ".#.......#.....",
    "..#......#.....",
    "..##.....#.....",
    ".........#.....",
    ".........#.....",
    "###......#.....",
    "..#.##########.",
    "..#......#.....",
    "..#......#.....",
    "..#......#.....",
    "..#......#.....",
    "..#.#....#.....",
    "..##.....#.....",
    "..#......#.....",
    ".........#.....",
]

GLYPH_SUAN = [
    "..#......#.....",
    ".######.######.",
    "#..#...#...#...",
    "...............",
    "..###########..",
    "..#.........#..",
    "..###########..",
    "..#.........#..",
    "..###########..",
    "..#.........#..",
    "..###########..",
    "....#.....#....",
    "###############",
    "....#.....#....",
    "..##......#....",
]


def draw_calculate():
    img = Image.new("RGB", (48, 23), WHITE)
    d = ImageDraw.Draw(img)
    d.rectangle((0, 0, 47, 22), outline=SLATE)
    d.rectangle((1, 1, 46, 21), outline=BLUE_GREY)
    for glyph, left in ((GLYPH_JI, 8), (GLYPH_SUAN, 25)):
        img.paste(from_art(glyph, {"#": TEAL}), (left, 4))
    return img


ARROW_UP = [
    "#########",
    "#.......#",
    "#...X...#",
    "#..XXX..#",
    "#.XX.XX.#",
    "#.......#",
    "#.......#",
    "#########",
]


def draw_arrow(up):
    rows = ARROW_UP if up else ARROW_UP[::-1]
    return from_art(rows, {"#": ARROW_FRAME, ".": PEACH, "X": BLACK})


# --- window pictures at display scales -------------------------------------
#
# A desktop at 125, 150 or 200 % shows the window's pictures at that many
# device pixels per layout pixel. Bitmaps scaled up from the ones above would
# give a one-pixel line one or two device pixels by chance; these are drawn
# for each scale instead, every line and stroke on whole device pixels.

SCALES = (1.25, 1.5, 2)


def px(v):
    """v rounded half up to whole device pixels, as the window rounds the
    edges of its controls."""
    return int(math.floor(v + 0.5))


def line_width(s):
    """A one-pixel line at scale s: s device pixels rounded, 1 at 1.25, 2 at
    1.5 and 2. The title band starts one layout pixel in from the window's
    sides, at round(s): the edges' slate columns must be as wide to meet it."""
    return px(s)


def pen_width(s):
    """The stroke of the hand's outline at scale s: 1 up to 1.5, 2 at 2."""
    return max(1, int(s))


def scale_name(name, s):
    """logo.bmp at scale 1.5 is logo@1.5x.png."""
    return "%s@%sx.png" % (os.path.splitext(name)[0], ("%g" % s))


def draw_title_band_at(s):
    """The title band for scale s, as many rows as the band has device rows
    (24 s), so that it is shown row for row: the slate and light blue lines
    are line_width(s) rows, the other rows keep their share of the height and
    the gradient fills what is left with its own steps."""
    height = px(24 * s)
    line = line_width(s)
    rows = [SLATE] * line
    rows += [(252, 253, 254)] * (px(2 * s) - line)
    rows += [(246, 249, 252)] * (px(3 * s) - px(2 * s))
    white = height - px(23 * s)
    steps = height - len(rows) - line - white
    rows += [lerp(BAND_TOP, BAND_BOTTOM, i / (steps - 1)) for i in range(steps)]
    rows += [BAND_LINE] * line + [WHITE] * white
    img = Image.new("RGB", (px(27 * s), height))
    d = ImageDraw.Draw(img)
    for y, colour in enumerate(rows):
        d.line((0, y, img.width - 1, y), fill=colour)
    return img


def draw_edge_at(columns, s):
    """An edge strip for scale s, as many columns as the strip has device
    columns (round(width s)): the slate column is line_width(s) wide, the
    blue-grey pair round(2 s), the inner columns take the rest. Stretched
    only in height, its columns stay whole."""
    total = px(len(columns) * s)
    blue_grey = px(columns.count("b") * s)
    inner = total - line_width(s) - blue_grey
    plan = ""
    for kind in columns:
        if kind not in plan:
            plan += kind * {"s": line_width(s), "b": blue_grey, "i": inner}[kind]
    height = px(29 * s)
    img = Image.new("RGB", (total, height))
    for y in range(height):
        colours = {"s": SLATE, "b": BLUE_GREY,
                   "i": lerp(BAND_TOP, BAND_BOTTOM, min(1.0, y / (4 * s)))}
        for x, kind in enumerate(plan):
            img.putpixel((x, y), colours[kind])
    return img


def runs_of(line):
    """(start, length) of each run of one ink character ('.' is none)."""
    runs = []
    start = 0
    for i in range(1, len(line) + 1):
        if i == len(line) or line[i] != line[start]:
            if line[start] != ".":
                runs.append((start, i - start))
            start = i
    return runs


def stroke_widths(lines, s, strokes, mirror=False):
    """Device widths for the columns of bold pixel art whose rows are lines:
    each floor(s) or ceil(s), such that every run of ink whose art length is
    in strokes (art length: device length) comes out that long, so that the
    strokes of one art width all get one device width. Of those, the one
    whose column edges lie nearest the evenly scaled ones, symmetric where
    mirror asks and some choice is: (cost, widths). None when no choice keeps
    the strokes."""
    n = len(lines[0])
    runs = sorted({r for line in lines for r in runs_of(line) if r[1] in strokes})
    low = int(s)
    mean = round(n * (s - low))
    best = None
    for extra in range(max(0, mean - 2), min(n, mean + 2) + 1):
        for chosen in itertools.combinations(range(n), extra):
            widths = [low + (i in chosen) for i in range(n)]
            edges = list(itertools.accumulate(widths, initial=0))
            if any(edges[a + k] - edges[a] != strokes[k] for a, k in runs):
                continue
            cost = sum((e - i * s) ** 2 for i, e in enumerate(edges))
            symmetric = not mirror or widths == widths[::-1]
            if best is None or (symmetric, -cost) > (best[2], -best[0]):
                best = (cost, widths, symmetric)
    if best is None:
        return None
    return best[:2]


LOGO_LETTERS = ((LOGO_Q, 1, RED), (LOGO_I, 15, RED), (LOGO_L, 19, GREEN),
                (LOGO_O, 23, GREEN))


def stroke_sizes(s, lengths):
    """Every choice of device lengths for the art lengths given: each
    rounded down or up, shortest first."""
    choices = [sorted({int(k * s), math.ceil(k * s)}) for k in lengths]
    return [dict(zip(lengths, c)) for c in itertools.product(*choices)]


def bold_art(letters, size, s):
    """Bold pixel art redrawn for scale s on a transparent canvas of size
    times s, or more where the strokes need it; letters are (rows, left column, palette). The rows, which all
    letters share, and each letter's columns are widened by whole device
    pixels where that keeps the strokes even: every run of ink up to three
    art pixels long (stems and bars, corners, steps) comes out as long as
    the others of its length, across and along. A mirror-symmetric letter
    stays so where it can."""
    grid = [["."] * size[0] for _ in range(size[1])]
    for rows, left, palette in letters:
        for y, row in enumerate(rows):
            for x, ch in enumerate(row):
                if ch in palette:
                    grid[y][left + x] = ch
    columns = ["".join(row[x] for row in grid) for x in range(size[0])]
    lengths = sorted({k for line in columns + ["".join(r) for r in grid]
                      for _, k in runs_of(line) if k <= 3})
    best = None
    for strokes in stroke_sizes(s, lengths):
        axes = [stroke_widths(columns, s, strokes)]
        axes += [stroke_widths(rows, s, strokes,
                               all(r == r[::-1] for r in rows))
                 for rows, _, _ in letters]
        if None in axes:
            continue
        cost = sum(c for c, _ in axes)
        cost += sum((v - k * s) ** 2 for k, v in strokes.items())
        if best is None or cost < best[0]:
            best = (cost, [w for _, w in axes])
    assert best, s
    heights, *widths = best[1]
    ys = list(itertools.accumulate(heights, initial=0))
    places = [list(itertools.accumulate(letter, initial=px(left * s)))
              for (_, left, _), letter in zip(letters, widths)]
    assert all(a[-1] <= b[0] for a, b in zip(places, places[1:])), s
    img = Image.new("RGBA", (max(px(size[0] * s), places[-1][-1]),
                             max(px(size[1] * s), ys[-1])), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    for (rows, _, palette), xs in zip(letters, places):
        for y, row in enumerate(rows):
            for x, ch in enumerate(row):
                if ch in palette:
                    d.rectangle((xs[x], ys[y], xs[x + 1] - 1, ys[y + 1] - 1),
                                fill=palette[ch])
    return img


def draw_logo_at(s):
    """The logo for scale s, 32 s x 16 s: every stem and bar of its letters
    (two art pixels) equally wide."""
    art = bold_art([(rows, left, {"#": colour})
                    for rows, left, colour in LOGO_LETTERS], (32, 16), s)
    img = Image.new("RGB", (px(32 * s), px(16 * s)), WHITE)
    assert art.size == img.size, s
    img.paste(art, (0, 0), art)
    return img


def pen_places(n, s, mirror):
    """Where the pen stands for each of n art pixels at scale s; mirrored
    about the middle for a mirror-symmetric art."""
    places = [px(i * s) for i in range(n)]
    if mirror:
        far = places[-1] if n % 2 == 0 else 2 * places[n // 2]
        for i in range(n // 2):
            places[n - 1 - i] = far - places[i]
    return places


def pen_art(rows, s, palette, diagonals=False):
    """One-pixel line art redrawn for scale s, on a transparent canvas: each
    ink pixel becomes a pen_width(s) square at its place scaled and rounded,
    joined to the ink beside it in its row and column (and, with diagonals,
    to ink touching it only at a corner). Every stroke, however the rounding
    falls, is pen_width(s) pixels wide."""
    pen = pen_width(s)
    mirror = all(r == r[::-1] for r in rows)
    xs = pen_places(len(rows[0]), s, mirror)
    ys = pen_places(len(rows), s, False)
    img = Image.new("RGBA", (xs[-1] + pen, ys[-1] + pen), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    for y, row in enumerate(rows):
        for x, ch in enumerate(row):
            if ch not in palette:
                continue
            right = xs[x + 1] if row[x + 1:x + 2] == ch else xs[x]
            below = ys[y + 1] if y + 1 < len(rows) and rows[y + 1][x] == ch \
                else ys[y]
            d.rectangle((xs[x], ys[y], right + pen - 1, ys[y] + pen - 1),
                        fill=palette[ch])
            d.rectangle((xs[x], ys[y], xs[x] + pen - 1, below + pen - 1),
                        fill=palette[ch])
            if not diagonals or y + 1 == len(rows):
                continue
            for dx in (-1, 1):
                corner = x + dx
                if not 0 <= corner < len(row) or rows[y + 1][corner] != ch:
                    continue
                if row[corner] == ch or rows[y + 1][x] == ch:
                    continue  # already joined through a neighbour
                for o in range(pen):
                    d.line((xs[x] + o, ys[y], xs[corner] + o, ys[y + 1]),
                           fill=palette[ch])
    return img


def cell_edges(lines, s):
    """The device edges of the cells of one-pixel line art along one axis,
    lines being the art's lines across it. A cell that some stroke crosses
    (ink with no ink beside it along the line) is round(s) wide, so that
    every stroke is as wide as the others and none thinner than at 1.5 x
    rounded; the others take floor(s) or ceil(s), whichever keeps the edges
    nearest the evenly scaled ones. No cell is empty, so ink that touches,
    if only at a corner, still touches and a gap stays open."""
    n = len(lines[0])
    edges = [0]
    for i in range(n):
        crossed = any(line[i] != "." and (i == 0 or line[i - 1] == ".") and
                      (i + 1 == n or line[i + 1] == ".") for line in lines)
        if crossed:
            width = px(s)
        else:
            width = int(s) + (edges[-1] + int(s) < px((i + 1) * s))
        edges.append(edges[-1] + width)
    return edges


def line_art_at(rows, s, palette):
    """One-pixel line art redrawn for scale s on a transparent canvas, each
    art pixel a whole cell of cell_edges: the same shapes, strokes and gaps
    as at 1 x, every stroke one width."""
    columns = ["".join(row[x] for row in rows) for x in range(len(rows[0]))]
    xs = cell_edges(rows, s)
    ys = cell_edges(columns, s)
    img = Image.new("RGBA", (xs[-1], ys[-1]), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    for y, row in enumerate(rows):
        for x, ch in enumerate(row):
            if ch in palette:
                d.rectangle((xs[x], ys[y], xs[x + 1] - 1, ys[y + 1] - 1),
                            fill=palette[ch])
    return img


def framed(size, s, colours, face):
    """A face inside frames one line_width(s) each, outermost first. Auto-size
    pictures round their size down: they cover no more device pixels than
    their control does, wherever the window puts it."""
    img = Image.new("RGB", (int(size[0] * s), int(size[1] * s)), face)
    d = ImageDraw.Draw(img)
    line = line_width(s)
    for i, colour in enumerate(colours):
        inset = i * line
        d.rectangle((inset, inset, img.width - 1 - inset,
                     img.height - 1 - inset), outline=colour, width=line)
    return img


def draw_calculate_at(s):
    img = framed((48, 23), s, (SLATE, BLUE_GREY), WHITE)
    for glyph, left in ((GLYPH_JI, 8), (GLYPH_SUAN, 25)):
        art = line_art_at(glyph, s, {"#": TEAL})
        box = px((left + 15) * s) - px(left * s)
        img.paste(art, (px(left * s) + (box - art.width) // 2,
                        (img.height - art.height) // 2), art)
    return img


ARROW_CHEVRON = [row[2:7] for row in ARROW_UP[2:5]]


def chevron_at(s, room):
    """The arrow's chevron at a scale between whole ones: as at 1 x, arms two
    pixels wide across, one row down for each pixel out, round(3 s) rows
    where room (the width it may take) allows. Cells of 1 and 2 pixels would
    fill its notch: a blob, not an arrow."""
    rows = px(3 * s)
    while 2 * rows - 1 > room:
        rows -= 1
    img = Image.new("RGBA", (2 * rows - 1, rows), (0, 0, 0, 0))
    for y in range(rows):
        for x in range(img.width):
            if y - 1 <= abs(x - (rows - 1)) <= y:
                img.putpixel((x, y), BLACK + (255, ))
    return img


def draw_arrow_at(up, s):
    img = framed((9, 8), s, (ARROW_FRAME, ), PEACH)
    if s == int(s):
        chevron = line_art_at(ARROW_CHEVRON, s, {"X": BLACK})
    else:
        chevron = chevron_at(s, img.width - 2 * line_width(s) - 2)
    img.paste(chevron, ((img.width - chevron.width) // 2, px(2 * s)), chevron)
    return img if up else img.transpose(Image.FLIP_TOP_BOTTOM)


# --- hand cursor -----------------------------------------------------------

# The hand, '#' being the black outline; '.' marks the inside, which is as
# transparent as the outside.
HAND_ART = [
    " ####",
    "#....#",
    "#....#",
    "#....#",
    "#....#",
    "#....#",
    "#....#",
    "#....#",
    "#....# ##",
    "#....##..#",
    "#....#....###",
    "#....#....#..#",
    "#....#....#...###",
    "#....#....#...#..#",
    "#....#....#...#...#",
    "######....#...#...#",
    "#.....#.......#...#",
    "#......#..........#",
    "#......#..........#",
    "#.....#...........#",
    "######............#",
    " #...............#",
    " #...............#",
    "  #.............#",
    "   #...........#",
    "   #############",
    "   #...........#",
    "   #...........#",
    "   #############",
]


def hand_outline():
    rows = [r.ljust(32) for r in HAND_ART]
    rows += [" " * 32] * (32 - len(rows))
    return [[1 if ch == "#" else 0 for ch in row] for row in rows]


def hand_outline_at(s):
    """The hand redrawn for scale s (32 s pixels square) with a pen one
    device pixel wide (two at 2), and its hot spot: the art's (0, 10) at its
    scaled place."""
    rows = [r.ljust(32) for r in HAND_ART]
    rows += [" " * 32] * (32 - len(rows))
    art = pen_art(rows, s, {"#": BLACK}, diagonals=True)
    size = px(32 * s)
    assert art.size == (size, size), (s, art.size)
    bits = [[1 if art.getpixel((x, y))[3] else 0 for x in range(size)]
            for y in range(size)]
    return bits, 0, px(10 * s)


def hand_png(bits):
    size = len(bits)
    img = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    for y in range(size):
        for x in range(size):
            if bits[y][x]:
                img.putpixel((x, y), (0, 0, 0, 255))
    return img


# --- program icon ----------------------------------------------------------

S = 4  # supersampling factor of the icon


def spline(points, closed=False, samples=24):
    """Catmull-Rom curve through points; an open curve repeats its end
    points, a closed one wraps round."""
    if closed:
        pts = [points[-1]] + list(points) + list(points[:2])
    else:
        pts = [points[0]] + list(points) + [points[-1]]
    out = []
    for i in range(1, len(pts) - 2):
        p0, p1, p2, p3 = pts[i - 1], pts[i], pts[i + 1], pts[i + 2]
        for k in range(samples):
            t = k / samples
            t2, t3 = t * t, t * t * t
            out.append(
                tuple(0.5 * (2 * b + (c - a) * t +
                             (2 * a - 5 * b + 4 * c - d) * t2 +
                             (3 * b - a - 3 * c + d) * t3)
                      for a, b, c, d in zip(p0, p1, p2, p3)))
    if not closed:
        out.append(points[-1])
    return out


def stroke(d, points, r0, r1, fill):
    """A tapered limb: discs along a smooth path, radius r0 to r1."""
    path = spline(points)
    n = len(path) - 1
    for i, (x, y) in enumerate(path):
        r = (r0 + (r1 - r0) * i / n) * S
        d.ellipse((x * S - r, y * S - r, x * S + r, y * S + r), fill=fill)


def ellipse(d, cx, cy, rx, ry, angle, fill):
    """An ellipse turned by angle degrees, in icon pixels."""
    pts = []
    a = math.radians(angle)
    for k in range(72):
        t = 2 * math.pi * k / 72
        x, y = rx * math.cos(t), ry * math.sin(t)
        pts.append(((cx + x * math.cos(a) - y * math.sin(a)) * S,
                    (cy + x * math.sin(a) + y * math.cos(a)) * S))
    d.polygon(pts, fill=fill)


def outlined(canvas, mask, fill, width=1.25):
    """Paints mask in fill with a black outline about width pixels wide."""
    size = int(round(width * S)) * 2 + 1
    canvas.paste(BLACK, (0, 0), mask.filter(ImageFilter.MaxFilter(size)))
    canvas.paste(fill, (0, 0), mask)


# The bull's trunk and head, facing right with the head lowered; limbs, tail
# and horns are strokes added in draw_icon.
BULL_BODY = [
    (24, 44), (36, 38), (52, 34), (66, 26), (76, 21), (86, 24), (93, 33),
    (100, 42), (107, 54), (112, 63), (109, 70), (102, 70), (96, 65), (90, 67),
    (84, 71), (76, 71), (62, 67), (48, 64), (36, 62), (24, 58), (20, 50),
]


def smooth_polygon(d, points, fill):
    d.polygon([(x * S, y * S) for x, y in spline(points, closed=True)],
              fill=fill)


def draw_word(d, centre, top, height):
    """The product word, red "Qi" and green "lo", centred on column centre;
    drawn from bars and rings so that it needs no font."""
    sw = height * 0.2  # stroke width
    xh = height * 0.7  # x-height
    base = top + height
    q_w = height * 0.98
    o_w = xh * 1.02
    left = centre - (q_w + sw * 4.6 + o_w) / 2

    def ring(x0, y0, x1, y1, colour):
        d.ellipse((x0 * S, y0 * S, x1 * S, y1 * S), fill=colour)
        d.ellipse(((x0 + sw) * S, (y0 + sw) * S, (x1 - sw) * S, (y1 - sw) * S),
                  fill=WHITE)

    def bar(x0, y0, x1, y1, colour):
        d.rectangle((x0 * S, y0 * S, x1 * S - 1, y1 * S - 1), fill=colour)

    ring(left, top, left + q_w, base, RED)
    tail = [(left + q_w * 0.55, top + height * 0.68),
            (left + q_w * 0.98, base + height * 0.12)]
    d.line([(x * S, y * S) for x, y in tail], fill=RED, width=int(sw * S))
    x = left + q_w + sw * 0.7
    bar(x, base - xh, x + sw, base, RED)
    bar(x, top, x + sw, top + sw, RED)
    x += sw * 2
    bar(x, top, x + sw, base, GREEN)
    x += sw * 1.9
    ring(x, base - xh, x + o_w, base, GREEN)


def draw_icon_art(word=True, pixel=1.0):
    """The icon's picture without its border, at S times 128 pixels. pixel is
    how many of its 128 columns one column of the icon being drawn takes:
    outlines, streaks, tail and horns are made at least about that wide, so
    that a small icon shows them as lines rather than a grey haze."""
    big = Image.new("RGB", (128 * S, 128 * S), WHITE)
    d = ImageDraw.Draw(big)
    line = max(1.25, 0.9 * pixel)

    # Red streaks rising behind the bull, like a chart going up; a small icon
    # keeps the boldest alone.
    streaks = ((64, 5, (224, 32, 32)), (80, 4, (232, 72, 72)),
               (94, 3, (240, 120, 120)))
    for (y0, w, colour) in streaks[:1 if pixel > 3 else 3]:
        d.line((4 * S, y0 * S, 124 * S, (y0 - 64) * S), fill=colour,
               width=int(max(w, 1.2 * pixel) * S))
    d.rectangle((0, 86 * S, 128 * S, 128 * S), fill=WHITE)  # room for the word

    def thin(r):
        return max(r, 0.5 * pixel)

    size = big.size
    far = Image.new("L", size, 0)
    fd = ImageDraw.Draw(far)
    stroke(fd, [(72, 62), (74, 74), (66, 82)], 5.5, 3, 255)  # far foreleg
    stroke(fd, [(44, 60), (46, 72), (40, 82)], 6, 3, 255)  # far hind leg
    far_horn = [(91, 37), (97, 33), (101, 27), (101, 20)]
    stroke(fd, far_horn, thin(2.4), thin(0.7), 255)
    outlined(big, far, (84, 84, 84), line)

    main = Image.new("L", size, 0)
    md = ImageDraw.Draw(main)
    smooth_polygon(md, BULL_BODY, 255)
    stroke(md, [(84, 62), (94, 72), (106, 79)], 6.5, 3, 255)  # near foreleg
    stroke(md, [(30, 54), (22, 68), (10, 78)], 7.5, 3, 255)  # near hind leg
    stroke(md, [(22, 46), (14, 40), (12, 28), (17, 20)], thin(1.7), thin(1.3),
           255)  # tail
    outlined(big, main, (132, 132, 132), line)

    # The head is black; so are the hooves and the tail tuft.
    dark = Image.new("L", size, 0)
    dd = ImageDraw.Draw(dark)
    ellipse(dd, 103, 52, 11, 22, -32, 255)
    dark.paste(0, (0, 0), Image.eval(main, lambda v: 255 - v))
    big.paste((36, 36, 36), (0, 0), dark)
    for x, y in ((106, 79), (10, 79), (66, 83), (40, 83)):
        ellipse(d, x, y, 3.4, 2.6, 0, BLACK)
    ellipse(d, 17, 18, 2.6, 4.2, 25, BLACK)

    horn = Image.new("L", size, 0)
    hd = ImageDraw.Draw(horn)
    stroke(hd, [(95, 40), (103, 38), (109, 33), (111, 25)], thin(3),
           thin(0.8), 255)
    outlined(big, horn, (214, 214, 214), line)
    ellipse(d, 101, 49, 1.6, 1.4, 0, WHITE)  # eye
    ellipse(d, 108.5, 64.5, 1.2, 1.2, 0, (150, 150, 150))  # nostril

    if word:
        draw_word(d, 64, 92, 25)
    return big


def bordered(big, size, border):
    small = big.resize((size, size), Image.LANCZOS)
    d = ImageDraw.Draw(small)
    d.rectangle((0, 0, size - 1, size - 1), outline=DUSKY_RED, width=border)
    return small


def draw_icon():
    return bordered(draw_icon_art(), 128, 4)


# The desktop's icon sizes (hicolor theme).
THEME_ICON_SIZES = (16, 32, 48, 64, 128, 256)
# The sizes Windows asks MAINICON for: small and big icons at 100, 125, 150
# and 200 %, Explorer's 64 and 256, and the 128 the program has always had.
ICO_SIZES = (16, 20, 24, 32, 40, 48, 64, 128, 256)


def icon_border(size):
    """4 of 128 pixels, rounded half up, at least 1."""
    return max(1, px(size * 4 / 128))


def draw_sized_icon(size):
    """The icon drawn for size pixels. Below 48 pixels the word would be a
    smudge: the bull alone, moved down to the middle, stays recognisable."""
    pixel = 128 / size
    border = icon_border(size)
    if size >= 48:
        return bordered(draw_icon_art(pixel=pixel), size, border)
    art = draw_icon_art(word=False, pixel=pixel)
    centred = Image.new("RGB", art.size, WHITE)
    centred.paste(art, (0, 13 * S))
    return bordered(centred, size, border)


# --- contact sheet and resource file ---------------------------------------


def contact_sheet(items):
    """Each picture enlarged with its file name above, on mid-grey."""
    font = ImageFont.load_default()
    pad = 12
    x = pad
    y = pad
    row_h = 0
    placed = []
    width = 880
    for name, img, scale in items:
        big = img.resize((img.width * scale, img.height * scale),
                         Image.NEAREST)
        if x + big.width + pad > width:
            x = pad
            y += row_h + pad
            row_h = 0
        placed.append((name, big, x, y))
        x += max(big.width, font.getbbox(name)[2]) + pad
        row_h = max(row_h, big.height + 14)
    sheet = Image.new("RGB", (width, y + row_h + pad), (128, 128, 128))
    d = ImageDraw.Draw(sheet)
    for name, big, x, y in placed:
        d.text((x, y), name, fill=WHITE, font=font)
        if big.mode == "RGBA":
            sheet.paste(big, (x, y + 14), big)
        else:
            sheet.paste(big, (x, y + 14))
    return sheet


def main():
    band = draw_title_band()
    left = draw_edge("sbbi")
    right = draw_edge("iibbs")
    logo = draw_logo()
    calc = draw_calculate()
    up = draw_arrow(True)
    down = draw_arrow(False)
    hand = hand_png(hand_outline())
    icon = draw_icon()

    files = [
        ("title_band.bmp", bmp_bytes(band)),
        ("edge_left.bmp", bmp_bytes(left)),
        ("edge_right.bmp", bmp_bytes(right)),
        ("logo.bmp", bmp_bytes(logo)),
        ("calculate.bmp", bmp_bytes(calc)),
        ("arrow_up.bmp", bmp_bytes(up)),
        ("arrow_down.bmp", bmp_bytes(down)),
        ("hand.cur", cur_bytes([(hand_outline(), 0, 10)] +
                               [hand_outline_at(s) for s in SCALES])),
        ("hand.png", png_bytes(hand)),
        ("mainicon.ico", ico_bytes([draw_sized_icon(n) for n in ICO_SIZES])),
        ("mainicon.png", png_bytes(icon)),
    ]
    scaled = []
    scaled_bmps = []  # for the Windows resources; Qt takes the PNGs
    for s in SCALES:
        for name, img in (("title_band.bmp", draw_title_band_at(s)),
                          ("edge_left.bmp", draw_edge_at("sbbi", s)),
                          ("edge_right.bmp", draw_edge_at("iibbs", s)),
                          ("logo.bmp", draw_logo_at(s)),
                          ("calculate.bmp", draw_calculate_at(s)),
                          ("arrow_up.bmp", draw_arrow_at(True, s)),
                          ("arrow_down.bmp", draw_arrow_at(False, s))):
            files.append((scale_name(name, s), png_bytes(img)))
            scaled_bmps.append((scale_name(name, s)[:-4] + ".bmp",
                                bmp_bytes(img)))
            if name in ("logo.bmp", "calculate.bmp", "arrow_up.bmp"):
                scaled.append((scale_name(name, s)[:-4], img, 4))
        # The hand as the Qt window shows it at this scale, the same drawing
        # as in hand.cur.
        files.append((scale_name("hand.png", s),
                      png_bytes(hand_png(hand_outline_at(s)[0]))))
    files += scaled_bmps
    sheet = contact_sheet([
        ("title_band", band, 4),
        ("edge_left", left, 4),
        ("edge_right", right, 4),
        ("logo", logo, 4),
        ("calculate", calc, 4),
        ("arrow_up", up, 8),
        ("arrow_down", down, 8),
        ("hand", hand, 8),
        ("mainicon", icon, 4),
    ] + scaled)
    files.append(("preview.png", png_bytes(sheet)))
    # The program icon for the desktop's menus, named by the installer.
    for size in THEME_ICON_SIZES:
        files.append(("hicolor/%dx%d/apps/qilo.png" % (size, size),
                      png_bytes(draw_sized_icon(size))))
    for name, data in files:
        path = os.path.join(HERE, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
