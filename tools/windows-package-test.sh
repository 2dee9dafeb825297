#!/usr/bin/env bash
# tools/windows-package-test.sh BUILD_DIR: the Windows packages of a cross build of the
# desktop program (vask.exe and vask-cli.exe built in BUILD_DIR) and their round trip
# under Wine. Makes vask-<version>-windows.zip (cpack -G ZIP) and
# vask-<version>-windows-setup.exe (target windows-installer) in BUILD_DIR/packages,
# checks the zip's file list, then: a silent install into a folder with a Japanese name
# and a space; the installed vask-cli.exe runs an FF1 link with the installed siyo4.csv;
# the installed vask.exe opens its main window under Xvfb and keeps running, and a second
# start ends at once with status 0; after user.ini and a result are written into the
# program folder, a silent uninstall leaves exactly those two there and removes the
# Start-menu entry and the uninstall key. Exits non-zero on any failure.
#
# The Wine environment (WINEPREFIX, WINEDEBUG, WINEDLLOVERRIDES, locale, wineserver) is the
# caller's when WINEPREFIX is set; otherwise the script makes a prefix in BUILD_DIR that
# behaves as a Japanese Windows, as tools/windows-test.sh does (tools/japanese-wine.sh).
set -euo pipefail
[ $# -eq 1 ] || {
    echo "usage: tools/windows-package-test.sh BUILD_DIR" >&2
    exit 2
}
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
SECONDS=0

step_of="the package test"
# shellcheck source=tools/japanese-wine.sh
. "$root/tools/japanese-wine.sh"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || fail "no project version in $build/CMakeCache.txt"
for exe in vask.exe vask-cli.exe; do
    [ -f "$build/bin/$exe" ] || fail "no $exe in $build/bin: build the desktop program first"
done

step "packages"
# Stripping stamps the time into an executable's header unless SOURCE_DATE_EPOCH gives one:
# with it the zip and the installer carry the same bytes.
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 0)
    export SOURCE_DATE_EPOCH
fi
rm -rf "$build/packages"
(cd "$build" && cpack -G ZIP >/dev/null) || fail "cpack -G ZIP"
cmake --build "$build" --target windows-installer >/dev/null || fail "target windows-installer"
zip=$build/packages/vask-$version-windows.zip
setup=$build/packages/vask-$version-windows-setup.exe
[ -f "$zip" ] || fail "no $(basename "$zip")"
[ -f "$setup" ] || fail "no $(basename "$setup")"
echo "$(basename "$zip"): $(du -k "$zip" | cut -f1) KiB, $(basename "$setup"): $(du -k "$setup" | cut -f1) KiB"

work=$build/package-check
rm -rf "$work"
mkdir -p "$work/zip"
(cd "$work/zip" && cmake -E tar xf "$zip") || fail "unpacking $(basename "$zip")"
top=$work/zip/vask-$version-windows
[ "$(ls -A "$work/zip")" = "vask-$version-windows" ] || fail "the zip's top folder is not vask-$version-windows"
# Exactly these files: the program, its data, the manual, Qt's Japanese texts, the licences.
{
    printf '%s\n' vask.exe vask-cli.exe siyo4.csv movacal.csv translations/qtbase_ja.qm \
        licenses/LGPL-3.txt licenses/GPL-3.txt licenses/NOTICE.txt
    (cd "$root/docs" && find manual -type f)
} | sort >"$work/expected-files"
(cd "$top" && find . -type f | sed 's|^\./||' | sort) >"$work/zip-files"
diff "$work/expected-files" "$work/zip-files" >&2 || fail "the zip's file list (< expected, > in the zip)"
head -c 3 "$top/licenses/NOTICE.txt" | cmp -s - <(printf '\xef\xbb\xbf') || fail "NOTICE.txt has no UTF-8 byte-order mark"
grep -q 'Qt 6.4.2' "$top/licenses/NOTICE.txt" || fail "NOTICE.txt does not name Qt 6.4.2"
grep -q 'GNU LESSER GENERAL PUBLIC LICENSE' "$top/licenses/LGPL-3.txt" || fail "LGPL-3.txt"
grep -q 'GNU GENERAL PUBLIC LICENSE' "$top/licenses/GPL-3.txt" || fail "GPL-3.txt"
echo "zip file list as expected ($(wc -l <"$work/zip-files") files)"

step "Wine"
own_wine=
xserver=
first=
# On the way out: the first vask.exe if it still runs, the X server, and the wineserver if
# this script started it.
cleanup() {
    [ -z "$first" ] || kill "$first" 2>/dev/null || true
    [ -z "$xserver" ] || kill "$xserver" 2>/dev/null || true
    [ -z "$own_wine" ] || timeout 30 wineserver -k 2>/dev/null || true
}
trap cleanup EXIT
if [ -z "${WINEPREFIX:-}" ]; then
    own_wine=1
    japanese_wine "$build"
fi
# Start-menu entries made under Wine would otherwise become desktop entries of the
# machine's own user (winemenubuilder).
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}winemenubuilder.exe=d"
echo "prefix $WINEPREFIX$([ -n "$own_wine" ] && echo ' (made by this script)')"

# Every Wine program of the round trip sees one X server (Xvfb): the desktop process
# (explorer.exe) that Wine starts with the first program needing it keeps the display of
# that program, and a vask.exe started while a desktop without display lives gets no
# window. The server runs in the background for the whole test (its own process group,
# ended by cleanup) and tells its display and authority file through a file.
rm -f "$work/display"
timeout 600 xvfb-run -a sh -c 'printf "%s\n%s\n" "$DISPLAY" "$XAUTHORITY" >"$1.new" && mv "$1.new" "$1" && exec sleep 600' \
    sh "$work/display" >/dev/null 2>&1 &
xserver=$!
for _ in $(seq 40); do
    [ -f "$work/display" ] && break
    sleep 0.25
done
[ -f "$work/display" ] || fail "xvfb-run started no X server within 10 s"
DISPLAY=$(sed -n 1p "$work/display")
XAUTHORITY=$(sed -n 2p "$work/display")
export DISPLAY XAUTHORITY
echo "X server $DISPLAY"
winpath() { bounded 60 winepath -w "$1" 2>/dev/null | tr -d '\r'; }
cp932() { iconv -f UTF-8 -t CP932; }
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vask'

step "silent install"
folder='C:\診療所 ツール\ヴァスク'
installed="$WINEPREFIX/drive_c/診療所 ツール/ヴァスク"
rm -rf "$WINEPREFIX/drive_c/診療所 ツール"
find "$WINEPREFIX/drive_c/users" -name 'ヴァスク.lnk' -delete
# NSIS takes /D= only as the last, unquoted argument, spaces and all; Wine would quote an
# argument with a space, so cmd gets the command line as one piece.
setup_path=$(winpath "$setup")
[ -n "$setup_path" ] || fail "winepath $setup"
bounded 120 wine cmd /c "$setup_path /S /D=$folder" >"$work/install.log" 2>&1 ||
    fail "silent install: $(cat "$work/install.log")"
while IFS= read -r file; do
    [ -f "$installed/$file" ] || fail "not installed: $file"
done < <(cat "$work/expected-files" && echo uninstall.exe)
cmp -s "$installed/vask.exe" "$top/vask.exe" || fail "the installed vask.exe differs from the zip's"
shortcut=$(find "$WINEPREFIX/drive_c/users" -path '*/Start Menu/Programs/ヴァスク.lnk')
[ -n "$shortcut" ] || fail "no Start-menu entry ヴァスク"
# reg prints in the ANSI code page (932).
entry=$(bounded 60 wine reg query "$key" 2>/dev/null | iconv -f CP932 -t UTF-8) || fail "no uninstall entry $key"
for value in "DisplayName REG_SZ ヴァスク" "DisplayVersion REG_SZ $version" "InstallLocation REG_SZ $folder"; do
    tr -s ' ' <<<"$entry" | tr -d '\r' | grep -qxF " $value" || fail "the uninstall entry lacks $value"
done
echo "installed into $folder"

step "installed vask-cli.exe: FF1 link with the installed siyo4.csv"
mkdir -p "$work/FF1 データ" "$work/出力 フォルダ"
out="$work/出力 フォルダ"
{
    printf '施設コード\tID\t年月\tコード\t連番\tP1\tP2\tP3\tP4\tP5\tP6\tP7\tP8\tP9\r\n'
    printf '131\tA\t202404\tCPF0001\t1\t170\t60.5\t\t\t\t\t\t\t\r\n'
    printf '131\tA\t202404\tCPP0001\t1\t\t\t1000001\t\t\t\t\t\t\r\n'
} | cp932 >"$work/FF1 データ/G_FF1_202404.txt"
bounded 60 wine "$installed/vask-cli.exe" ff1 "$work/FF1 データ" --month 202404 -o "$out" \
    >"$work/stdout" 2>"$work/stderr" || fail "installed vask-cli.exe ff1: $(cat "$work/stderr")"
printf '%s\n' "$(winpath "$out/202404_ff1all.csv")" >"$work/expected"
cmp -s "$work/stdout" "$work/expected" || fail "ff1 printed $(cat "$work/stdout")"
iconv -f CP932 -t UTF-8 "$out/202404_ff1all.csv" | sed -n 2p >"$work/row"
printf 'A,,20240401,1000001,170,60.5%s\r\n' "$(printf ',%.0s' $(seq 83))" >"$work/expected"
cmp -s "$work/row" "$work/expected" || fail "202404_ff1all.csv differs from the expected bytes"
echo "FF1 link passed"

step "installed vask.exe under Xvfb: one copy at a time"
# The first copy runs in the background; its time limit is a last resort (its own process
# group, ended by cleanup on any failure). Wine runs under sh, which ends normally when
# taskkill kills it, so that bash tells no "Killed".
QT_QPA_PLATFORM=windows timeout --kill-after=10 120 sh -c 'wine "$1"; exit $?' sh "$installed/vask.exe" \
    >"$work/vask.log" 2>&1 &
first=$!
window=
for _ in $(seq 60); do
    if ! kill -0 "$first" 2>/dev/null; then
        status=0
        wait "$first" || status=$?
        first=
        fail "vask.exe ended with status $status: $(cat "$work/vask.log")"
    fi
    window=$(xwininfo -root -tree 2>/dev/null | grep -F '"VELTサポートツール": ("vask.exe"' || true)
    [ -n "$window" ] && break
    sleep 0.5
done
[ -n "$window" ] || fail "no main window of vask.exe within 30 s: $(cat "$work/vask.log")"
echo "main window:$window"
sleep 2
kill -0 "$first" 2>/dev/null || fail "vask.exe ended after opening its window"
start=$(date +%s%N)
status=0
QT_QPA_PLATFORM=windows bounded 30 wine "$installed/vask.exe" || status=$?
[ "$status" -eq 0 ] || fail "the second vask.exe ended with status $status"
echo "second copy ended with status 0 after $((($(date +%s%N) - start) / 1000000)) ms"
kill -0 "$first" 2>/dev/null || fail "the first vask.exe ended when the second started"
bounded 30 wine taskkill /f /im vask.exe >/dev/null 2>&1 || fail "taskkill vask.exe"
for _ in $(seq 40); do
    kill -0 "$first" 2>/dev/null || break
    sleep 0.5
done
! kill -0 "$first" 2>/dev/null || fail "the first vask.exe did not end within 20 s of taskkill"
wait "$first" || true
first=

step "silent uninstall keeps user.ini and the results"
printf '[PARAM]\r\nCB1=1\r\n' >"$installed/user.ini"
printf 'ID,氏名\r\n' | cp932 >"$installed/202404_carte.csv"
printf '%s\n' 202404_carte.csv user.ini >"$work/expected"
# The uninstaller copies itself to the temporary folder, starts the copy and ends: the
# copy's work is done when the folder holds only what the user's.
bounded 60 wine "$installed/uninstall.exe" /S || fail "silent uninstall"
for _ in $(seq 60); do
    ls -A "$installed" >"$work/left"
    cmp -s "$work/left" "$work/expected" && break
    sleep 0.5
done
cmp -s "$work/left" "$work/expected" || fail "after uninstall the folder holds: $(tr '\n' ' ' <"$work/left")"
[ ! -e "$shortcut" ] || fail "the Start-menu entry stayed"
status=0
bounded 60 wine reg query "$key" >/dev/null 2>&1 || status=$?
[ "$status" -eq 1 ] || fail "the uninstall key stayed (reg query status $status)"
echo "uninstalled: the folder holds $(tr '\n' ' ' <"$work/left")"

printf '\nwindows-package-test: passed in %d s\n' "$SECONDS"
