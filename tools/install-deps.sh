#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, when it is missing.
# Extra groups by argument: "fuzz" (clang and libFuzzer for the fuzz preset), "windows"
# (MinGW-w64, GoogleTest sources, Wine and locales for the Windows lane), "package"
# (what cpack's Debian generator calls).
set -euo pipefail
# locales: the tests make a comma-decimal locale (de_DE) with localedef.
# qt6-translations-l10n: Qt's Japanese texts, built into the program.
packages=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev
          libgtest-dev libgmock-dev locales qt6-translations-l10n)
for group in "$@"; do
    case $group in
        fuzz) packages+=(clang libclang-rt-14-dev) ;;
        windows) packages+=(g++-mingw-w64-x86-64-posix googletest wine wine64 locales) ;;
        package) packages+=(file dpkg-dev) ;;
        *) echo "install-deps.sh: unknown group $group" >&2; exit 2 ;;
    esac
done
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
