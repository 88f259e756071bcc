#!/usr/bin/python3
"""Writes the plain sheet of bench/dxf_writer_bench.cpp with ezdxf's fast R12 writer and times it.

Usage: dxf-ezdxf-bench.py [ENTITIES]   (100000 by default)
The same entities as the benchmark: ENTITIES open polylines of 10 vertices on one layer and
ENTITIES texts "Скважина 12", in Windows-1251 with CR LF line ends, written to a temporary
folder and flushed to disk as the program's save does. Prints one JSON line with the seconds,
the file size and the bytes per second, for tools/bench. Best of three runs.
Run with Debian's /usr/bin/python3, which has python3-ezdxf.
"""
import json
import os
import sys
import tempfile
import time

from ezdxf.addons import r12writer

VERTICES = 10
TEXT = "Скважина 12"


def write_sheet(path, count):
    with open(path, "wt", encoding="cp1251", newline="\r\n") as stream:
        with r12writer(stream) as dxf:
            for i in range(count):
                x0 = (i % 400) * 1.0625
                y0 = (i // 400) * 0.75
                points = [(x0 + v * 2.5, y0 - v * 0.125) for v in range(VERTICES)]
                dxf.add_polyline_2d(points, layer="Line")
            for i in range(count):
                dxf.add_text(TEXT, insert=((i % 700) * 0.6, (i // 700) * 2.25), height=2.5,
                             layer="Text", style="IGE")
        stream.flush()
        os.fsync(stream.fileno())


def main(argv):
    count = int(argv[1]) if len(argv) > 1 else 100000
    with tempfile.TemporaryDirectory(prefix="orvo-ezdxf-") as folder:
        path = os.path.join(folder, "sheet.dxf")
        best = None
        for _ in range(3):
            start = time.perf_counter()
            write_sheet(path, count)
            elapsed = time.perf_counter() - start
            best = elapsed if best is None else min(best, elapsed)
        size = os.path.getsize(path)
    print(json.dumps({"name": "ezdxf_r12writer", "seconds": best, "bytes": size,
                      "bytes_per_second": size / best}))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
