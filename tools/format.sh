#!/usr/bin/env bash
# make format / make format-check: every C++ source tracked by git (*.cpp, *.h) as the
# committed .clang-format lays it out. The layout is clang-format 14's (Debian 12); other
# versions may lay out some lines differently.
#
#   tools/format.sh          reformats the files that differ (the others keep their times,
#                            so that nothing is rebuilt for them)
#   tools/format.sh --check  changes nothing; shows what differs, lists the files, fails
#
# CLANG_FORMAT names the program (default clang-format).
set -euo pipefail
cd "$(dirname "$0")/.."
clang_format=${CLANG_FORMAT:-clang-format}

version=$("$clang_format" --version)
case $version in
    *" version 14."*) ;;
    *) echo "format.sh: $version is not clang-format 14; its layout may differ from the committed one" >&2 ;;
esac
mapfile -d '' files < <(git ls-files -z -- '*.cpp' '*.h')
[ ${#files[@]} -gt 0 ] || { echo "format.sh: git lists no C++ sources here" >&2; exit 2; }

report=$(mktemp)
trap 'rm -f "$report"' EXIT
if "$clang_format" --dry-run --Werror -- "${files[@]}" 2>"$report"; then
    echo "${#files[@]} C++ sources, all formatted"
    exit 0
fi
mapfile -t differing < <(sed -n 's/^\([^: ][^:]*\):[0-9]*:[0-9]*: error: .*/\1/p' "$report" | sort -u)
if [ "${1:-}" = --check ] || [ ${#differing[@]} -eq 0 ]; then
    head -n 60 "$report"
    echo "format check FAILED: these files differ from the committed .clang-format (make format fixes them):"
    printf '  %s\n' "${differing[@]}"
    exit 1
fi
"$clang_format" -i -- "${differing[@]}"
echo "reformatted ${#differing[@]} of ${#files[@]} files:"
printf '  %s\n' "${differing[@]}"
