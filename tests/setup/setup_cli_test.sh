#!/bin/bash
# The installer from the command line: orvo_pack builds the package from a folder orvo init
# filled, SetupO2 --unattended installs it, orvo tree runs inside the installed root; then
# reinstallation with and without --overwrite, and shortcuts under a scratch home.
set -u
pack=$1 setup=$2 orvo2=$3 check=$4 orvo=$5 golden=$6
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() { # description, then a command that must succeed
    local what=$1; shift
    if ! "$@"; then echo "FAIL: $what"; failures=$((failures + 1)); fi
}
listing() { (cd "$1" && find . -printf '%p %m %s\n' | sort && find . -type f -print0 | sort -z | xargs -0 md5sum); }
unset QT_QPA_PLATFORM DISPLAY WAYLAND_DISPLAY   # the unattended mode needs no display
export HOME=$work/home XDG_DATA_HOME=$work/home/.local/share XDG_CONFIG_HOME=$work/home/.config
mkdir -p "$HOME"

"$orvo" init "$work/stage" >/dev/null
mkdir -p "$work/dist"
check "orvo_pack builds the package" "$pack" --out "$work/dist/Orvo2.cab" \
    --programs "$orvo2" "$check" "$orvo" --data "$work/stage"
cp "$setup" "$work/dist/SetupO2"
"$pack" --list "$work/dist/Orvo2.cab" >"$work/list.txt"
check "the package starts with the programs, then DATA" test \
    "$(head -n 4 "$work/list.txt" | cut -d' ' -f1,2 | tr '\n' ,)" = "F Orvo2,F O2_Check,F orvo,D DATA,"
"$pack" --out "$work/again.cab" --programs "$orvo2" "$check" "$orvo" --data "$work/stage/DATA"
check "the same inputs give the same bytes" cmp -s "$work/again.cab" "$work/dist/Orvo2.cab"
ln -s "$work/stage/DATA/OBJ.SPS" "$work/stage/DATA/a-name-that-is-longer-than-thirty"
check "a name over 30 bytes is refused" test "$("$pack" --out "$work/long.cab" --programs \
    "$orvo2" "$check" "$orvo" --data "$work/stage" 2>/dev/null; echo $?)" = 1
rm "$work/stage/DATA/a-name-that-is-longer-than-thirty"
check "usage errors exit 2" test "$("$pack" --list 2>/dev/null; echo $?)" = 2

# The package is found beside the installer, not in the current folder.
B="$work/base with space"
mkdir -p "$B"
(cd "$work" && "$work/dist/SetupO2" --unattended --base "$B" --no-desktop --no-menu) 2>"$work/err.txt"
check "the installer exits 0" test $? = 0
check "the completion message goes to stderr" grep -q '^Установка завершена: ' "$work/err.txt"
"$B/Orvo-2/orvo" -C "$B/Orvo-2" tree >"$work/tree.txt"
check "orvo tree in the installed root prints the default tree" cmp -s "$work/tree.txt" "$golden/expected.txt"
check "Orvo2 is executable" test -x "$B/Orvo-2/Orvo2"
check "O2_Check is executable" test -x "$B/Orvo-2/O2_Check"
check "database files are 0644" test "$(stat -c %a "$B/Orvo-2/DATA/status.sav")" = 644
check "no shortcut was asked for" test ! -e "$HOME/Desktop" -a ! -e "$XDG_DATA_HOME"

# Again without --overwrite: refused, nothing changes.
printf 'mine' >>"$B/Orvo-2/DATA/OBJ.SPS"
before=$(listing "$B")
"$work/dist/SetupO2" --unattended --base "$B" --no-desktop --no-menu 2>/dev/null
check "without --overwrite it exits 1" test $? = 1
check "without --overwrite nothing changes" test "$(listing "$B")" = "$before"
data_before=$(listing "$B/Orvo-2/DATA")
"$work/dist/SetupO2" --unattended --base "$B" --no-desktop --no-menu --overwrite 2>/dev/null
check "with --overwrite it exits 0" test $? = 0
check "with --overwrite DATA stays byte for byte" test "$(listing "$B/Orvo-2/DATA")" = "$data_before"
"$work/dist/SetupO2" --unattended --base "$B" --overwrite --replace-data 2>/dev/null
check "with --replace-data it exits 0" test $? = 0
check "the old DATA is moved aside" test "$(listing "$B/Orvo-2"/DATA.old-*)" = "$data_before"
check "the new DATA is the default database" cmp -s "$B/Orvo-2/DATA/OBJ.SPS" "$work/stage/DATA/OBJ.SPS"

# Shortcuts under the scratch home pass the validator.
desktop="$HOME/Desktop/ОРВО - версия 2.0.desktop"
check "the desktop shortcut is made" test -x "$desktop"
for f in "$desktop" "$XDG_DATA_HOME/applications/orvo2-main.desktop" \
         "$XDG_DATA_HOME/applications/orvo2-check.desktop" \
         "$XDG_DATA_HOME/desktop-directories/orvo2.directory"; do
    check "desktop-file-validate $(basename "$f")" desktop-file-validate "$f"
done
check "the merged menu is made" test -s "$XDG_CONFIG_HOME/menus/applications-merged/orvo2.menu"

# A relative base: the shortcuts still name the programs by full path. An existing root in
# another letter case is the one probed (a database: state 1) and filled.
mkdir -p "$work/rel/orvo-2/DATA" && printf 'x' >"$work/rel/orvo-2/DATA/status.sav"
(cd "$work" && "$work/dist/SetupO2" --unattended --base rel --no-desktop) 2>/dev/null
check "a relative base installs" test $? = 0
check "the existing orvo-2 gets the programs" test -x "$work/rel/orvo-2/Orvo2"
check "no second root beside it" test ! -e "$work/rel/Orvo-2"
check "its database is kept" test "$(cat "$work/rel/orvo-2/DATA/status.sav")" = x
check "the menu entry names the program by full path" \
    grep -qxF "Exec=\"$work/rel/orvo-2/Orvo2\"" "$XDG_DATA_HOME/applications/orvo2-main.desktop"

# A missing package.
rm "$work/dist/Orvo2.cab"
"$work/dist/SetupO2" --unattended --base "$work/b2" 2>"$work/err2.txt"
check "a missing package exits 1" test $? = 1
check "a missing package is named" grep -q 'Отсутствует установочный файл' "$work/err2.txt"
check "usage errors exit 2" test "$("$work/dist/SetupO2" --unattended 2>/dev/null; echo $?)" = 2

[ "$failures" = 0 ] && echo "setup_cli: all passed"
exit $((failures > 0))
