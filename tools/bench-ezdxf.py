#!/usr/bin/python3
"""Writes the entities of the section export benchmark with ezdxf's fast R12 writer and times it.

Usage: bench-ezdxf.py DIR
DIR holds the files bench/dxf_export_bench leaves with ORVO_BENCH_DXF_DUMP=DIR. Their
polylines (with layer, width and closed flag) and texts (with layer, style, height, rotation
and alignment) are read first, untimed; then each file is written again with r12writer, in
Windows-1251 with CR LF line ends, to a temporary folder and flushed to disk as the export
does. Prints one JSON line with the seconds (best of three), for tools/bench.
Run with Debian's /usr/bin/python3, which has python3-ezdxf.
"""
import glob
import json
import os
import sys
import tempfile
import time

from ezdxf.addons import r12writer


def pairs(path):
    with open(path, encoding="cp1251", newline="") as f:
        lines = f.read().split("\r\n")
    for i in range(0, len(lines) - 1, 2):
        yield int(lines[i]), lines[i + 1]


def entities(path):
    """[("P", layer, width, closed, points) | ("T", layer, style, x, y, h, rot, align, ax, ay, text)]"""
    out = []
    current = None
    in_entities = False
    for code, value in pairs(path):
        if code == 2 and value == "ENTITIES":
            in_entities = True
            continue
        if not in_entities:
            continue
        if code == 0:
            if current is not None and current["kind"] in ("POLYLINE", "TEXT"):
                if current["kind"] == "TEXT":
                    out.append(("T", current))
            if value == "POLYLINE":
                current = {"kind": "POLYLINE", "points": [], "closed": False, "width": 0.0}
                out.append(("P", current))
            elif value == "VERTEX":
                vertex = {"kind": "VERTEX"}
                out[-1][1]["points"].append(vertex)
                current = vertex
            elif value == "TEXT":
                current = {"kind": "TEXT", "align": 0}
            else:
                current = {"kind": value}
            continue
        if current is None:
            continue
        if code == 8:
            current["layer"] = value
        elif code == 10:
            current["x"] = float(value)
        elif code == 20:
            current["y"] = float(value)
        elif code == 11:
            current["ax"] = float(value)
        elif code == 21:
            current["ay"] = float(value)
        elif code == 40 and current["kind"] == "POLYLINE":
            current["width"] = float(value)
        elif code == 40:
            current["h"] = float(value)
        elif code == 50:
            current["rot"] = float(value)
        elif code == 1:
            current["text"] = value
        elif code == 7:
            current["style"] = value
        elif code == 72:
            current["align"] = int(value)
        elif code == 70 and current["kind"] == "POLYLINE":
            current["closed"] = int(value) == 1
    return out


def write(path, items):
    with open(path, "wt", encoding="cp1251", newline="\r\n") as stream:
        with r12writer(stream) as dxf:
            for kind, e in items:
                if kind == "P":
                    points = [(v["x"], v["y"]) for v in e["points"]]
                    dxf.add_polyline_2d(points, layer=e["layer"], closed=e["closed"],
                                        start_width=e["width"], end_width=e["width"])
                else:
                    dxf.add_text(e["text"], insert=(e["x"], e["y"]), height=e["h"],
                                 rotation=e.get("rot", 0), layer=e["layer"], style=e["style"],
                                 align={0: "LEFT", 1: "CENTER", 2: "RIGHT"}[e["align"]])
        stream.flush()
        os.fsync(stream.fileno())


def main(argv):
    if len(argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    files = sorted(glob.glob(os.path.join(argv[1], "*.DXF")))
    if not files:
        print(f"no DXF files in {argv[1]}", file=sys.stderr)
        return 1
    sets = [entities(f) for f in files]
    best = None
    with tempfile.TemporaryDirectory(prefix="orvo-ezdxf-") as folder:
        for _ in range(3):
            start = time.perf_counter()
            for i, items in enumerate(sets):
                write(os.path.join(folder, f"R_{i}.DXF"), items)
            elapsed = time.perf_counter() - start
            best = elapsed if best is None else min(best, elapsed)
        size = sum(os.path.getsize(os.path.join(folder, f)) for f in os.listdir(folder))
    print(json.dumps({"name": "ezdxf_section", "seconds": best, "bytes": size,
                      "bytes_per_second": size / best,
                      "entities": sum(len(s) for s in sets)}))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
