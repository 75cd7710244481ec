#!/usr/bin/env python3
"""Writes the seed corpus of the database fuzzer into FuzzCorpus/.

The images are built here byte by byte, independently of the engine, so they
also serve as a second reading of the file format: valid files of each
revision, files with free lists (sound, abandoned, self-pointing, cyclic) and
damaged files (broken check word, impossible lengths, short, foreign).
"""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "FuzzCorpus")


def word(value):
    return struct.pack("<I", value & 0xFFFFFFFF)


class Image:
    def __init__(self, letter=b"C", static=0):
        self.letter = letter
        self.fhs = 40 if letter in (b"B", b"b", b"C", b"c") else 28
        self.bhs = 28 if letter in (b"C", b"c") else 16
        self.checksums = letter not in (b"\x00", b" ")
        self.heap = self.fhs + static
        self.free = 0
        self.highest = 0
        self.body = bytearray(self.heap)

    def add(self, payload, status=0x4E, next_deleted=0):
        address = len(self.body)
        length = self.bhs + len(payload) + (4 if self.checksums else 0)
        block = word(0xFEFE) + word(length) + word(status) + word(next_deleted)
        block += bytes(self.bhs - 16) + payload
        if self.checksums:
            block += word(zlib.crc32(payload))
        self.body += block
        self.highest = address
        return address

    def patch(self, offset, value):
        self.body[offset:offset + 4] = word(value)

    def bytes(self):
        header = word(self.free) + word(len(self.body)) + word(self.heap) + word(self.highest)
        header += b"GXDBASE" + self.letter + word(4000)
        out = bytearray(self.body)
        out[0:28] = header
        return bytes(out)


def record(length, seed):
    return bytes((seed + i * 7) & 0xFF for i in range(length))


def main():
    os.makedirs(OUT, exist_ok=True)
    seeds = {}

    seeds["empty-c"] = Image().bytes()

    note = Image()
    note.add(record(773, 1))
    seeds["one-text-note"] = note.bytes()

    freed = Image()
    freed.add(record(100, 2), status=0x52)
    freed.add(record(60, 3))
    freed.free = 40
    seeds["freed-block"] = freed.bytes()

    chain = Image()
    a = chain.add(record(40, 4), status=0x52)
    chain.add(record(40, 5))
    b = chain.add(record(200, 6), status=0x44, next_deleted=a)
    chain.free = b
    seeds["free-chain"] = chain.bytes()

    abandoned = Image()
    abandoned.add(record(50, 7), status=0x52, next_deleted=0xFFFFFFFF)
    abandoned.free = 0xFFFFFFFF
    seeds["abandoned-list"] = abandoned.bytes()

    loop = Image()
    first = loop.add(record(50, 8), status=0x52)
    loop.patch(first + 12, first)
    loop.free = first
    seeds["self-pointing-list"] = loop.bytes()

    cycle = Image()
    x = cycle.add(record(30, 9), status=0x52)
    y = cycle.add(record(30, 10), status=0x52, next_deleted=x)
    cycle.patch(x + 12, y)
    cycle.free = y
    seeds["cyclic-list"] = cycle.bytes()

    broken = Image()
    for i in range(3):
        broken.add(record(64, 11 + i))
    broken.patch(40 + 28 + 64 + 4, 0xFFFE)
    seeds["broken-check-word"] = broken.bytes()

    lengths = Image()
    z = lengths.add(record(32, 14))
    lengths.add(record(32, 15), status=0x52)
    lengths.patch(z + 4, 0)
    lengths.patch(z + 28 + 32 + 4 + 4, 0xFFFFFFF0)
    lengths.free = z + 28 + 32 + 4
    seeds["impossible-lengths"] = lengths.bytes()

    seeds["short-file"] = Image().bytes()[:20]
    foreign = bytearray(Image().bytes())
    foreign[16:24] = b"NOTADBAS"
    seeds["foreign-signature"] = bytes(foreign)

    blank = Image(letter=b" ")
    blank.add(record(24, 16))
    blank.add(record(24, 17), status=0x52)
    blank.free = 28 + 40
    seeds["revision-blank"] = blank.bytes()

    rev_a = Image(letter=b"A", static=16)
    rev_a.add(record(48, 18))
    seeds["revision-a-static"] = rev_a.bytes()

    rev_b = Image(letter=b"b")
    rev_b.add(record(48, 19))
    seeds["revision-b-lower"] = rev_b.bytes()

    # Files with a script of operations appended behind end_of_file.
    ops = bytes([0x01, 0x31, 0x00, 0x02, 0x01, 0x41, 0x05, 0x01, 0x06, 0x01, 0x00, 0x88, 0x12, 0x21, 0x09])
    seeds["one-text-note-ops"] = note.bytes() + ops
    seeds["free-chain-ops"] = chain.bytes() + ops

    for name, data in seeds.items():
        assert len(data) < 10 * 1024, name
        with open(os.path.join(OUT, name + ".qmt"), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
