#!/usr/bin/env python3
"""Draws the add-in's pictures and writes them into src/resources/ (run once; the files are kept).

bitmap_<id>.bmp   button faces: 16 x 16 for 100, 103, 105 ... 115; 32 x 32 for 101, 104 ... 116
icon_117.ico      the dialogs' window icon, 32 x 32
stored_<name>.gif the pictures stored with the forms: Splash (396 x 355) and the eleven 20 x 20
                  server-view images, drawn on light grey (192, 192, 192), the image list's mask colour

Every file is 256 colours from one palette. Python 3 standard library only; each GIF is decoded
again after writing to make sure the LZW stream reads back.
"""
import math
import pathlib
import struct
import sys

OUT = pathlib.Path(__file__).resolve().parent.parent / "src" / "resources"

NAMED = {
    "black": (0, 0, 0), "white": (255, 255, 255), "grey": (192, 192, 192), "dark": (96, 96, 96),
    "yellow": (240, 200, 64), "brown": (160, 120, 32), "green": (40, 170, 60), "red": (210, 40, 40),
    "blue": (40, 90, 200), "navy": (20, 40, 110), "purple": (140, 60, 170), "cyan": (60, 180, 200),
    "orange": (240, 140, 30), "teal": (20, 120, 120), "pink": (230, 120, 160), "silver": (220, 220, 220),
}
PALETTE = list(NAMED.values())
PALETTE += [(i * 255 // 119, i * 255 // 119, 255 - i * 100 // 119) for i in range(120)]  # blue-to-white ramp
PALETTE += [(0, 0, 0)] * (256 - len(PALETTE))
COLOUR = {name: i for i, name in enumerate(NAMED)}
RAMP = len(NAMED)


class Canvas:
    def __init__(self, w, h, background="grey"):
        self.w, self.h = w, h
        self.px = [COLOUR[background]] * (w * h)

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y * self.w + x] = c if isinstance(c, int) else COLOUR[c]

    def rect(self, x0, y0, x1, y1, fill, edge=None):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                border = edge and (x in (x0, x1) or y in (y0, y1))
                self.put(x, y, edge if border else fill)

    def ellipse(self, cx, cy, rx, ry, fill, edge=None):
        for y in range(int(cy - ry) - 1, int(cy + ry) + 2):
            for x in range(int(cx - rx) - 1, int(cx + rx) + 2):
                d = ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2
                if d <= 1.0:
                    self.put(x, y, edge if edge and d > 0.7 else fill)

    def line(self, x0, y0, x1, y1, c):
        n = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(n + 1):
            self.put(round(x0 + (x1 - x0) * i / n), round(y0 + (y1 - y0) * i / n), c)

    def cylinder(self, x0, y0, x1, y1, body, top):
        ry = max(1, (y1 - y0) // 6)
        cx, rx = (x0 + x1) / 2, (x1 - x0) / 2
        self.rect(x0, y0 + ry, x1, y1 - ry, body)
        self.ellipse(cx, y1 - ry, rx, ry, body)
        self.ellipse(cx, y0 + ry, rx, ry, top, "dark")
        self.line(x0, y0 + ry, x0, y1 - ry, "dark")
        self.line(x1, y0 + ry, x1, y1 - ry, "dark")

    def rows(self):
        return [self.px[y * self.w:(y + 1) * self.w] for y in range(self.h)]


# ---- file formats -------------------------------------------------------------------------------

def palette_bgr0():
    return b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)


def dib_pixels(canvas):
    stride = (canvas.w + 3) & ~3
    return b"".join(bytes(row) + b"\0" * (stride - canvas.w) for row in reversed(canvas.rows()))


def info_header(w, h, image_size):
    return struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 0, image_size, 2835, 2835, 256, 0)


def bmp(canvas):
    pixels = dib_pixels(canvas)
    offset = 14 + 40 + 1024
    return (b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset)
            + info_header(canvas.w, canvas.h, len(pixels)) + palette_bgr0() + pixels)


def ico(canvas):
    xor = dib_pixels(canvas)
    mask_stride = ((canvas.w + 31) // 32) * 4
    and_mask = b"\0" * (mask_stride * canvas.h)  # every pixel opaque
    image = info_header(canvas.w, canvas.h * 2, len(xor) + len(and_mask)) + palette_bgr0() + xor + and_mask
    entry = struct.pack("<BBBBHHII", canvas.w % 256, canvas.h % 256, 0, 0, 1, 8, len(image), 6 + 16)
    return struct.pack("<HHH", 0, 1, 1) + entry + image


def lzw_encode(pixels, min_size=8):
    clear, end = 1 << min_size, (1 << min_size) + 1
    codes = []  # (code, width)

    def reset():
        return {bytes([i]): i for i in range(clear)}, end + 1, min_size + 1

    table, nxt, size = reset()
    codes.append((clear, size))
    word = bytes([pixels[0]])
    for p in pixels[1:]:
        grown = word + bytes([p])
        if grown in table:
            word = grown
            continue
        codes.append((table[word], size))
        if nxt < 4096:
            table[grown] = nxt
            nxt += 1
            if nxt - 1 == (1 << size) and size < 12:
                size += 1
        else:
            codes.append((clear, size))
            table, nxt, size = reset()
        word = bytes([p])
    codes.append((table[word], size))
    codes.append((end, size))
    acc = bits = 0
    out = bytearray()
    for code, width in codes:
        acc |= code << bits
        bits += width
        while bits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            bits -= 8
    if bits:
        out.append(acc & 0xFF)
    return bytes(out)


def lzw_decode(data, min_size=8):
    clear, end = 1 << min_size, (1 << min_size) + 1
    pos = bits = acc = 0
    out = bytearray()
    table, size, prev = None, min_size + 1, None
    while True:
        while bits < size:
            acc |= data[pos] << bits
            pos += 1
            bits += 8
        code = acc & ((1 << size) - 1)
        acc >>= size
        bits -= size
        if code == clear:
            table, size, prev = [bytes([i]) for i in range(clear)] + [b"", b""], min_size + 1, None
            continue
        if code == end:
            return bytes(out)
        if prev is None:
            entry = table[code]
        else:
            entry = table[code] if code < len(table) else prev + prev[:1]
            if len(table) < 4096:
                table.append(prev + entry[:1])
        out += entry
        prev = entry
        if len(table) == (1 << size) and size < 12:
            size += 1


def gif(canvas):
    stream = lzw_encode(canvas.px)
    assert lzw_decode(stream) == bytes(canvas.px), "LZW stream does not read back"
    blocks = b"".join(bytes([len(stream[i:i + 255])]) + stream[i:i + 255] for i in range(0, len(stream), 255))
    colours = b"".join(bytes(c) for c in PALETTE)
    return (b"GIF89a" + struct.pack("<HHBBB", canvas.w, canvas.h, 0xF7, COLOUR["grey"], 0) + colours
            + b"\x2C" + struct.pack("<HHHHB", 0, 0, canvas.w, canvas.h, 0) + b"\x08" + blocks + b"\x00\x3B")


# ---- pictures -----------------------------------------------------------------------------------

SYMBOLS = ["star", "square", "triangle", "cross", "arrow", "bars", "circle", "diamond"]
SYMBOL_COLOURS = ["orange", "green", "red", "blue", "purple", "teal", "pink", "cyan"]


def symbol(c, kind, cx, cy, r, colour):
    if kind == "square":
        c.rect(cx - r, cy - r, cx + r, cy + r, colour, "black")
    elif kind == "circle":
        c.ellipse(cx, cy, r + 0.5, r + 0.5, colour, "black")
    elif kind == "triangle":
        for dy in range(-r, r + 1):
            half = (dy + r) // 2
            c.line(cx - half, cy + dy, cx + half, cy + dy, colour)
    elif kind == "cross":
        c.rect(cx - r, cy - r // 3, cx + r, cy + r // 3, colour)
        c.rect(cx - r // 3, cy - r, cx + r // 3, cy + r, colour)
    elif kind == "arrow":
        c.rect(cx - r, cy - r // 3, cx, cy + r // 3, colour)
        for dx in range(0, r + 1):
            c.line(cx + dx, cy - (r - dx), cx + dx, cy + (r - dx), colour)
    elif kind == "bars":
        for i, h in enumerate((r, 2 * r, r + r // 2)):
            x = cx - r + i * max(1, (2 * r) // 3)
            c.rect(x, cy + r - h, x + max(1, r // 2), cy + r, colour)
    elif kind == "diamond":
        for dy in range(-r, r + 1):
            half = r - abs(dy)
            c.line(cx - half, cy + dy, cx + half, cy + dy, colour)
    else:  # star
        pts = [(cx + r * math.cos(math.pi / 2 + k * 4 * math.pi / 5), cy - r * math.sin(math.pi / 2 + k * 4 * math.pi / 5))
               for k in range(5)]
        for a, b in zip(pts, pts[1:] + pts[:1]):
            c.line(round(a[0]), round(a[1]), round(b[0]), round(b[1]), colour)


def button_face(res_id):
    size = 16 if res_id in (100, 103, 105, 107, 109, 111, 113, 115) else 32
    c = Canvas(size, size)
    s = size / 16
    c.cylinder(round(1 * s), round(1 * s), round(9 * s), round(14 * s), "blue", "cyan")
    k = (res_id - 100) // 2 if res_id > 101 else res_id - 100
    symbol(c, SYMBOLS[k % 8], round(11 * s), round(10 * s), round(4 * s), SYMBOL_COLOURS[k % 8])
    return c


def window_icon():
    c = Canvas(32, 32, "silver")
    c.cylinder(4, 2, 22, 29, "navy", "blue")
    symbol(c, "star", 24, 22, 6, "yellow")
    return c


def folder(c):
    c.rect(2, 4, 8, 6, "yellow", "brown")
    c.rect(2, 6, 17, 16, "yellow", "brown")


def server_view_image(key):
    c = Canvas(20, 20)
    if key in ("WKFolder", "FilteredWKFolder"):
        folder(c)
        if key == "FilteredWKFolder":
            for dy in range(0, 5):
                c.line(9 + dy, 9 + dy, 18 - dy, 9 + dy, "blue")
            c.rect(13, 14, 14, 18, "blue")
    elif key in ("ConnectedConnection", "DisconnectedConnection"):
        c.cylinder(2, 2, 12, 17, "teal", "cyan")
        colour = "green" if key == "ConnectedConnection" else "red"
        c.ellipse(15, 14, 3.5, 3.5, colour, "black")
    elif key in ("StoredProcedure", "DirtyStoredProcedure"):
        c.rect(2, 3, 15, 16, "white", "navy")
        for y in (6, 9, 12):
            c.line(4, y, 13, y, "blue")
        if key.startswith("Dirty"):
            c.ellipse(16, 16, 3, 3, "red")
    elif key in ("UserFunction", "DirtyUserFunction"):
        c.ellipse(9, 9, 7, 7, "purple", "black")
        c.line(7, 5, 7, 13, "white")
        c.line(7, 5, 11, 5, "white")
        c.line(7, 9, 10, 9, "white")
        if key.startswith("Dirty"):
            c.ellipse(16, 16, 3, 3, "red")
    elif key == "NimbTable":
        c.rect(2, 3, 17, 16, "white", "dark")
        c.rect(2, 3, 17, 6, "blue", "dark")
        for x in (7, 12):
            c.line(x, 3, x, 16, "dark")
        for y in (9, 12):
            c.line(2, y, 17, y, "dark")
    elif key == "Trigger":
        for i, (x0, x1, y) in enumerate([(10, 14, 2), (8, 12, 5), (6, 13, 8), (9, 12, 11), (8, 10, 14), (7, 8, 17)]):
            c.rect(x0, y, x1, y + 2, "orange" if i % 2 else "yellow")
    elif key == "NimbView":
        c.ellipse(6, 10, 4, 4, "white", "black")
        c.ellipse(14, 10, 4, 4, "white", "black")
        c.ellipse(6, 10, 1.5, 1.5, "navy")
        c.ellipse(14, 10, 1.5, 1.5, "navy")
        c.line(9, 9, 11, 9, "black")
    return c


LETTERS = {  # 5 x 7 block letters
    "N": ["X...X", "XX..X", "X.X.X", "X..XX", "X...X", "X...X", "X...X"],
    "I": ["XXXXX", "..X..", "..X..", "..X..", "..X..", "..X..", "XXXXX"],
    "M": ["X...X", "XX.XX", "X.X.X", "X...X", "X...X", "X...X", "X...X"],
    "B": ["XXXX.", "X...X", "X...X", "XXXX.", "X...X", "X...X", "XXXX."],
}


def splash():
    c = Canvas(396, 355)
    for y in range(355):  # sky: the blue-to-white ramp
        c.line(0, y, 395, y, RAMP + y * 119 // 354)
    for x0, y0, x1, y1 in ((0, 0, 395, 0), (0, 354, 395, 354), (0, 0, 0, 354), (395, 0, 395, 354)):
        c.line(x0, y0, x1, y1, "navy")
    for i, x in enumerate((40, 130, 220)):
        c.cylinder(x, 190 - i * 20, x + 70, 300 - i * 10, "blue", "cyan")
    for i, ch in enumerate("NIMB"):
        for row, bits in enumerate(LETTERS[ch]):
            for col, bit in enumerate(bits):
                if bit == "X":
                    x, y = 60 + i * 72 + col * 11, 40 + row * 11
                    c.rect(x, y, x + 9, y + 9, "navy")
    symbol(c, "star", 330, 240, 40, "orange")
    c.rect(20, 320, 375, 330, "silver", "dark")
    return c


SERVER_VIEW_KEYS = ["WKFolder", "FilteredWKFolder", "ConnectedConnection", "DisconnectedConnection", "StoredProcedure",
                    "DirtyStoredProcedure", "UserFunction", "DirtyUserFunction", "NimbTable", "Trigger", "NimbView"]


def main():
    files = {}
    for res_id in [100, 101] + list(range(103, 117)):
        files[f"bitmap_{res_id}.bmp"] = bmp(button_face(res_id))
    files["icon_117.ico"] = ico(window_icon())
    files["stored_Splash.gif"] = gif(splash())
    for key in SERVER_VIEW_KEYS:
        files[f"stored_{key}.gif"] = gif(server_view_image(key))
    for name, data in files.items():
        (OUT / name).write_bytes(data)
    print(f"wrote {len(files)} pictures to {OUT}", file=sys.stderr)


if __name__ == "__main__":
    main()
