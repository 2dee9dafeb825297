#!/usr/bin/env bash
# Checks the Linux packages of a build (make package-test, as root): installs the Debian
# package, runs the installed vask-cli (--help, and an FF1 link that reads the installed
# siyo4.csv), then does the same from the unpacked portable archive. Removes the package
# again at the end.
set -euo pipefail
build=${1:-build/default}
packages="$build/packages"
deb=$(ls "$packages"/vask_*.deb)
tgz=$(ls "$packages"/vask-*-Linux.tar.gz)
work=$(mktemp -d)
trap 'apt-get remove -y -q vask >/dev/null 2>&1 || true; rm -rf "$work"' EXIT

fail() { echo "package test FAILED: $*" >&2; exit 1; }

# One FF1 file of one patient; the link reads the column definitions beside vask-cli.
make_ff1_folder() {
    mkdir -p "$1"
    {
        printf '施設コード\tID\t年月\tコード\t連番\tP1\tP2\tP3\tP4\tP5\tP6\tP7\tP8\tP9\r\n'
        printf '131\tA\t202404\tCPF0001\t1\t170\t60.5\t\t\t\t\t\t\t\r\n'
        printf '131\tA\t202404\tCPP0001\t1\t\t\t1000001\t\t\t\t\t\t\r\n'
    } | iconv -f UTF-8 -t CP932 > "$1/G_FF1_202404.txt"
}

check_cli() {
    local cli=$1 name=$2
    "$cli" --help | grep -q '^usage: vask-cli' || fail "$name: --help"
    make_ff1_folder "$work/$name/ff1"
    local written
    written=$("$cli" ff1 "$work/$name/ff1" --month 202404 -o "$work/$name/out") || fail "$name: ff1 link"
    [ "$written" = "$work/$name/out/202404_ff1all.csv" ] || fail "$name: printed '$written'"
    local expected_row="A,,20240401,1000001,170,60.5$(printf ',%.0s' $(seq 83))"
    iconv -f CP932 -t UTF-8 "$written" | sed -n 1p | grep -q '^\[0\] カルテ番号,\[1\] 患者氏名,' \
        || fail "$name: header line"
    [ "$(iconv -f CP932 -t UTF-8 "$written" | sed -n 2p | tr -d '\r')" = "$expected_row" ] || fail "$name: data line"
    echo "$name: vask-cli --help and ff1 link OK"
}

DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$(realpath "$deb")" >/dev/null
for file in /opt/vask/vask /opt/vask/vask-cli /opt/vask/siyo4.csv /opt/vask/movacal.csv /opt/vask/manual/index.html \
            /usr/share/applications/vask.desktop /usr/share/icons/hicolor/256x256/apps/vask.png; do
    [ -e "$file" ] || fail "the Debian package did not install $file"
done
check_cli /usr/bin/vask-cli debian

mkdir -p "$work/portable"
tar -xzf "$tgz" -C "$work/portable"
check_cli "$(ls -d "$work"/portable/vask-*-Linux)/vask-cli" portable
echo "packages OK: $(basename "$deb") $(basename "$tgz")"
