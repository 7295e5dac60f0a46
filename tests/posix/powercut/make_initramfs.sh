#!/usr/bin/env bash
# Builds the guest of the power-cut trial: an initramfs with static busybox,
# the kernel's modules for a virtio disk and the drives, the trial's
# driver and the guest's /init.
#   make_initramfs.sh <output.cpio.gz> <driver> <guest init> <kernel version>
set -euo pipefail
out=$1 driver=$2 init=$3 version=$4

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
mkdir -p "$root"/{bin,dev,proc,sys,mnt,modules}
cp /bin/busybox "$root/bin/busybox"
cp "$driver" "$root/bin/powercut_driver"
cp "$init" "$root/init"
chmod 755 "$root/init"

# The order modprobe would load them in; the hashes btrfs and ext4 ask for
# only as soft dependencies come first; FAT names its files in the character
# sets of its defaults.
: > "$root/modules.order"
for module in crc32c_generic xxhash_generic blake2b_generic virtio_pci virtio_blk ext4 xfs btrfs \
    nls_cp437 nls_ascii nls_utf8 vfat exfat; do
    modprobe -S "$version" --show-depends "$module" | awk '$1 == "insmod" { print $2 }'
done | awk '!seen[$0]++' | while read -r path; do
    cp "$path" "$root/modules/"
    basename "$path" >> "$root/modules.order"
done

(cd "$root" && find . | cpio -o -H newc --quiet) | gzip -1 > "$out"
