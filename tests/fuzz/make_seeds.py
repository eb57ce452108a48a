#!/usr/bin/env python3
"""Cuts the shared real-world shapefiles small into the fuzz targets' seed corpus.

Each .shp keeps its header and first records (a record over the size limit keeps
only its first points and the parts that start among them); each .dbf keeps its
header and first rows. The conversion seeds join a .shp and its .dbf behind an
option byte and the .shp's length. Run from the source tree; writes
tests/fuzz/corpus/<target>/.
"""
import glob
import hashlib
import os
import struct
import sys

DATA = os.path.join(os.path.dirname(__file__), "..", "..", "..", "shared", "data")
OUT = os.path.join(os.path.dirname(__file__), "corpus")
MAX_SHP = 1200
MAX_POINTS = 24
MAX_ROWS = 6

POLY = {3, 5, 13, 15, 23, 25, 31}
MULTI = {8, 18, 28}


def cut_record(rtype, body):
    """A record's content with at most MAX_POINTS points, Z and M blocks cut to match."""
    if rtype in POLY:
        box, nparts, npoints = body[4:36], *struct.unpack("<ii", body[36:44])
        parts = list(struct.unpack(f"<{nparts}i", body[44:44 + 4 * nparts]))
        pts_at = 44 + 4 * nparts
    elif rtype in MULTI:
        box, nparts, npoints, parts = body[4:36], 0, struct.unpack("<i", body[36:40])[0], []
        pts_at = 40
    else:
        return body
    keep = min(npoints, MAX_POINTS)
    if keep == npoints:
        return body
    parts = [p for p in parts if p < keep] or [0]
    points = body[pts_at:pts_at + 16 * keep]
    out = struct.pack("<i", rtype) + box
    if rtype in POLY:
        out += struct.pack("<ii", len(parts), keep) + struct.pack(f"<{len(parts)}i", *parts)
    else:
        out += struct.pack("<i", keep)
    out += points
    rest = pts_at + 16 * npoints
    for _ in range(2 if rtype in {13, 15, 18, 31} else 1 if rtype in {23, 25, 28} else 0):
        if len(body) >= rest + 16 + 8 * npoints:
            out += body[rest:rest + 16] + body[rest + 16:rest + 16 + 8 * keep]
            rest += 16 + 8 * npoints
    return out


def cut_shp(data):
    header, at, records = bytearray(data[:100]), 100, b""
    while at + 8 <= len(data):
        number, words = struct.unpack(">ii", data[at:at + 8])
        body = data[at + 8:at + 8 + 2 * words]
        if len(body) < 4:
            break
        body = cut_record(struct.unpack("<i", body[:4])[0], body)
        record = struct.pack(">ii", number, len(body) // 2) + body
        if records and 100 + len(records) + len(record) > MAX_SHP:
            break
        records += record
        at += 8 + 2 * words
    header[24:28] = struct.pack(">i", (100 + len(records)) // 2)
    return bytes(header) + records


def cut_dbf(data):
    if len(data) < 32:
        return data
    rows, header_size, row_size = struct.unpack("<IHH", data[4:12])
    keep = min(rows, MAX_ROWS)
    out = bytearray(data[:header_size + keep * row_size])
    out[4:8] = struct.pack("<I", keep)
    return bytes(out) + b"\x1a"


def write(target, payload):
    folder = os.path.join(OUT, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, hashlib.sha1(payload).hexdigest()), "wb") as f:
        f.write(payload)


def main():
    shps = sorted(glob.glob(os.path.join(DATA, "**", "*.shp"), recursive=True))
    for index, shp_path in enumerate(shps):
        with open(shp_path, "rb") as f:
            shp = cut_shp(f.read())
        write("shapefile_reader", shp)
        dbf_path = shp_path[:-4] + ".dbf"
        dbf = b""
        if os.path.exists(dbf_path):
            with open(dbf_path, "rb") as f:
                dbf = cut_dbf(f.read())
            write("attribute_table", dbf)
        for choice in (index % 6, (index + 3) % 6):
            write("conversion", bytes([choice]) + struct.pack("<I", len(shp)) + shp + dbf)
    return 0


if __name__ == "__main__":
    sys.exit(main())
