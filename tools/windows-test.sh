#!/usr/bin/env bash
# The Windows lane: cross-builds everything (vask.exe, vask-cli.exe and every test program
# that runs on Windows, the window tests included) with MinGW-w64 against a static MinGW
# Qt, runs the test suite under Wine set up as a Japanese Windows (ANSI code page 932, a
# temporary folder with a Japanese name, the offscreen Qt platform for the window tests),
# runs vask-cli.exe on Japanese-named files, then makes the Windows packages and tests
# them under Wine. Exits non-zero on any failure. Every Wine program runs under a time
# limit, so that a Wine that hangs fails the lane with a message.
#
# The Qt: the folder named by VASK_QT_MINGW, or the archive of ../shared/qt6-mingw/
# (VASK_QT_MINGW_ARCHIVE names another) unpacked into build/qt6-mingw/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build/windows-cross
bin=$build/bin

step_of="the lane"
# shellcheck source=tools/japanese-wine.sh
. tools/japanese-wine.sh
# At the end, however the lane ends: Wine's server of the lane's prefix is stopped (what
# still runs under it ends with it) and the lane's time is told.
on_exit() {
    [ -z "${WINEPREFIX:-}" ] || timeout 30 wineserver -k 2>/dev/null || true
    printf '\n== the Windows lane took %d s\n' "$SECONDS"
}
trap on_exit EXIT

step "MinGW Qt"
if [ -z "${VASK_QT_MINGW:-}" ]; then
    archive=${VASK_QT_MINGW_ARCHIVE:-$root/../shared/qt6-mingw/qt6.4.2-mingw-w64-x86_64-static.tar.xz}
    VASK_QT_MINGW=$root/build/qt6-mingw/qt6-mingw
    if [ ! -f "$VASK_QT_MINGW/lib/cmake/Qt6/qt.toolchain.cmake" ]; then
        if [ ! -f "$archive" ]; then
            cat >&2 <<MESSAGE
FAILED: no Qt for MinGW-w64. The Windows program is built against a static Qt 6.4.2 for
x86_64-w64-mingw32, which Debian does not ship. Either
  - set VASK_QT_MINGW to the folder of one (it holds lib/cmake/Qt6/qt.toolchain.cmake), or
  - set VASK_QT_MINGW_ARCHIVE to its .tar.xz (it unpacks to qt6-mingw/), or
  - make one from Debian's qt6-base source package (about 35 minutes on 2 cores):
        ../shared/qt6-mingw/build-qt6-mingw.sh
    and put the archive it makes at $archive
MESSAGE
            exit 1
        fi
        rm -rf "$root/build/qt6-mingw"
        mkdir -p "$root/build/qt6-mingw"
        tar -xJf "$archive" -C "$root/build/qt6-mingw"
    fi
fi
[ -f "$VASK_QT_MINGW/lib/cmake/Qt6/qt.toolchain.cmake" ] || fail "VASK_QT_MINGW=$VASK_QT_MINGW holds no Qt 6"
export VASK_QT_MINGW
echo "Qt: $VASK_QT_MINGW"

step "configure and build (MinGW-w64)"
# A build folder made against another Qt (or none) is configured afresh.
toolchain=$VASK_QT_MINGW/lib/cmake/Qt6/qt.toolchain.cmake
if [ -f "$build/CMakeCache.txt" ] && ! grep -qxF "CMAKE_TOOLCHAIN_FILE:FILEPATH=$toolchain" "$build/CMakeCache.txt"; then
    rm -rf "$build/CMakeCache.txt" "$build/CMakeFiles"
fi
cmake --preset windows-cross
cmake --build --preset windows-cross

step "Wine prefix and Japanese locale"
japanese_wine "$build"
# No display: the window tests draw offscreen.
export DISPLAY=''
# Every test's temporary folder lies under a Japanese name with a space in it.
temp='C:\一時 フォルダ'
mkdir -p "$WINEPREFIX/drive_c/一時 フォルダ"
for name in TEMP TMP; do
    bounded 60 wine reg add 'HKCU\Environment' /v "$name" /t REG_SZ /d "$temp" /f >/dev/null ||
        fail "wine reg add $name"
done

# The whole suite within 10 minutes; a test without a limit of its own gets 5. Wine once
# failed to start a test program (no output, failed after 0.01 s, fine on every other
# run): a test that fails gets one more run (the output of the first stays in the lane's
# output); one that fails twice fails the lane.
step "test suite under Wine"
bounded 600 ctest --test-dir "$build" -j2 --timeout 300 --output-on-failure --repeat until-pass:2 || fail "ctest"
echo "Skipped on Windows:"
awk '/^\[ RUN      \]/ { name = $4 } /: Skipped$/ { getline reason; print "  " name ": " reason }' \
    "$build/Testing/Temporary/LastTest.log"

step "vask-cli.exe under Wine"
work=$build/cli-check
rm -rf "$work"
mkdir -p "$work/レセ電 入力" "$work/出力 フォルダ"
out="$work/出力 フォルダ"
winpath() { bounded 60 winepath -w "$1" 2>/dev/null | tr -d '\r'; }
cp932() { iconv -f UTF-8 -t CP932; }
# Runs $exe (the built vask-cli.exe unless set); its standard output and error land in
# $work/stdout and $work/stderr, its exit status is printed.
exe=$bin/vask-cli.exe
cli() {
    local status=0
    bounded 60 wine "$exe" "$@" >"$work/stdout" 2>"$work/stderr" || status=$?
    echo "$status"
}
expect_file() {  # FILE EXPECTED-BYTES-FILE
    cmp -s "$1" "$2" || fail "$(basename "$1") differs from the expected bytes"
}

# --help: the usage on standard output, UTF-8 with "\n" line ends.
[ "$(cli --help)" = 0 ] || fail "--help exit status"
grep -q '^usage: vask-cli SUBCOMMAND' "$work/stdout" || fail "--help text"
! grep -q $'\r' "$work/stdout" || fail "--help printed CR LF"

# Claims anonymisation of a Japanese-named file into a Japanese-named folder.
claims="$work/レセ電 入力/社保 レセ電.UKE"
printf 'IR,1,13,1,7654321,,山田内科,50611,00,03-1111-2222\r\nRE,1,1127,50611,山田　太郎,1,3010101,,,,,,,0012345-01\r\n\x1a' |
    cp932 >"$claims"
[ "$(cli anonymize "$claims" -o "$out")" = 0 ] || fail "anonymize: $(cat "$work/stderr")"
printf '%s\n' "$(winpath "$out/50611_1.UKE")" >"$work/expected"
expect_file "$work/stdout" "$work/expected"
printf 'IR,1,13,1,0123456,,VELTクリニック,50611,00,012-345-6789\r\nRE,1,1127,50611,テスト社１,1,3010101,,,,,,,0012345-01\r\n' |
    cp932 >"$work/expected"
expect_file "$out/50611_1.UKE" "$work/expected"

# A refusal: status 1 and the window's message, in UTF-8, on standard error.
[ "$(cli anonymize "$work/レセ電 入力/無い.UKE" -o "$out")" = 1 ] || fail "refusal exit status"
printf 'ファイルがありません。\n' >"$work/expected"
expect_file "$work/stderr" "$work/expected"

# Form-1 conversion (the first converter) of a Japanese-named file.
form1="$work/レセ電 入力/様式１ 外来.txt"
{
    printf 'header\r\n1001\t'
    printf '山田　太郎' | cp932
    printf '\t\t202404'
    printf '\t%.0s' $(seq 4 52)
    printf '\r\n'
} >"$form1"
[ "$(cli carte "$form1" -o "$out")" = 0 ] || fail "carte: $(cat "$work/stderr")"
printf '%s\n' "$(winpath "$out/202404_carte.csv")" >"$work/expected"
expect_file "$work/stdout" "$work/expected"
iconv -f CP932 -t UTF-8 "$out/202404_carte.csv" | sed -n 2p >"$work/row"
printf '1001,山田　太郎,20240401,,,,,,,,\r\n' >"$work/expected"
expect_file "$work/row" "$work/expected"

# Wrong usage: status 2.
[ "$(cli anonymize)" = 2 ] || fail "usage exit status"
echo "vask-cli.exe checks passed"

# The zip and the installer, made and tried: zip contents, silent install, the installed
# vask-cli.exe and vask.exe, silent uninstall (tools/windows-package-test.sh).
step "Windows packages"
tools/windows-package-test.sh "$build" || fail "the Windows packages"
program=$(ls -d "$build"/package-check/zip/vask-*-windows)
VASK_CLI=$program/vask-cli.exe VASK_GUI=$program/vask.exe bounded 60 wine "$bin/version_resource_test.exe" >/dev/null ||
    fail "the version resource or the manifests of the packed vask-cli.exe and vask.exe"
echo "the packed vask-cli.exe carries its version resource; both packed programs their manifest"
