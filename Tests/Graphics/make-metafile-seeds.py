#!/usr/bin/env python3
"""Writes small, valid WMF and EMF files into the folder given: the seeds of
the metafile walker's fuzz target (made at build time, none checked in)."""
import os
import struct
import sys


def emf(records, frame=(0, 0, 2540, 2540), handles=2):
    body = b"".join(struct.pack("<II", kind, 8 + len(data)) + data for kind, data in records)
    body += struct.pack("<IIIII", 14, 20, 0, 16, 20)  # EMR_EOF
    header = struct.pack("<II4i4i4sIIIHHIII2i2i", 1, 88, 0, 0, 95, 95, *frame, b" EMF", 0x10000,
                         88 + len(body), 2 + len(records), handles, 0, 0, 0, 0, 1024, 768, 320, 240)
    assert len(header) == 88
    return header + body


def wmf(records, placeable=True, objects=2):
    body = b"".join(struct.pack("<IH", 3 + len(data) // 2, function) + data for function, data in records)
    body += struct.pack("<IH", 3, 0)
    header = struct.pack("<HHHIHIH", 1, 9, 0x300, (18 + len(body)) // 2, objects, 64, 0)
    out = header + body
    if placeable:
        out = struct.pack("<IH4hHIH", 0x9AC6CDD7, 0, 0, 0, 1000, 500, 1000, 0, 0) + out
    return out


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    polyline = struct.pack("<4iI", 0, 0, 10, 10, 2) + struct.pack("<4i", 0, 0, 10, 10)
    polypolygon16 = struct.pack("<4iII", 0, 0, 10, 10, 2, 6) + struct.pack("<II", 3, 3) + struct.pack("<12h", *range(12))
    pen = struct.pack("<IIiiI", 1, 0, 1, 0, 0x0000FF)
    select = struct.pack("<I", 1)
    dib = struct.pack("<IiiHHIIiiII", 40, 2, 2, 1, 24, 0, 0, 0, 0, 0, 0) + bytes(16)
    stretch = struct.pack("<4i6i", 0, 0, 2, 2, 0, 0, 0, 0, 2, 2) + struct.pack("<IIIIIIii", 80, 40, 120, 16, 0,
                                                                               0x00CC0020, 2, 2) + dib
    files = {
        "lines.emf": emf([(4, polyline), (91, polypolygon16), (38, pen), (37, select), (81, stretch)]),
        "empty.emf": emf([]),
        "shapes.wmf": wmf([(0x0325, struct.pack("<H4h", 2, 0, 0, 100, 100)),
                           (0x0538, struct.pack("<HHH", 2, 2, 2) + struct.pack("<8h", *range(8))),
                           (0x0521, struct.pack("<H2shh", 2, b"hi", 5, 5)),
                           (0x012D, struct.pack("<H", 0))]),
        "standard.wmf": wmf([(0x0418, struct.pack("<4h", 10, 10, 0, 0))], placeable=False),
    }
    for name, data in files.items():
        with open(os.path.join(folder, name), "wb") as out:
            out.write(data)


if __name__ == "__main__":
    main()
