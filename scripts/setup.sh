#!/usr/bin/env bash
# Installs what building, running and testing need (Debian packages), only
# when something is missing, then configures and builds the given build type
# into the given folder.  Usage: scripts/setup.sh [build-dir] [cmake args...]
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake g++ ninja-build qt6-base-dev libgtest-dev xvfb xauth openbox x11-apps xdotool
          imagemagick fonts-liberation fonts-dejavu-core coreutils procps
          # The Windows programs, 64-bit and 32-bit, their tests under Wine
          # (wine32 runs the 32-bit ones) and the zip for users.
          g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix googletest wine wine64 wine32:i386
          zip unzip
          xfsprogs btrfs-progs ntfs-3g dosfstools fusefat exfatprogs exfat-fuse
          qemu-system-x86 linux-image-amd64 busybox-static cpio kmod)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    echo "Installing: ${missing[*]}"
    # wine32 is a package of the 32-bit architecture.
    if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        $sudo dpkg --add-architecture i386
    fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build_dir=${1:-build}
shift || true
# A folder left by another generator is configured afresh.
if [ -f "$build_dir/CMakeCache.txt" ] && [ ! -f "$build_dir/build.ninja" ]; then
    rm -rf "$build_dir"
fi
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@" > /dev/null
cmake --build "$build_dir" -j"$(nproc)"
