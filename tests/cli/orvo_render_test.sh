#!/bin/bash
# orvo render on the demonstration section "Разрез 2-2": one PDF page per sheet and the legend,
# each sized to its sheet; PNG images of the sheets' pixel sizes; a 100 mm distance on paper is
# 100 mm in the PDF; refusals.
set -u
orvo=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() { # description, then a command that must succeed
    local what=$1; shift
    if ! "$@"; then echo "FAIL: $what"; failures=$((failures + 1)); fi
}
status_of() { "$@" >/dev/null 2>&1; echo $?; }
export SOURCE_DATE_EPOCH=1765184400

check "init succeeds" "$orvo" init "$work/w" >/dev/null
sheets=$("$orvo" -C "$work/w" layout 1 2 | tail -n +2 | wc -l)
check "the demo section has two sheets" test "$sheets" = 2
check "render to PDF" "$orvo" -C "$work/w" render 1 2 --pdf "$work/s.pdf" >"$work/pdf.txt"
check "one line per sheet and the legend" test "$(wc -l <"$work/pdf.txt")" = $((sheets + 1))
check "pages = sheets + legend" test "$(pdfinfo "$work/s.pdf" | sed -n 's/^Pages: *//p')" = $((sheets + 1))
check "the metafiles are in the working folder" test -s "$work/w/P000.tmf" -a -s "$work/w/H002.tmf"
check "no working connections are left behind" test ! -e "$work/w/WORK.SLO"

# Page sizes within 0.3 mm of widthPx x heightPx at 300 dpi.
pdfinfo -f 1 -l $((sheets + 1)) "$work/s.pdf" | sed -n 's/^Page *[0-9]* size: *\([0-9.]*\) x \([0-9.]*\) pts.*/\1 \2/p' >"$work/pages.txt"
check "page sizes match the sheets" /usr/bin/python3 - "$work/pdf.txt" "$work/pages.txt" <<'PY'
import sys
rows = [l.split('\t') for l in open(sys.argv[1]).read().splitlines()]
pages = [l.split() for l in open(sys.argv[2]).read().splitlines()]
ok = len(rows) == len(pages)
for r, p in zip(rows, pages):
    for px, pts in ((int(r[1]), float(p[0])), (int(r[2]), float(p[1]))):
        if abs(px * 25.4 / 300 - pts * 25.4 / 72) > 0.3:
            print("page", p, "for", r); ok = False
sys.exit(0 if ok else 1)
PY

# The legend's title and the demo descriptions are text in the PDF.
last=$((sheets + 1))
pdftotext -f $last -l $last "$work/s.pdf" "$work/legend.txt"
# pdftotext joins letters closer than 0.4 em, so the letter-spaced title is compared without blanks.
check "the legend title" grep -q "ЛИСТУСЛОВНЫХОБОЗНАЧЕНИЙ" <(tr -d ' ' <"$work/legend.txt")
check "a demo description" grep -q "Суглинок тугопластичный" "$work/legend.txt"
check "the footer time" grep -q "8-12-2025 9:00:00" <(pdftotext -f 1 -l 1 "$work/s.pdf" -)

# At 254 dpi a pixel is 0.1 mm: the drawing frame's left edge lies 20 mm in from the border.
pdftoppm -f 1 -l 1 -r 254 -gray "$work/s.pdf" "$work/page"
check "20 mm on paper is 200 pixels at 254 dpi" /usr/bin/python3 - "$work"/page*.pgm <<'PY'
import sys
data = open(sys.argv[1], 'rb').read()
parts = data.split(maxsplit=4)
w, h = int(parts[1]), int(parts[2])
pixels = parts[4]
row = pixels[w * (h // 2): w * (h // 2 + 1)]
dark = [x for x in range(w) if row[x] < 128]
edges = [x for i, x in enumerate(dark) if i == 0 or dark[i - 1] != x - 1]
ok = len(edges) >= 2 and abs((edges[1] - edges[0]) - 200) <= 2
if not ok: print(edges[:5])
sys.exit(0 if ok else 1)
PY

check "render to PNG" "$orvo" -C "$work/w" render 1 2 --png "$work/png" --dpi 100 --no-texts >"$work/png.txt"
for n in $(seq 0 "$sheets"); do
    file=$(printf '%s/png/sheet%03d.png' "$work" "$n")
    size=$(/usr/bin/python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(24); print("%d %d" % struct.unpack(">II", d[16:24]))' "$file")
    expected=$(awk -F'\t' -v n="$n" '$1 == n {print $2 " " $3}' "$work/png.txt")
    check "sheet $n PNG is widthPx x heightPx" test "$size" = "$expected"
done

check "an unknown section is refused" test "$(status_of "$orvo" -C "$work/w" render 1 99 --pdf "$work/x.pdf")" = 1
check "no output is a usage error" test "$(status_of "$orvo" -C "$work/w" render 1 2)" = 2
check "both outputs are a usage error" test "$(status_of "$orvo" -C "$work/w" render 1 2 --pdf a --png b)" = 2

[ "$failures" = 0 ] && echo "orvo render: all checks passed"
exit $((failures > 0))
