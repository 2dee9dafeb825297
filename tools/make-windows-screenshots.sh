#!/usr/bin/env bash
# Makes the screenshots of the Windows program for the user manual: runs the cross-built
# manual_screenshots.exe under Wine on a virtual X server, as on a Japanese Windows (ANSI
# code page 932, Qt's "windows" platform and its Windows Vista style, the Japanese Windows
# UI fonts mapped to an installed Japanese font), and saves every window it shows as
# OUT_DIR/windows-NAME.png, an 8-bit palette PNG.
#
# usage: tools/make-windows-screenshots.sh [BIN_DIR] [OUT_DIR]
#   BIN_DIR  the folder of the cross-built manual_screenshots.exe (build/windows-cross/bin)
#   OUT_DIR  where the PNGs go (docs/manual/images)
# Needs wine, xvfb, fonts-wine, fonts-noto-cjk, imagemagick and locales
# (tools/install-deps.sh windows). The Wine prefix and the raw pictures live in
# build/windows-screenshots (WORK_DIR overrides it); a second run reuses the prefix.
set -euo pipefail
bin=$(realpath -m "${1:-build/windows-cross/bin}")
out=$(realpath -m "${2:-docs/manual/images}")
cd "$(dirname "$0")/.."
work=$(realpath -m "${WORK_DIR:-build/windows-screenshots}")

# shellcheck source=tools/japanese-wine.sh
. tools/japanese-wine.sh

exe=$bin/manual_screenshots.exe
[ -f "$exe" ] || fail "no $exe: cross-build the target manual_screenshots for Windows first"
for tool in wine wineserver Xvfb convert localedef; do
    command -v "$tool" >/dev/null || fail "$tool is missing (tools/install-deps.sh windows)"
done
families=$(fc-list -f '%{family[0]}\n' ':lang=ja')
font=$(grep -x -E 'Noto Sans CJK JP|IPAPGothic' <<<"$families" | head -n1)
[ -n "$font" ] || fail "no Japanese sans-serif font (install fonts-noto-cjk)"
mono=$(grep -x -E 'Noto Sans Mono CJK JP|IPAGothic' <<<"$families" | head -n1)
mono=${mono:-$font}
mkdir -p "$work" "$out"

# The virtual screen. -displayfd picks a free display number and tells it when the server
# is ready.
xvfb_pid=
cleanup() {
    timeout 30 wineserver -k 2>/dev/null || true
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"

japanese_wine "$work"
DISPLAY=:$(tr -d '\n' <"$work/display")
export DISPLAY

# The fonts a Japanese Windows has and Qt asks for: the message font Wine reports, the
# dialog fonts, and Qt's fallbacks for Japanese text. Wine has none of them (fonts-wine
# brings Tahoma without Japanese letters); without a replacement Latin text falls back to
# a serif font and Japanese letters to whatever font happens to have them.
sans_names=("MS UI Gothic" "MS PGothic" "ＭＳ Ｐゴシック" "Meiryo" "Meiryo UI" "メイリオ"
            "Yu Gothic" "Yu Gothic UI" "游ゴシック" "Segoe UI" "Tahoma" "MS Shell Dlg"
            "MS Shell Dlg 2" "Microsoft Sans Serif" "MS Sans Serif" "Arial")
mono_names=("MS Gothic" "ＭＳ ゴシック")
{
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    for name in "${sans_names[@]}"; do printf '"%s"="%s"\r\n' "$name" "$font"; done
    for name in "${mono_names[@]}"; do printf '"%s"="%s"\r\n' "$name" "$mono"; done
} | { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE; } >"$work/fonts.reg"
reg_file=$(bounded 30 winepath -w "$work/fonts.reg" | tr -d '\r')
bounded 60 wine regedit /S "$reg_file" || fail "wine regedit fonts.reg"

rm -rf "$work/raw"
mkdir -p "$work/raw"
# Qt's own platform and style on Windows, whatever the calling shell asks of Qt. The
# Windows Vista style draws through the visual styles of Wine's "Light" theme, which a new
# prefix has on; without a theme it would fall back to the classic 3-D look. The program
# grabs each window's inside (the frame Wine would draw looks like no current Windows)
# and saves it in the current folder.
unset QT_STYLE_OVERRIDE QT_SCALE_FACTOR QT_FONT_DPI
(cd "$work/raw" && QT_QPA_PLATFORM=windows bounded 180 wine "$exe" .) ||
    fail "manual_screenshots.exe"
count=0
for png in "$work"/raw/*.png; do
    [ -f "$png" ] || continue
    target=$out/windows-$(basename "$png")
    # A palette of 256 colours without dithering keeps the pictures small and the text
    # sharp; -strip leaves out the time stamps, so that a second run gives the same bytes.
    convert "$png" +dither -colors 256 -strip "PNG8:$target"
    printf '%s %d bytes\n' "$target" "$(stat -c %s "$target")"
    count=$((count + 1))
done
[ "$count" -gt 0 ] || fail "manual_screenshots.exe saved no picture"
