#!/bin/bash
# orvo export-dxf on the demonstration database: the sheet files, legend and description of
# "Разрез 2-2" read back by ezdxf; the archive form; a target that cannot be written; --all;
# DXF.SAV never written; no working file left in the working folder.
set -u
orvo=$1
readback=$2
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
failures=0
check() { # description, then a command that must succeed
    local what=$1; shift
    if ! "$@"; then echo "FAIL: $what"; failures=$((failures + 1)); fi
}
status_of() { "$@" >/dev/null 2>&1; echo $?; }

check "init succeeds" "$orvo" init "$work/w" >/dev/null
ls "$work/w" >"$work/before.txt"
sheets=$("$orvo" -C "$work/w" layout 1 2 | tail -n +2 | wc -l)

check "export succeeds" "$orvo" -C "$work/w" export-dxf 1 2 --out "$work/out" >"$work/names.txt"
expected=""
for ((i = 0; i <= sheets; i++)); do expected+="R2_$i.DXF"$'\n'; done
expected+="R2_.txt"
check "prints the delivered names" test "$(cat "$work/names.txt")" = "$expected"
for ((i = 0; i <= sheets; i++)); do
    check "R2_$i.DXF reads back" /usr/bin/python3 "$readback" "$work/out/R2_$i.DXF" >/dev/null
done
check "the legend holds its title" /usr/bin/python3 "$readback" "$work/out/R2_$sheets.DXF" \
    "Л И С Т   У С Л О В Н Ы Х   О Б О З Н А Ч Е Н И Й" >/dev/null
check "the description names the legend" grep -q "R2_$sheets.dxf  - " "$work/out/R2_.txt"
check "the description has CR LF lines" grep -q $'\r$' "$work/out/R2_.txt"
check "no DXF.SAV" test ! -e "$work/w/DXF.SAV"
ls "$work/w" >"$work/after.txt"
check "no working file is left" cmp -s "$work/before.txt" "$work/after.txt"

check "boundaries add closed Htr polylines" "$orvo" -C "$work/w" export-dxf 1 2 --out "$work/b" \
    --boundary --prefix B_ >/dev/null
check "the prefix names the files" test -s "$work/b/B_0.DXF" -a -s "$work/b/B_.txt"
check "boundary polylines present" grep -q -a -A5 '^Htr' "$work/b/B_0.DXF"

check "archive mode" "$orvo" -C "$work/w" export-dxf 1 2 --out "$work/z" --zip >"$work/znames.txt"
check "archive names" test "$(cat "$work/znames.txt")" = $'R2_.zip\nR2_.txt'
check "no DXF beside the archive" test -z "$(ls "$work/z" | grep -i '\.dxf$')"
check "the archive holds every sheet" /usr/bin/python3 - "$work/z/R2_.zip" $((sheets + 1)) <<'PY'
import sys, zipfile
z = zipfile.ZipFile(sys.argv[1])
names = z.namelist()
want = [f"R2_{i}.DXF" for i in range(int(sys.argv[2]))]
sys.exit(0 if names == want and all(z.read(n).endswith(b"EOF\r\n") for n in names) else 1)
PY

# A target that cannot be written: exit 1, no archive, a message on stderr.
mkdir -p "$work/ro"
touch "$work/ro/blocker"
check "a file as the target folder refuses" \
    test "$(status_of "$orvo" -C "$work/w" export-dxf 1 2 --out "$work/ro/blocker" --zip)" = 1
check "no archive after the refusal" test ! -e "$work/ro/R2_.zip"
if [ "$(id -u)" != 0 ]; then
    chmod a-w "$work/ro"
    check "a read-only folder refuses" \
        test "$(status_of "$orvo" -C "$work/w" export-dxf 1 2 --out "$work/ro" --zip)" = 1
    check "no archive in it" test ! -e "$work/ro/R2_.zip"
    chmod u+w "$work/ro"
fi
check "a prefix with a separator refuses" \
    test "$(status_of "$orvo" -C "$work/w" export-dxf 1 2 --out "$work/out" --prefix ../x)" = 1

check "--all exports both demo sections" "$orvo" -C "$work/w" export-dxf --all --out "$work/all" \
    >"$work/allnames.txt"
check "--all prefixes" test -s "$work/all/R1_.txt" -a -s "$work/all/R2_.txt" -a -s "$work/all/R1_0.DXF"
check "usage errors exit 2" test "$(status_of "$orvo" -C "$work/w" export-dxf 1 --out x)" = 2
check "--all takes no prefix" test "$(status_of "$orvo" -C "$work/w" export-dxf --all --out x --prefix P)" = 2

[ "$failures" = 0 ] && echo "all export-dxf checks passed"
exit "$failures"
