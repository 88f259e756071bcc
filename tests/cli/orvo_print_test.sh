#!/bin/bash
# orvo print and orvo texts on the demonstration section "Разрез 2-2": printing by parts on a
# small page (page count from the grid of the sheet sizes orvo render reports), whole sheets on
# a large one, and the sheet texts with a stored placement.
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

"$orvo" init "$work/w" >/dev/null
"$orvo" -C "$work/w" render 1 2 --png "$work/png" --dpi 254 >"$work/sizes.txt"

check "print by parts" "$orvo" -C "$work/w" print 1 2 --pdf "$work/p.pdf" --page 288x432pt --dpi 254 --sheets 1,2 --marks 0 >"$work/parts.txt"
# Pages step by page - 2 pixels; each listed sheet prints its own block of the grid.
expected=$(awk -F'\t' '$1 < 2 {
    c = int(($2 - 1 + 1013) / 1014); r = int(($3 - 1 + 1521) / 1522); n += c * r } END { print n }' "$work/sizes.txt")
check "the grid's page count ($expected)" test "$(pdfinfo "$work/p.pdf" | sed -n 's/^Pages: *//p')" = "$expected"
check "every page 288 x 432 pts" test "$(pdfinfo -f 1 -l 999 "$work/p.pdf" | grep -c 'size: *288 x 432 pts')" = "$expected"
check "by-parts title" grep -q "^Title: *ORVO-II - Печать разреза (частями)$" <(pdfinfo "$work/p.pdf")
check "printed mode, page and pages per sheet" grep -qP "^частями\t1016x1524\t\d+x\d+\t\d+,\d+,0$" "$work/parts.txt"
check "the pages per sheet add up" test "$(awk -F'\t' '{ n = split($4, a, ","); for (i = 1; i <= n; ++i) s += a[i]; print s }' "$work/parts.txt")" = "$expected"
check "nothing to print is refused" test "$(status_of "$orvo" -C "$work/w" print 1 2 --pdf "$work/none.pdf" --sheets 9)" = 1
check "and writes no file" test ! -e "$work/none.pdf" -a ! -e "$work/none.pdf.part"

check "print whole sheets" "$orvo" -C "$work/w" print 1 2 --pdf "$work/f.pdf" --page 1000x600mm >"$work/full.txt"
check "one page per sheet and the legend" test "$(pdfinfo "$work/f.pdf" | sed -n 's/^Pages: *//p')" = "$(wc -l <"$work/sizes.txt")"
check "full-sheet title" grep -q "^Title: *ORVO-II - Печать разреза (полный лист)$" <(pdfinfo "$work/f.pdf")
check "\"Разрез:\" 30 mm from the sheet's left edge" /usr/bin/python3 - "$work/f.pdf" <<'PY'
import re, subprocess, sys
out = subprocess.run(["pdftotext", "-f", "1", "-l", "1", "-bbox", sys.argv[1], "-"],
                     capture_output=True, text=True).stdout
m = re.search(r'xMin="([0-9.]+)"[^>]*>Разрез:<', out)
sys.exit(0 if m and abs(float(m.group(1)) * 25.4 / 72 - 30) <= 1 else 1)
PY

# Sheet texts: one line per text, and a stored placement applied.
"$orvo" -C "$work/w" texts 1 2 >"$work/texts.txt"
check "texts print the first label with its default place" grep -q $'^1\t0\t0.80\t0\t1\t0.8000\t0.4000\t1$' "$work/texts.txt"
/usr/bin/python3 - "$work/w/DATA/00001.OBJ/000002.MTX" <<'PY'
import struct, sys
open(sys.argv[1], "wb").write(struct.pack("<ii", 200, 100) +
                              struct.pack("<iifiiff", 1, 0, 0.8, 0, 0, 1.5, 0.25))
PY
"$orvo" -C "$work/w" texts 1 2 >"$work/moved.txt"
check "the stored placement moves and hides the label" grep -q $'^1\t0\t0.80\t0\t0\t1.5000\t0.2500\t1$' "$work/moved.txt"
check "as many texts as before" test "$(wc -l <"$work/moved.txt")" = "$(wc -l <"$work/texts.txt")"
check "a level shows its elevation and date" grep -qP '^1\t1\t8.70\t3\t1\t-1.2000\t0.0000\t142.50 15.05.26$' "$work/texts.txt"

check "an unknown section is refused" test "$(status_of "$orvo" -C "$work/w" print 1 99 --pdf "$work/x.pdf")" = 1
check "print without a file is a usage error" test "$(status_of "$orvo" -C "$work/w" print 1 2)" = 2
check "a bad page is a usage error" test "$(status_of "$orvo" -C "$work/w" print 1 2 --pdf "$work/x.pdf" --page 10x10cm)" = 2

[ "$failures" = 0 ] && echo "orvo print and texts: all checks passed"
exit $((failures > 0))
