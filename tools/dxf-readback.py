#!/usr/bin/python3
"""Reads a DXF file we wrote with a third-party reader (python3-ezdxf) and fails on what it rejects.

Usage: dxf-readback.py FILE [EXPECTED_TEXT]
Exit 1 when the file does not load, when the auditor reports errors, or when EXPECTED_TEXT is
given and no TEXT entity decodes to it (a wrong code page shows up here as mojibake).
Run with Debian's /usr/bin/python3, which has python3-ezdxf.
"""
import sys

import ezdxf


def main(argv):
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


if __name__ == "__main__":
    sys.exit(main(sys.argv))
