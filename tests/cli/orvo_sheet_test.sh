#!/bin/bash
# orvo borehole text and sheet on the default database: the text export against its goldens in
# both code pages, the PDF's pages, size and title, and the refusals.
set -u
orvo=$1
golden=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() { # description, then a command that must succeed
    local what=$1; shift
    if ! "$@"; then echo "FAIL: $what"; failures=$((failures + 1)); fi
}
status_of() { "$@" >/dev/null 2>&1; echo $?; }

check "init succeeds" "$orvo" init "$work/w" >/dev/null
check "init writes the 334-byte layout" test "$(stat -c %s "$work/w/DATA/View_SKV.prm")" = 334

"$orvo" -C "$work/w" borehole text 1 1 >"$work/t1251.txt"
check "text equals the 1251 golden" cmp "$work/t1251.txt" "$golden/borehole-text-1251/expected.txt"
"$orvo" -C "$work/w" borehole text 1 1 --oem >"$work/t866.txt"
check "text --oem equals the 866 golden" cmp "$work/t866.txt" "$golden/borehole-text-866/expected.txt"
check "866 converted back is the 1251 text" cmp <(iconv -f cp866 -t cp1251 "$work/t866.txt") "$work/t1251.txt"
check "-o writes the same bytes" "$orvo" -C "$work/w" borehole text 1 1 -o "$work/o.txt"
check "-o file equals stdout" cmp "$work/o.txt" "$work/t1251.txt"
"$orvo" -C "$work/w" borehole text 1 1 --parts 1 | iconv -f cp1251 -t utf-8 >"$work/p1.txt"
check "--parts 1 has no table" test "$(grep -c 'Таблица' "$work/p1.txt")" = 0
check "--parts 1 has the type line last" test "$(tail -n 1 "$work/p1.txt")" = $'Тип выработки: Скважина\r'
"$orvo" -C "$work/w" borehole text 1 1 --parts 8 | iconv -f cp1251 -t utf-8 >"$work/p8.txt"
check "--parts 8 has only the sample table" test "$(grep -c 'Таблица' "$work/p8.txt")" = 1

check "sheet succeeds" "$orvo" -C "$work/w" borehole sheet 1 1 --pdf "$work/s.pdf"
pdfinfo "$work/s.pdf" >"$work/info.txt"
check "sheet has one page" grep -q '^Pages: *1$' "$work/info.txt"
check "sheet is A4" grep -q '^Page size: *595 x 842 pts' "$work/info.txt"
check "sheet is titled as the print job" grep -q '^Title: *Печать данных по выработке$' "$work/info.txt"
check "--parts 1 --pages 1-1" "$orvo" -C "$work/w" borehole sheet 1 1 --pdf "$work/p.pdf" --parts 1 --pages 1-1
check "a range past the sheet is refused" test "$(status_of "$orvo" -C "$work/w" borehole sheet 1 1 --pdf "$work/x.pdf" --pages 2-3)" = 1
check "sheet without --pdf is a usage error" test "$(status_of "$orvo" -C "$work/w" borehole sheet 1 1)" = 2
check "bad --parts is a usage error" test "$(status_of "$orvo" -C "$work/w" borehole text 1 1 --parts 16)" = 2
check "a missing borehole is refused" test "$(status_of "$orvo" -C "$work/w" borehole text 1 999)" = 1
for bad in "x 1" "1 1z" "-1 1" "1 2.5"; do
    read -r obj num <<<"$bad"
    check "OBJ NUM '$bad' is a usage error" test "$(status_of "$orvo" -C "$work/w" borehole text "$obj" "$num")" = 2
    check "sheet OBJ NUM '$bad' is a usage error" test "$(status_of "$orvo" -C "$work/w" borehole sheet "$obj" "$num" --pdf "$work/u.pdf")" = 2
done

# A PDF that cannot be written is refused and leaves no file; an existing one stays whole.
"$orvo" -C "$work/w" borehole sheet 1 1 --pdf "$work/none/s.pdf" 2>"$work/err.txt"
check "unwritable PDF: exit 1" test "$?" = 1
check "unwritable PDF: the message" grep -q "Ошибка открытия ($work/none/s.pdf)" "$work/err.txt"
mkdir "$work/ro" && cp "$work/s.pdf" "$work/ro/s.pdf" && chmod a-w "$work/ro"
if [ ! -w "$work/ro" ]; then # root writes anyway
    check "read-only folder: exit 1" test "$(status_of "$orvo" -C "$work/w" borehole sheet 1 1 --pdf "$work/ro/s.pdf" --parts 1)" = 1
    check "read-only folder: the old PDF stays" cmp "$work/ro/s.pdf" "$work/s.pdf"
fi
chmod u+w "$work/ro"

# Rows 60 mm high in all three tables (sizes S17, S26 and S35 at bytes 290, 308 and 326)
# spread the demo borehole over four pages.
cp "$work/w/DATA/View_SKV.prm" "$work/layout.std"
for offset in 290 308 326; do
    printf '\x58\x02' | dd of="$work/w/DATA/View_SKV.prm" bs=1 seek=$offset conv=notrunc status=none
done
pages_of() { pdfinfo "$1" | sed -n 's/^Pages: *//p'; }
check "tall rows: sheet succeeds" "$orvo" -C "$work/w" borehole sheet 1 1 --pdf "$work/m.pdf"
check "tall rows: four pages" test "$(pages_of "$work/m.pdf")" = 4
check "tall rows: every page A4" test "$(pdfinfo -l 4 "$work/m.pdf" | grep -c 'size: *595 x 842 pts')" = 4
check "--pages 3-4" "$orvo" -C "$work/w" borehole sheet 1 1 --pdf "$work/m34.pdf" --pages 3-4
check "--pages 3-4: two pages" test "$(pages_of "$work/m34.pdf")" = 2
check "--pages 3-9 stops at the last page" "$orvo" -C "$work/w" borehole sheet 1 1 --pdf "$work/m39.pdf" --pages 3-9
check "--pages 3-9: two pages" test "$(pages_of "$work/m39.pdf")" = 2
check "--pages 5-6 is refused" test "$(status_of "$orvo" -C "$work/w" borehole sheet 1 1 --pdf "$work/m56.pdf" --pages 5-6)" = 1
cp "$work/layout.std" "$work/w/DATA/View_SKV.prm"

# Without the layout (or with a short one) the sheet is refused; the text needs none.
mv "$work/w/DATA/View_SKV.prm" "$work/layout.bak"
"$orvo" -C "$work/w" borehole sheet 1 1 --pdf "$work/n.pdf" 2>"$work/err.txt"
check "no layout: exit 1" test "$?" = 1
check "no layout: the message names the file" grep -q 'View_SKV.prm' "$work/err.txt"
check "no layout: no PDF" test ! -e "$work/n.pdf"
check "no layout: text still works" "$orvo" -C "$work/w" borehole text 1 1 -o "$work/o2.txt"
head -c 300 "$work/layout.bak" >"$work/w/DATA/View_SKV.prm"
check "short layout: exit 1" test "$(status_of "$orvo" -C "$work/w" borehole sheet 1 1 --pdf "$work/n.pdf")" = 1

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all checks passed"
