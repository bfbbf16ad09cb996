# shellcheck shell=bash
# The drive setups of the drive test, one guest boot each. Sourced by run-drive-tests.sh.

# shellcheck disable=SC2034 # used by the script that sources this file
all_setups=(ide-cd ide-dvd ide-empty ahci-cd virtio-scsi-cd virtio-scsi-dvd virtio-scsi-empty usb-cd)

# setup_args NAME CD_IMAGE DVD_IMAGE: the QEMU arguments of the setup, one a line; fails for
# an unknown name. The images are read-only media; an empty tray has no file.
setup_args() {
    local name=$1 cd=$2 dvd=$3 medium
    case "$name" in
        *-cd) medium="file=$cd," ;;
        *-dvd) medium="file=$dvd," ;;
        *-empty) medium="" ;;
        *) return 1 ;;
    esac
    local drive="if=none,id=cd0,media=cdrom,${medium}format=raw,readonly=on"
    [[ -n "$medium" ]] || drive="if=none,id=cd0,media=cdrom"
    case "$name" in
        ide-*)
            printf '%s\n' -machine pc -drive "$drive" -device ide-cd,drive=cd0,bus=ide.0,unit=0
            ;;
        ahci-*)
            # q35 has its ICH9 AHCI controller built in; its ports are the buses ide.0 to ide.5.
            printf '%s\n' -machine q35 -drive "$drive" -device ide-cd,drive=cd0,bus=ide.0
            ;;
        virtio-scsi-*)
            printf '%s\n' -machine pc -device virtio-scsi-pci,id=scsi0 -drive "$drive" \
                -device scsi-cd,drive=cd0,bus=scsi0.0,channel=0,scsi-id=0,lun=0
            ;;
        usb-*)
            printf '%s\n' -machine pc -device qemu-xhci,id=xhci -drive "$drive" \
                -device usb-bot,id=bot0,bus=xhci.0 -device scsi-cd,drive=cd0,bus=bot0.0
            ;;
        *) return 1 ;;
    esac
}
