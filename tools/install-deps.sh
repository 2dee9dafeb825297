#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, when it is missing.
# Extra groups by argument: "fuzz" (clang and libFuzzer for the fuzz preset), "windows"
# (MinGW-w64, GoogleTest sources, Wine and locales for the Windows lane; NSIS for the
# installer; Xvfb, xauth and xwininfo to start vask.exe without a display; Wine's and
# Japanese fonts and ImageMagick for its screenshots), "package"
# (what cpack's Debian generator calls), "format" (clang-format 14 and git for the
# format check). A failed apt-get update or install (a mirror being synced, a dropped
# connection) is tried again twice after a pause; each download is retried by apt itself.
set -euo pipefail
# locales: the tests make a comma-decimal locale (de_DE) with localedef.
# qt6-translations-l10n: Qt's Japanese texts, built into the program.
# libssl-dev: OpenSSL's libcrypto 3, the keyed hash and random bytes on Linux.
packages=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev
          libgtest-dev libgmock-dev locales qt6-translations-l10n libssl-dev)
for group in "$@"; do
    case $group in
        fuzz) packages+=(clang libclang-rt-14-dev) ;;
        windows) packages+=(g++-mingw-w64-x86-64-posix googletest wine wine64 locales xz-utils nsis
                            xvfb xauth x11-utils fonts-wine fonts-noto-cjk fontconfig imagemagick) ;;
        package) packages+=(file dpkg-dev) ;;
        format) packages+=(clang-format git) ;;
        *) echo "install-deps.sh: unknown group $group" >&2; exit 2 ;;
    esac
done
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
# apt-get ARGS...: up to three attempts. A fresh machine may still hold the dpkg lock for
# its own daily update: wait for it rather than fail.
apt_get() {
    local attempt
    for attempt in 1 2 3; do
        "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o Acquire::Retries=5 \
            -o DPkg::Lock::Timeout=300 "$@" && return 0
        [ "$attempt" -lt 3 ] || break
        echo "install-deps.sh: apt-get $1 failed (attempt $attempt of 3), again in $((attempt * 30)) s" >&2
        sleep $((attempt * 30))
    done
    echo "install-deps.sh: apt-get $1 failed 3 times" >&2
    return 1
}
apt_get update
apt_get install -y --no-install-recommends "${missing[@]}"
