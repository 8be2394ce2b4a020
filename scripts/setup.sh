#!/usr/bin/env bash
# Installs what the build needs on Debian (and Ubuntu), asking apt only when
# something is missing. Uses sudo unless already root.
set -euo pipefail

# clang and libclang-rt-dev (the libFuzzer runtime) build the fuzz targets;
# libx11-dev, xvfb and x11-apps the viewer and its tests; libmimalloc-dev the
# allocator the programs link.
packages=(cmake make g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev libpng-dev python3 hershey-fonts-data
          libx11-dev xvfb x11-apps clang libclang-rt-dev libmimalloc-dev)

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

missing=()
for package in "${packages[@]}"; do
    installed "$package" || missing+=("$package")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
