#!/bin/sh
# On a drive that clones (XFS on a loop image; btrfs with DRIVE=btrfs): our
# crash-safe CopyFile of 1 GiB against "cp --reflink=auto" followed by "sync"
# of the copy, and the same at 8 GiB, to show that the cost does not grow
# with the size. Needs root; the image is sparse, under /tmp, and goes again
# afterwards. Extra arguments: rounds (default 5).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build-bench}
drive=${DRIVE:-xfs}
rounds=${1:-5}

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DMARLO_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target copy_bench >/dev/null

work=$(mktemp -d /tmp/marlo-clone-bench-XXXXXX)
cleanup() {
    umount "$work/mnt" 2>/dev/null || umount -l "$work/mnt" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT INT TERM
truncate -s 24G "$work/drive.img"
case "$drive" in
xfs) mkfs.xfs -q -f "$work/drive.img" ;;
btrfs) mkfs.btrfs -q -f "$work/drive.img" ;;
*) echo "DRIVE must be xfs or btrfs" >&2; exit 2 ;;
esac
mkdir "$work/mnt"
mount -o loop "$work/drive.img" "$work/mnt" # a loop device that goes with the mount

median() { sed -n 's/^median CopyFile \([0-9.]*\) s.*/\1/p' "$1"; }
for size in 1024 8192; do
    "$build/bin/copy_bench" "$work/mnt" "$size" "$rounds" --reflink=auto | tee "$work/$size.txt"
done
awk -v a="$(median "$work/1024.txt")" -v b="$(median "$work/8192.txt")" 'BEGIN {
    printf "on %s: CopyFile of 8 GiB %.4f s against 1 GiB %.4f s, ratio %.2f (goal <= 2.00)\n",
           "'"$drive"'", b, a, b / a }'
