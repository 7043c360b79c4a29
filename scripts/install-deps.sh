#!/usr/bin/env bash
# Installs, from Debian's packages, whatever of the build and test tools is missing.
# Usage: scripts/install-deps.sh run|test
set -euo pipefail

run_packages=(cmake ninja-build g++ qt6-base-dev libgl-dev fonts-dejavu-core)
test_packages=("${run_packages[@]}" libgtest-dev libbenchmark-dev clang libclang-rt-14-dev
    clang-format python3 xvfb xauth xclip xdotool x11-apps imagemagick)

case "${1:-test}" in
run) wanted=("${run_packages[@]}") ;;
test) wanted=("${test_packages[@]}") ;;
*) echo "usage: $0 run|test" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
