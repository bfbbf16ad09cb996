#!/usr/bin/env bash
# End-to-end test of the Linux transport and drive discovery against the CD/DVD drives that
# QEMU emulates. Boots a small Linux guest under software emulation once per drive setup,
# runs korvalend-cli in it, brings the outputs back over the serial console and checks them;
# then replays each capture taken in the guest on the host and compares the reports.
#
#   tests/qemu/run-drive-tests.sh [options]
#     --cli PATH           statically linked korvalend-cli for the guest (and the host replay);
#                          default: build it in build-static/ with -DKORVALEND_STATIC=ON
#     --work DIR           images, initramfs and guest outputs (default: build-qemu/)
#     --setup NAME         boot only this setup (repeatable); default: all eight
#     --probe              boot without the program: print the kernel's view of each drive and
#                          what SG_IO answers below the program (tests/qemu/sg_probe.cpp)
#     --update-expected    write the guest reports to tests/qemu/expected/ instead of comparing
#     --expected DIR       reference reports (default: tests/qemu/expected/)
#     --timeout SECONDS    time limit of one boot (default 120)
#
# Needs root on Debian 12 for the package install (skipped when everything is there). The
# kernel package is downloaded once per machine into ${KORVALEND_QEMU_CACHE:-~/.cache/korvalend-qemu}.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)

cli=""
work="$repo/build-qemu"
setups=()
probe_only=0
update_expected=0
expected="$here/expected"
boot_timeout=120
while [[ $# -gt 0 ]]; do
    case "$1" in
        --cli) cli=$(realpath "$2"); shift 2 ;;
        --work) work=$(realpath -m "$2"); shift 2 ;;
        --setup) setups+=("$2"); shift 2 ;;
        --probe) probe_only=1; shift ;;
        --update-expected) update_expected=1; shift ;;
        --expected) expected=$(realpath -m "$2"); shift 2 ;;
        --timeout) boot_timeout=$2; shift 2 ;;
        -h|--help) awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "$0"; exit 0 ;;
        *) echo "run-drive-tests: unknown option $1" >&2; exit 2 ;;
    esac
done

# shellcheck source=tests/qemu/setups.sh
source "$here/setups.sh"
if [[ ${#setups[@]} -eq 0 ]]; then setups=("${all_setups[@]}"); fi
for s in "${setups[@]}"; do
    if ! setup_args "$s" /dev/null /dev/null >/dev/null; then
        echo "run-drive-tests: unknown setup $s (known: ${all_setups[*]})" >&2
        exit 2
    fi
done

cache="${KORVALEND_QEMU_CACHE:-${XDG_CACHE_HOME:-${HOME:-/tmp}/.cache}/korvalend-qemu}"
mkdir -p "$work" "$cache"
started=$SECONDS
log() { printf '[drive-tests %3ds] %s\n' $((SECONDS - started)) "$*"; }

# --- Packages -----------------------------------------------------------------------------
packages=(qemu-system-x86 busybox-static cpio xorriso binutils python3)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [[ ${#missing[@]} -gt 0 ]]; then
    log "installing ${missing[*]}"
    sudo_cmd=()
    [[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${sudo_cmd[@]}" apt-get update -qq
    "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" \
        >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; exit 1; }
fi

# --- Kernel and modules ---------------------------------------------------------------------
# The kernel that linux-image-amd64 depends on, taken apart without installing it.
kernel_package=$(apt-cache depends linux-image-amd64 2>/dev/null |
    awk '/Depends: linux-image-[0-9]/ { print $2; exit }')
if [[ -z "$kernel_package" ]]; then
    echo "run-drive-tests: cannot tell which kernel linux-image-amd64 depends on" >&2
    exit 1
fi
kernel_dir="$cache/$kernel_package"
module_roots=(sr_mod sg ata_piix ahci virtio_pci virtio_scsi xhci_pci usb_storage)
download_kernel() {
    rm -rf "$kernel_dir/download"
    mkdir -p "$kernel_dir/download"
    (cd "$kernel_dir/download" && apt-get download -q "$kernel_package" >"$kernel_dir/download.log" 2>&1)
}
# The cache is good for this kernel and this set of modules.
if [[ "$(cat "$kernel_dir/ready" 2>/dev/null)" != "${module_roots[*]}" ]]; then
    log "fetching $kernel_package"
    rm -rf "$kernel_dir"
    mkdir -p "$kernel_dir"
    # Stale package lists name a kernel the mirror no longer has: refresh them once.
    if ! download_kernel; then
        apt-get update -qq
        if ! download_kernel; then
            cat "$kernel_dir/download.log" >&2
            echo "run-drive-tests: apt-get download $kernel_package failed" >&2
            exit 1
        fi
    fi
    deb=$(ls "$kernel_dir"/download/*.deb)
    dpkg -x "$deb" "$kernel_dir/tree"
    module_dir=$(ls -d "$kernel_dir"/tree/lib/modules/*/)
    python3 "$here/module_order.py" "$module_dir" "${module_roots[@]}" \
        --param usb_storage=delay_use=0 >"$kernel_dir/load-order"
    mkdir -p "$kernel_dir/modules"
    while read -r path _; do
        cp "$module_dir/$path" "$kernel_dir/modules/"
    done <"$kernel_dir/load-order"
    # The guest loads them by file name from one folder.
    sed -i 's|^[^ ]*/||' "$kernel_dir/load-order"
    cp "$kernel_dir"/tree/boot/vmlinuz-* "$kernel_dir/vmlinuz"
    rm -rf "$kernel_dir/tree" "$kernel_dir/download"
    echo "${module_roots[*]}" >"$kernel_dir/ready"
fi

# --- The program ----------------------------------------------------------------------------
if [[ $probe_only -eq 0 && -z "$cli" ]]; then
    log "building the static korvalend-cli"
    # RelWithDebInfo as the unit-test build: GCC 12 warns falsely at -O3 (Release).
    # The linker warns that getgrgid_r wants glibc's NSS modules at run time; in the guest,
    # without /etc/group, a device's group name is simply not told.
    if ! { cmake -S "$repo" -B "$repo/build-static" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DKORVALEND_STATIC=ON -DKORVALEND_BUILD_TESTS=OFF &&
        cmake --build "$repo/build-static" -j2 --target korvalend-cli; } >"$work/static-build.log" 2>&1; then
        cat "$work/static-build.log" >&2
        echo "run-drive-tests: building the static korvalend-cli failed" >&2
        exit 1
    fi
    cli="$repo/build-static/bin/korvalend-cli"
fi
# The guest has no shared libraries; ldd fails on a static executable.
if [[ $probe_only -eq 0 ]] && ldd "$cli" >/dev/null 2>&1; then
    echo "run-drive-tests: $cli is not statically linked" >&2
    exit 1
fi

# --- Media images ---------------------------------------------------------------------------
# A small data CD and a DVD-sized image; QEMU presents media above the CD size as a DVD.
if [[ ! -f "$work/cd.iso" ]]; then
    log "making the CD image"
    rm -rf "$work/cd-files"
    mkdir -p "$work/cd-files"
    echo "Korvalend drive test disc" >"$work/cd-files/README.TXT"
    head -c 4194304 /dev/zero >"$work/cd-files/FILL.BIN"
    # A fixed date keeps the image the same on every machine.
    SOURCE_DATE_EPOCH=1700000000 xorriso -as mkisofs -quiet -V KORVALEND_CD \
        -o "$work/cd.iso.tmp" "$work/cd-files" 2>/dev/null
    mv "$work/cd.iso.tmp" "$work/cd.iso"
    rm -rf "$work/cd-files"
fi
if [[ ! -f "$work/dvd.img" ]]; then
    truncate -s 1G "$work/dvd.img"
fi

# --- Initramfs ------------------------------------------------------------------------------
log "building the initramfs"
root="$work/initramfs"
rm -rf "$root"
mkdir -p "$root/bin" "$root/usr/bin" "$root/lib/modules"
cp /bin/busybox "$root/bin/busybox"
cp "$here/guest-init.sh" "$root/init"
chmod 755 "$root/init"
cp "$kernel_dir"/modules/*.ko "$kernel_dir/load-order" "$root/lib/modules/"
if [[ $probe_only -eq 0 ]]; then
    strip -o "$root/usr/bin/korvalend-cli" "$cli"
fi
if [[ $probe_only -ne 0 ]]; then
    # The SG_IO probe shows what the drives and the kernel answer below the program.
    g++ -std=c++20 -O1 -static -o "$work/sg_probe" "$here/sg_probe.cpp"
    cp "$work/sg_probe" "$root/usr/bin/sg_probe"
fi
(cd "$root" && find . | LC_ALL=C sort | cpio -o -H newc --quiet) | gzip -1 >"$work/initramfs.gz"

# --- Boots ----------------------------------------------------------------------------------
python3 "$here/drive_outputs.py" self-test
boot_failed=0
for s in "${setups[@]}"; do
    out="$work/out/$s"
    rm -rf "$out"
    mkdir -p "$out"
    mapfile -t drive_args < <(setup_args "$s" "$work/cd.iso" "$work/dvd.img")
    log "booting $s"
    rc=0
    timeout --kill-after=5 "$boot_timeout" qemu-system-x86_64 \
        -accel tcg -m 256 -smp 1 -nodefaults -no-user-config -display none -no-reboot \
        -serial "file:$out/console.log" \
        -kernel "$kernel_dir/vmlinuz" -initrd "$work/initramfs.gz" \
        -append "console=ttyS0 loglevel=1 panic=-1 rdinit=/init" \
        "${drive_args[@]}" >"$out/qemu.log" 2>&1 || rc=$?
    if [[ $rc -ne 0 ]]; then
        echo "run-drive-tests: $s: QEMU ended with $rc (124: the boot took over ${boot_timeout}s)" >&2
        cat "$out/qemu.log" >&2
        boot_failed=1
        continue
    fi
    if ! python3 "$here/drive_outputs.py" split "$out/console.log" "$out"; then
        echo "run-drive-tests: $s: the end of the serial console:" >&2
        tail -c 3000 "$out/console.log" | tr -d '\r' >&2
        boot_failed=1
    fi
done
log "boots done"
if [[ $boot_failed -ne 0 ]]; then exit 1; fi
if [[ $probe_only -ne 0 ]]; then
    for s in "${setups[@]}"; do
        echo "--- $s"
        cat "$work/out/$s/probe.out" "$work/out/$s/sgprobe.out"
    done
    exit 0
fi

# --- Checks ---------------------------------------------------------------------------------
check_args=(--cli "$cli" --outputs "$work/out" --expected "$expected")
if [[ $update_expected -ne 0 ]]; then check_args+=(--update-expected); fi
python3 "$here/check_drive_outputs.py" "${check_args[@]}" "${setups[@]}"
log "done"
