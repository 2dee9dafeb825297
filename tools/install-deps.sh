#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, when it is missing.
# With the argument "fuzz", also clang and libFuzzer for the fuzz preset.
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev
          libgtest-dev libgmock-dev)
if [ "${1:-}" = fuzz ]; then
    packages+=(clang libclang-rt-14-dev)
fi
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
