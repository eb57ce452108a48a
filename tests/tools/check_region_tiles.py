#!/usr/bin/env python3
"""Checks a KMZ written with --regions against the KML of the same layer.

Usage: check_region_tiles.py TILED.kmz PLAIN.kml LIMIT

Every placemark of the plain document appears exactly once across the tiles
(its style and data schema then read from doc.kml); no tile holds more than LIMIT; each tile's
placemarks lie inside its Region's box, each child's box inside its parent's,
and the link to a tile carries the tile's own Region. Prints the tile count and
the deepest level, or the first fault found (exit 1).
"""

import re
import sys
import xml.etree.ElementTree as ET
import zipfile

NS = "{*}"  # doc.kml and the tiles may name different KML namespaces
PLACEMARK = re.compile(r"<Placemark>.*?</Placemark>", re.S)


def fail(text):
    print(text)
    sys.exit(1)


def box_of(region):
    box = region.find(NS + "LatLonAltBox")
    return tuple(float(box.find(NS + side).text) for side in ("west", "south", "east", "north"))


def inside(inner, outer):
    return outer[0] <= inner[0] and outer[1] <= inner[1] and inner[2] <= outer[2] and inner[3] <= outer[3]


def positions(placemark):
    for text in re.findall(r"<coordinates>(.*?)</coordinates>", placemark, re.S):
        for tuple_text in text.split():
            x, y = tuple_text.split(",")[:2]
            yield float(x), float(y)


def main():
    tiled, plain, limit = sys.argv[1], sys.argv[2], int(sys.argv[3])
    archive = zipfile.ZipFile(tiled)
    if archive.namelist()[0] != "doc.kml":
        fail("doc.kml is not the first entry")
    doc = archive.read("doc.kml").decode()
    if PLACEMARK.search(doc):
        fail("doc.kml holds placemarks")
    links = ET.fromstring(doc).findall(".//" + NS + "NetworkLink")
    todo = [(link.find(NS + "Link").find(NS + "href").text, box_of(link.find(NS + "Region")), None, 1) for link in links]
    if len(todo) != 1:
        fail(f"doc.kml links {len(todo)} top tiles")
    found = []
    tiles = deepest = 0
    while todo:
        name, linked_box, parent_box, level = todo.pop()
        text = archive.read(name).decode()
        root = ET.fromstring(text)
        document = root.find(NS + "Document")
        box = box_of(document.find(NS + "Region"))
        if box != linked_box:
            fail(f"{name}: its Region differs from the link's")
        if parent_box is not None and not inside(box, parent_box):
            fail(f"{name}: its box {box} is not inside its parent's {parent_box}")
        placemarks = PLACEMARK.findall(text)
        if len(placemarks) > limit:
            fail(f"{name}: {len(placemarks)} placemarks, more than {limit}")
        for p in placemarks:
            for x, y in positions(p):
                if not (box[0] <= x <= box[2] and box[1] <= y <= box[3]):
                    fail(f"{name}: position {x},{y} outside its box {box}")
        found += [p.replace("<styleUrl>doc.kml#", "<styleUrl>#").replace('schemaUrl="doc.kml#', 'schemaUrl="#')
                  for p in placemarks]
        for link in document.findall(NS + "NetworkLink"):
            if link.find(NS + "Link").find(NS + "viewRefreshMode").text != "onRegion":
                fail(f"{name}: a link not refreshed on its region")
            todo.append((link.find(NS + "Link").find(NS + "href").text, box_of(link.find(NS + "Region")), box, level + 1))
        tiles += 1
        deepest = max(deepest, level)
    expected = PLACEMARK.findall(open(plain, encoding="utf-8").read())
    if sorted(found) != sorted(expected):
        fail(f"the tiles hold {len(found)} placemarks, the document {len(expected)}, or they differ")
    print(f"{tiles} tiles, {deepest} levels")


if __name__ == "__main__":
    main()
