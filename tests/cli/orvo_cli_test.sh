#!/bin/bash
# The orvo command line: init and tree on the default database, exit codes, damaged data.
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

check "init succeeds" "$orvo" init "$work/w"
"$orvo" -C "$work/w" tree >"$work/tree.txt" 2>"$work/err.txt"
if ! cmp -s "$work/tree.txt" "$golden/expected.txt"; then
    cp "$work/tree.txt" "$golden/actual.txt"
    echo "FAIL: tree differs from $golden/expected.txt (actual.txt written beside it)"
    diff -u "$golden/expected.txt" "$work/tree.txt"
    failures=$((failures + 1))
fi
check "tree prints nothing on stderr" test ! -s "$work/err.txt"

# Dictionaries: index first, then the fields, tab-separated.
"$orvo" -C "$work/w" dict types >"$work/types.txt"
check "dict types lists record 0 first" grep -q $'^0\t' "$work/types.txt"
check "dict types has the pit with its widths" grep -q $'\tШурф\t8.0\t0.5\tна разрезе$' "$work/types.txt"
check "dict scales from 1:50" test "$("$orvo" -C "$work/w" dict scales | head -n 1)" = $'0\t1:50'
check "dict formats has A3" grep -q $'\tА3\t297\t420$' <("$orvo" -C "$work/w" dict formats)
check "dict surnames" test "$("$orvo" -C "$work/w" dict surnames | wc -l)" -ge 3
check "dict forms starts with form 0" grep -q $'^0\tСтандартная$' <("$orvo" -C "$work/w" dict forms)
check "dict symbols lists the groundwater mark" grep -q $'^1\tУровень появившийся\t' <("$orvo" -C "$work/w" dict symbols)
check "dict consistency" grep -q $'\tтугопластичная$' <("$orvo" -C "$work/w" dict consistency)
check "dict water names its symbol" grep -q $'\tУстановившийся уровень\tзначок 2$' <("$orvo" -C "$work/w" dict water)
check "dict samples" grep -q $'\tМонолит\t' <("$orvo" -C "$work/w" dict samples)

# Boreholes: every demo borehole passes the checks; a spoiled one is reported like the editor does.
for n in 1 2 3 4 5 6 7 8; do
    check "demo borehole $n is valid" "$orvo" -C "$work/w" borehole validate 1 $n
done
check "borehole show names the consistency" grep -q $'\t3а\t' <("$orvo" -C "$work/w" borehole show 1 1)
skv="$work/w/DATA/00001.OBJ/00000002.SKV"
cp "$skv" "$work/skv.bak"
printf '\x00' | dd of="$skv" bs=1 seek=26 conv=notrunc status=none   # depth 0 -> low bytes
printf '\x00\x00\x00\x00' | dd of="$skv" bs=1 seek=26 conv=notrunc status=none
"$orvo" -C "$work/w" borehole validate 1 2 >"$work/val.txt"
rc=$?
check "invalid borehole exits 1" test "$rc" = 1
check "the depth message" grep -q '^Глубина выработки = 0.00$' "$work/val.txt"
check "Data.err is written" test -s "$work/w/Data.err"
cp "$work/skv.bak" "$skv"
truncate -s 50 "$skv"
check "truncated borehole refused" test "$(status_of "$orvo" -C "$work/w" borehole show 1 2)" = 1
cp "$work/skv.bak" "$skv"
check "bad borehole arguments are a usage error" test "$(status_of "$orvo" -C "$work/w" borehole show 1)" = 2

# Layout of the two demo sections: one sheet with AUTO, two sheets at fixed scales.
"$orvo" -C "$work/w" layout 1 1 >"$work/layout1.txt"
check "layout of section 1" test "$?" = 0
check "AUTO says so" grep -q '^Масштаб по вертикали 1:[0-9]* (выбран автоматически)$' "$work/layout1.txt"
check "section 1 is one sheet from 1 to 4" test "$(tail -n +2 "$work/layout1.txt" | cut -f1-3)" = $'1\t1\t4'
"$orvo" -C "$work/w" layout 1 2 >"$work/layout2.txt"
check "section 2 has a fixed scale" grep -q '^Масштаб по вертикали 1:100$' "$work/layout2.txt"
check "section 2 needs two or more sheets" test "$(tail -n +2 "$work/layout2.txt" | wc -l)" -ge 2
dat="$work/w/DATA/00001.OBJ/000001.DAT"
cp "$dat" "$work/dat.bak"
head -c 182 "$work/dat.bak" >"$dat"   # the header and one borehole
"$orvo" -C "$work/w" layout 1 1 >/dev/null 2>"$work/err.txt"
rc=$?
check "a one-borehole section is refused" test "$rc" = 1
check "with the message, line breaks kept" grep -q '^меньше 2-х выработок$' "$work/err.txt"
cp "$work/dat.bak" "$dat"

# Connections: automatic connection saved through the working copy, read back unchanged.
"$orvo" -C "$work/w" connect 1 2 --auto --save >"$work/conn1.txt"
check "connect --auto --save succeeds" test "$?" = 0
check "the section's connection file is written" test -s "$work/w/DATA/00001.OBJ/000002.SLO"
check "no working copy is left behind" test ! -e "$work/w/WORK.SLO"
"$orvo" -C "$work/w" connect 1 2 >"$work/conn2.txt"
check "read back: same counts and lines" cmp -s "$work/conn1.txt" "$work/conn2.txt"
check "lines are listed" grep -q $'^1\tТочка: Устье выработки\t' "$work/conn2.txt"
check "a reading run leaves no working copy" test ! -e "$work/w/WORK.SLO"
check "areas are traced" test "$("$orvo" -C "$work/w" areas 1 2 | grep -c $'\tвправо\t')" -ge 4
check "the demo lens closes (a three-point outline)" grep -qE $'\t4\t[0-9]+ [0-9]+ [0-9]+ [0-9]+$' <("$orvo" -C "$work/w" areas 1 1)
check "connect needs OBJ and SEC" test "$(status_of "$orvo" -C "$work/w" connect 1)" = 2

check "unknown dictionary is a usage error" test "$(status_of "$orvo" -C "$work/w" dict nope)" = 2

check "init twice refuses with 1" test "$(status_of "$orvo" init "$work/w")" = 1
check "unknown command is a usage error" test "$(status_of "$orvo" frobnicate)" = 2
check "no command is a usage error" test "$(status_of "$orvo")" = 2
check "extra argument is a usage error" test "$(status_of "$orvo" -C "$work/w" tree x)" = 2
check "folder without DATA refuses" test "$(status_of "$orvo" -C "$work" tree)" = 1

# Hatch types and IGE descriptions: the dictionaries, a section's list, the test-print page.
check "at least 12 hatches" test "$("$orvo" -C "$work/w" dict hatches | wc -l)" -ge 12
check "a hatch row: slot, name, line, segment and symbol counts" \
    grep -q $'^0\tГлина\t1\t0\t0$' <("$orvo" -C "$work/w" dict hatches)
check "standard descriptions name their hatch" grep -q $'^1\t2\t1\tСуглинок ' <("$orvo" -C "$work/w" dict ige)
"$orvo" -C "$work/w" ige 1 1 >"$work/ige1.txt"
check "section 1: five IGEs in order" test "$(cut -f1 "$work/ige1.txt" | tr '\n' ' ')" = "1 2 3а 3б 4 "
check "section 1: all standard" test "$(cut -f2 "$work/ige1.txt" | sort -u)" = standard
check "section 2: 3б has its own text and hatch" \
    grep -q $'^3б\town\t5\tПесок пылеватый\tПесок пылеватый, ' <("$orvo" -C "$work/w" ige 1 2)
check "hatch sample to PDF" "$orvo" -C "$work/w" hatch sample 1 --pdf "$work/s.pdf"
check "the PDF has one page" test "$(pdfinfo "$work/s.pdf" | sed -n 's/^Pages: *//p')" = 1
check "hatch sample to PNG" "$orvo" -C "$work/w" hatch sample 1 --png "$work/s.png" --dpi 254
check "the PNG is an A4 page at 254 dpi" \
    test "$(od -An -tu1 -j16 -N8 "$work/s.png" | tr -s ' ')" = " 0 0 8 52 0 0 11 154"
check "an unused slot is refused" test "$(status_of "$orvo" -C "$work/w" hatch sample 99 --png "$work/x.png")" = 1
check "a sample without a file is a usage error" test "$(status_of "$orvo" -C "$work/w" hatch sample 1)" = 2

# The database checker: a sound default database, then a missing borehole list and a renamed
# borehole file, repaired by --fix; the list is rebuilt in ascending order.
"$orvo" -C "$work/w" check >"$work/check.txt"
check "check of the default database exits 0" test $? = 0
check "check: the demo object is sound and working" \
    grep -q $'^00001\t0\tрабочий\tДемонстрационный объект$' "$work/check.txt"
check "check: a borehole in the list" grep -q $'^\t00000001\t1\tв списке$' "$work/check.txt"
check "check: no faults" test "$(tail -n 1 "$work/check.txt")" = "Обнаружено ошибок: 0 шт"
check "check with an unknown option is a usage error" \
    test "$(status_of "$orvo" -C "$work/w" check --frob)" = 2
check "check without OBJ.SPS exits 1" test "$(status_of "$orvo" -C "$work" check)" = 1
check "check without OBJ.SPS says so" grep -q 'Не обнаружен список объектов' <("$orvo" -C "$work" check 2>&1)
cp -r "$work/w" "$work/c"
obj1=$(find "$work/c/DATA" -maxdepth 1 -iname 00001.obj)
rm "$obj1/SKV.SPS"
mv "$obj1/00000003.SKV" "$obj1/notes.skv"
"$orvo" -C "$work/c" check >"$work/check.txt"
check "check of a spoiled copy exits 1" test $? = 1
check "check: status 2 for object 1" grep -q $'^00001\t2\t' "$work/check.txt"
check "check: files not in the missing list" grep -q $'^\t00000001\t1\tнет в списке$' "$work/check.txt"
check "check: notes.skv is no borehole" test "$(grep -c $'^\t' "$work/check.txt")" = 7
check "check: one fault" test "$(tail -n 1 "$work/check.txt")" = "Обнаружено ошибок: 1 шт"
"$orvo" -C "$work/c" check --fix >"$work/check.txt"
check "check --fix exits 0" test $? = 0
check "check --fix counts the list" test "$(head -n 1 "$work/check.txt")" = "Исправлено списков выработок: 1"
check "check --fix reports the rescan" test "$(tail -n 1 "$work/check.txt")" = "Обнаружено ошибок: 0 шт"
check "the rebuilt list holds the remaining numbers in order" \
    test "$(od -An -td4 -v -w4 "$obj1/SKV.SPS" | tr -d ' ' | tr '\n' ' ')" = "1 2 4 5 6 7 8 "
check "no second list in another case" test "$(find "$obj1" -iname skv.sps | wc -l)" = 1

# A damaged title: the program's fatal message, exit 1, no crash.
title=$(find "$work/w/DATA" -name OBJ.TIT | head -n 1)
head -c 100 "$title" >"$title.short" && mv "$title.short" "$title"
"$orvo" -C "$work/w" tree >/dev/null 2>"$work/err.txt"
rc=$?
check "damaged title exits 1" test "$rc" = 1
check "damaged title message" grep -q 'FATAL ERROR: Неверный формат файла "DATA\\00001.OBJ\\OBJ.TIT"' "$work/err.txt"
rm "$title"
"$orvo" -C "$work/w" tree >/dev/null 2>"$work/err.txt"
check "missing title message" grep -q 'дальнейшая работа невозможна' "$work/err.txt"

if [ "$failures" -ne 0 ]; then echo "$failures check(s) failed"; exit 1; fi
echo "all orvo command-line checks passed"
