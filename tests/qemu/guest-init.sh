#!/bin/busybox sh
# shellcheck shell=dash
# /init of the drive-test guest. Loads the drive modules, waits for the optical drive, runs
# the probes and the program, prints every output on the serial console between markers and
# powers the machine off. The host side (run-drive-tests.sh) reads the console log.
#
# A section is printed as
#   =====BEGIN name=====
#   <the bytes of the output, exactly>
#   =====END name=====
# where the newline before END is always added by this script and is not part of the output,
# so outputs without a final newline come back byte for byte.

/bin/busybox mkdir -p /proc /sys /dev /tmp /usr/bin /usr/sbin /sbin
/bin/busybox --install -s
mount -t proc proc /proc
mount -t sysfs sysfs /sys
mount -t devtmpfs devtmpfs /dev
mount -t tmpfs tmpfs /tmp
# The kernel found no /dev/console in the initramfs; take the console now that devtmpfs has it.
exec </dev/console >/dev/console 2>&1
# Kernel messages must not land inside a section.
echo 1 >/proc/sys/kernel/printk

section() {  # section NAME FILE
    echo "=====BEGIN $1====="
    cat "$2"
    echo
    echo "=====END $1====="
}

# run NAME COMMAND...: stdout, stderr and exit code of one command, each as its own section.
run() {
    name=$1
    shift
    "$@" >/tmp/out 2>/tmp/err
    rc=$?
    section "$name.out" /tmp/out
    section "$name.err" /tmp/err
    echo "=====RC $name $rc====="
    echo "=====UPTIME $name $(cut -d' ' -f1 /proc/uptime)====="
}

# The module list holds file names in load order, each after the modules it depends on.
while read -r module params; do
    [ -n "$module" ] || continue
    # shellcheck disable=SC2086 # params are separate words on purpose
    insmod "/lib/modules/$module" $params 2>>/tmp/insmod.err || true
done </lib/modules/load-order

# The drive shows up once its host adapter has scanned it (USB storage does that in a worker).
i=0
while [ ! -e /sys/block/sr0 ] && [ $i -lt 100 ]; do
    sleep 0.1
    i=$((i + 1))
done
# Give the sg node and the udev-less device nodes a moment to follow.
i=0
while [ -e /sys/block/sr0 ] && [ ! -e /dev/sr0 ] && [ $i -lt 50 ]; do
    sleep 0.1
    i=$((i + 1))
done

echo "=====GUEST READY====="
echo "=====UPTIME ready $(cut -d' ' -f1 /proc/uptime)====="
section insmod.err /tmp/insmod.err

# Facts of the drive as the kernel sees them.
probe() {
    echo "block:" /sys/block/*
    echo "dev:" /dev/sr* /dev/sg*
    for d in /sys/block/sr*; do
        [ -e "$d" ] || continue
        echo "$(basename "$d") device: $(readlink -f "$d/device")"
        echo "$(basename "$d") vendor: [$(cat "$d/device/vendor")]"
        echo "$(basename "$d") model: [$(cat "$d/device/model")]"
        echo "$(basename "$d") rev: [$(cat "$d/device/rev")]"
        echo "$(basename "$d") type: $(cat "$d/device/type")"
        echo "$(basename "$d") generic: $(ls "$d/device/scsi_generic" 2>/dev/null)"
        echo "$(basename "$d") size: $(cat "$d/size")"
    done
    lsmod | sed 's/ .*//' | sort | tr '\n' ' '
    echo
}
run probe probe
if [ -x /usr/bin/sg_probe ]; then
    run sgprobe sg_probe /dev/sr0 /dev/sg0
fi

if [ -x /usr/bin/korvalend-cli ]; then
    cd /tmp || exit 1
    run list korvalend-cli list --all --json
    run list-writers korvalend-cli list
    run report korvalend-cli report --drive /dev/sr0 --trace
    run capture korvalend-cli capture --drive /dev/sr0
fi

echo "=====GUEST DONE====="
sync
# The host starts QEMU with -no-reboot, so a reboot ends it.
reboot -f
