#!/bin/busybox sh
# The guest's /init. Mounts the logged disk as the kernel's command line
# says, runs each operation under /mnt/ops in turn between two marks in the
# write log, and powers off. What the host needs to know goes to the console
# as lines starting with "powercut:".
/bin/busybox --install -s /bin
mount -t proc proc /proc
mount -t sysfs sys /sys
mount -t devtmpfs dev /dev
for module in $(cat /modules.order); do insmod "/modules/$module" 2>/dev/null; done

for word in $(cat /proc/cmdline); do
    case "$word" in
        marlo.fs=*) fs=${word#marlo.fs=} ;;
        marlo.options=*) options=${word#marlo.options=} ;;
        marlo.mark=*) mark=${word#marlo.mark=} ;;
        marlo.variant=skip-data-flush) export MARLO_POWERCUT_SKIP_DATA_FLUSH=1 ;;
    esac
done

if mount -t "$fs" -o "$options" /dev/vda /mnt; then
    # Whatever mounting wrote reaches the disk before the first mark, so that
    # the state at each start is the folder as laid out.
    sync
    for folder in /mnt/ops/*; do
        name=${folder##*/}
        operation=${name#*-}
        operation=${operation%.*}
        powercut_driver mark /dev/vda "$mark" "start $name"
        powercut_driver "$operation" "$folder"
        status=$?
        powercut_driver mark /dev/vda "$mark" "end $name"
        echo "powercut: $name exit $status"
        sync
    done
    echo "powercut: done"
else
    echo "powercut: mount -t $fs -o $options failed"
fi
poweroff -f
