#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need;
# with --bench also what the real-window benchmark drives the program with
# (an X server, keys, the clipboard). Quiet and quick when everything is
# already there.
set -euo pipefail

packages=(
    build-essential cmake
    qt6-base-dev qt6-qpa-plugins libgl-dev
    googletest libgtest-dev libbenchmark-dev
    clang libclang-rt-dev clang-format python3
)
if [ "${1:-}" = --bench ]; then
    packages+=(xvfb xdotool xclip libx11-6 libxtst6)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
