#!/usr/bin/env python3
"""Writes the raster fuzzer's seed inputs: short call sequences like the game's own
drawing (a board, grid lines, crosses, discs, keyed copies, the green highlight).

The fuzzer reads its choices from the end of the input backwards, one to four bytes
each, so a seed is built in reading order and reversed at the end."""
import pathlib
import struct
import sys


class Seed:
    def __init__(self):
        self.read_order = bytearray()
        self.dcs = 0
        self.objects = 0

    def choice(self, value):  # a small range: one byte, taken modulo the range
        self.read_order.append(value)

    def small(self, value):  # WildInt's "-40 .. 400" branch
        self.choice(0)
        self.read_order += struct.pack(">H", value + 40)

    def colour(self, bgr):
        self.choice(0)  # not one of the fixed colours
        self.read_order += struct.pack(">I", bgr)

    def pick(self, index, count):  # the index-th of `count` live handles
        self.choice(1)
        if count > 1:  # a choice among one reads no byte
            self.choice(index)

    def dc(self, index):
        self.pick(index, self.dcs)

    def obj(self, index):
        self.pick(index, self.objects)

    def surface(self, w, h, fill):
        self.choice(0); self.small(w); self.small(h); self.colour(fill)
        self.dcs += 1

    def pen(self, width, bgr):
        self.choice(4); self.choice(1); self.choice(0); self.small(width); self.colour(bgr)
        self.objects += 1

    def brush(self, bgr):
        self.choice(5); self.colour(bgr)
        self.objects += 1

    def select(self, dc, obj):
        self.choice(6); self.dc(dc); self.obj(obj); self.choice(1)

    def move(self, dc, x, y):
        self.choice(10); self.dc(dc); self.small(x); self.small(y); self.choice(0)

    def line(self, dc, x, y):
        self.choice(11); self.dc(dc); self.small(x); self.small(y)

    def ellipse(self, dc, l, t, r, b):
        self.choice(12); self.dc(dc)
        for v in (l, t, r, b):
            self.small(v)

    def blit(self, dst, src, x, y, cx, cy, rop_index):
        self.choice(8); self.dc(dst); self.dc(src)
        for v in (x, y, cx, cy, 0, 0):
            self.small(v)
        self.choice(1); self.choice(rop_index)

    def keyed(self, dst, src, x, y, w, h, key):
        self.choice(9); self.dc(dst); self.dc(src)
        for v in (x, y, w, h, 0, 0):
            self.small(v)
        self.choice(1); self.colour(key)

    def data(self):
        return bytes(reversed(self.read_order))


def board_with_shapes():
    s = Seed()
    s.surface(300, 300, 0xE0E0E0)
    for i in (1, 2):
        s.move(0, 100 * i, 0); s.line(0, 100 * i, 300)
        s.move(0, 0, 100 * i); s.line(0, 300, 100 * i)
    s.pen(2, 0xFF0000)
    s.select(0, 0)
    s.move(0, 100, 200); s.line(0, 200, 300)
    s.brush(0x0000FF)
    s.select(0, 1)
    s.ellipse(0, 0, 0, 100, 100)
    return s


def pictures_and_highlight():
    s = Seed()
    s.surface(300, 300, 0xE0E0E0)
    s.surface(130, 130, 0x00FF00)
    s.surface(128, 128, 0xFFFFFF)
    s.pen(1, 0x0000FF)
    s.select(2, 0)
    s.ellipse(2, 10, 10, 118, 118)
    s.keyed(0, 2, 100, 100, 128, 128, 0xFFFFFF)
    s.blit(0, 1, 200, 100, 100, 100, 1)  # SRCAND with the green surface
    s.blit(0, 0, 50, 50, 200, 200, 0)    # a copy onto itself, overlapping
    return s


def main(folder):
    out = pathlib.Path(folder)
    out.mkdir(parents=True, exist_ok=True)
    for name, seed in (("board_with_shapes", board_with_shapes()), ("pictures_and_highlight", pictures_and_highlight())):
        (out / name).write_bytes(seed.data())


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent / "corpus" / "gdi")
