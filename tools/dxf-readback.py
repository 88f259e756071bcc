#!/usr/bin/python3
"""Reads a DXF file we wrote with a third-party reader (python3-ezdxf) and fails on what it rejects.

Usage: dxf-readback.py FILE [EXPECTED_TEXT]
       dxf-readback.py FILE --layers [EXPECTED_COUNTS]
Exit 1 when the file does not load, when the auditor reports errors, or when EXPECTED_TEXT is
given and no TEXT entity decodes to it (a wrong code page shows up here as mojibake).
--layers prints "layer<TAB>entity<TAB>count" per layer and entity type (vertices and SEQENDs not
counted); with EXPECTED_COUNTS, a file of such lines, exit 1 when the counts differ.
Run with Debian's /usr/bin/python3, which has python3-ezdxf.
"""
import sys

import ezdxf


def main(argv):
    if len(argv) in (3, 4) and argv[2] == "--layers":
        return layers(argv[1], argv[3] if len(argv) == 4 else None)
    if len(argv) not in (2, 3):
        print(__doc__, file=sys.stderr)
        return 2
    path = argv[1]
    try:
        doc = ezdxf.readfile(path)
    except (IOError, ezdxf.DXFError) as exc:
        print(f"{path}: not readable: {exc}", file=sys.stderr)
        return 1
    auditor = doc.audit()
    # Fixes are what the reader quietly repairs (defaults it adds); errors are what it cannot.
    for fix in auditor.fixes:
        print(f"{path}: fixed: {fix.message}")
    if auditor.has_errors:
        for err in auditor.errors:
            print(f"{path}: error: {err.message}", file=sys.stderr)
        return 1
    if len(argv) == 3:
        texts = [e.dxf.text for e in doc.modelspace().query("TEXT")]
        if argv[2] not in texts:
            print(f"{path}: no TEXT reads {argv[2]!r}; encoding {doc.encoding}, texts {texts!r}",
                  file=sys.stderr)
            return 1
    print(f"{path}: ok, encoding {doc.encoding}")
    return 0


def layers(path, expected_file):
    try:
        doc = ezdxf.readfile(path)
    except (IOError, ezdxf.DXFError) as exc:
        print(f"{path}: not readable: {exc}", file=sys.stderr)
        return 1
    if doc.audit().has_errors:
        print(f"{path}: the auditor reports errors", file=sys.stderr)
        return 1
    counts = {}
    for e in doc.modelspace():
        key = (e.dxf.layer, e.dxftype())
        counts[key] = counts.get(key, 0) + 1
    text = "".join(f"{layer}\t{kind}\t{n}\n" for (layer, kind), n in sorted(counts.items()))
    if expected_file is None:
        sys.stdout.write(text)
        return 0
    with open(expected_file, encoding="utf-8") as f:
        expected = f.read()
    if expected != text:
        print(f"{path}: entity counts differ:\n{text}expected:\n{expected}", file=sys.stderr)
        return 1
    print(f"{path}: ok, counts as expected")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
