#!/usr/bin/env python3
"""Checks what korvalend-cli printed in the drive-test guests against what QEMU's emulated
drives answer, and replays each guest's capture on the host.

usage: check_drive_outputs.py --cli CLI --outputs DIR --expected DIR [--update-expected] SETUP...

DIR/SETUP holds the sections the guest printed (see drive_outputs.py): list.out (list --all
--json), list-writers.out/.err (list), report.out/.err (report --drive /dev/sr0 --trace),
capture.out/.err (capture --drive /dev/sr0), probe.out (the kernel's view of the drive) and
exit-codes. The expected DIR holds one reference report per setup, SETUP.report.

Prints one line per failed check and closes with "N passed, N failed"; exits 1 on any failure.
"""

import argparse
import json
import os
import re
import subprocess
import sys

# What each setup is, as far as the assertions care. Addresses: the piix IDE controller and
# the q35 AHCI controller register their SCSI hosts first, so a drive on a virtio-scsi or USB
# controller lands on host 2 behind the two piix channels.
SETUPS = {
    "ide-cd": {"medium": "cd", "attach": "ata", "product": "QEMU DVD-ROM", "address": [0, 0, 0, 0]},
    "ide-dvd": {"medium": "dvd", "attach": "ata", "product": "QEMU DVD-ROM", "address": [0, 0, 0, 0]},
    "ide-empty": {"medium": None, "attach": "ata", "product": "QEMU DVD-ROM", "address": [0, 0, 0, 0]},
    "ahci-cd": {"medium": "cd", "attach": "ata", "product": "QEMU DVD-ROM", "address": [0, 0, 0, 0]},
    "virtio-scsi-cd": {"medium": "cd", "attach": "virtio", "product": "QEMU CD-ROM", "address": [2, 0, 0, 0]},
    "virtio-scsi-dvd": {"medium": "dvd", "attach": "virtio", "product": "QEMU CD-ROM", "address": [2, 0, 0, 0]},
    "virtio-scsi-empty": {"medium": None, "attach": "virtio", "product": "QEMU CD-ROM", "address": [2, 0, 0, 0]},
    "usb-cd": {"medium": "cd", "attach": "usb", "product": "QEMU CD-ROM", "address": [2, 0, 0, 0]},
}

DRIVE_LINE = "        Drive Type = DVD-ROM  "
# Disc type names are printed padded to 21 characters.
DISC_LINES = {
    "cd": "         Disc Type = " + "CD-ROM".ljust(21),
    "dvd": "         Disc Type = " + "DVD-ROM".ljust(21),
    None: "         Disc Type = " + "NO MEDIA".ljust(21),
}

# Command blocks as the capture writes them (12 bytes, upper-case hexadecimal, spaced).
INQUIRY = "12 00 00 00 60 00 00 00 00 00 00 00"
MODE_SENSE_2A = "5A 00 2A 00 00 00 00 00 2A 00 00 00"
VENDOR_PROBE = "DF 11 00 00 00 00 00 00 00 00 00 00"
VENDOR_MEDIA_ID = "DF 00 03 01 00 00 00 00 00 00 00 00"
CURRENT_PROFILE = "46 02 00 00 00 00 00 00 CC 00 00 00"
PHYSICAL_FORMAT = "AD 00 00 00 00 00 00 00 00 10 00 00"
ATIP_FOR_TYPE = "43 00 04 00 00 00 00 00 18 00 00 00"
ATIP_FOR_TIMES = "43 02 04 00 00 00 00 01 00 00 00 00"
DISC_INFORMATION = "51 00 00 00 00 00 00 01 00 00 00 00"
FORMAT_CAPACITIES = "23 00 00 00 00 00 00 00 0C 00 00 00"
GET_PERFORMANCE = "AC 00 00 00 00 00 00 00 00 32 03 00"
SET_STREAMING_OPCODE = "B6"
SET_CD_SPEED = "BB 00 FF FF FF FF 00 00 00 00 00 00"


class Results:
    def __init__(self):
        self.passed = 0
        self.failures = []

    def check(self, setup, what, condition, detail=""):
        if condition:
            self.passed += 1
        else:
            self.failures.append(f"{setup}: {what}" + (f" ({detail})" if detail else ""))
        return condition


def read(path, binary=False):
    try:
        with open(path, "rb" if binary else "r", encoding=None if binary else "utf-8",
                  errors=None if binary else "replace") as f:
            return f.read()
    except FileNotFoundError:
        return None


# --- Capture files ------------------------------------------------------------------------

class Exchange:
    def __init__(self, command, direction, length):
        self.command, self.direction, self.length = command, direction, length
        self.data = bytearray()
        self.sense = None
        self.failure = False


def parse_capture(text):
    """Header lines and exchanges of a capture file (only what the checks need)."""
    header, exchanges = {}, []
    for raw in text.splitlines():
        line = raw.split("#", 1)[0].strip()
        if not line or line.startswith("korvalend-capture"):
            continue
        word, _, rest = line.partition(" ")
        if word == "command":
            fields = rest.split()
            # 12 bytes (maybe run together), then the direction and the length.
            command_hex = "".join(fields[:-2]).upper()
            command = " ".join(command_hex[i : i + 2] for i in range(0, len(command_hex), 2))
            exchanges.append(Exchange(command, fields[-2], int(fields[-1])))
        elif word == "data" and exchanges:
            exchanges[-1].data += bytes.fromhex(rest.replace(" ", ""))
        elif word == "sense" and exchanges:
            exchanges[-1].sense = tuple(int(v, 16) for v in rest.split())
        elif word == "failure" and exchanges:
            exchanges[-1].failure = True
        elif not exchanges:
            header[word] = rest
    return header, exchanges


def answers_to(exchanges, command):
    return [e for e in exchanges if e.command == command]


def byte_at(data, offset):
    return data[offset] if offset < len(data) else 0


# --- The checks ---------------------------------------------------------------------------

def check_setup(r, setup, out_dir, cli, expected_dir, update):
    facts = SETUPS[setup]
    medium = facts["medium"]

    def section(name, binary=False):
        return read(os.path.join(out_dir, name), binary)

    codes = {}
    for line in (section("exit-codes") or "").splitlines():
        name, code = line.split()
        codes[name] = int(code)
    for name in ("list", "list-writers", "report", "capture"):
        r.check(setup, f"{name} exits with 0", codes.get(name) == 0,
                f"exit code {codes.get(name)}; stderr: {(section(name + '.err') or '').strip()[:300]}")

    # The kernel's view: the drive is sr0 with a sysfs device named H:C:T:L.
    probe = section("probe.out") or ""
    device_path = re.search(r"^sr0 device: (\S+)$", probe, re.M)
    r.check(setup, "the guest has /dev/sr0", device_path is not None, probe[:200])
    sysfs_path = device_path.group(1) if device_path else ""
    sysfs_address = [int(v) for v in os.path.basename(sysfs_path).split(":")] if sysfs_path else None
    r.check(setup, "sysfs names the drive at the expected H:C:T:L",
            sysfs_address == facts["address"], sysfs_path)
    components = sysfs_path.split("/")
    on_usb = any(re.fullmatch(r"usb\d+", c) for c in components)
    on_ata = any(re.fullmatch(r"ata\d+", c) for c in components)
    r.check(setup, "sysfs path shows the attachment (usbN for USB, ataN for ATA)",
            on_usb == (facts["attach"] == "usb") and on_ata == (facts["attach"] == "ata"), sysfs_path)

    # list --all --json: one drive, identified and classified.
    drives = []
    try:
        drives = json.loads(section("list.out") or "")["drives"]
    except (ValueError, KeyError, TypeError) as error:
        r.check(setup, "list --all --json prints a JSON drive list", False, str(error))
    if r.check(setup, "list --all finds exactly one drive", len(drives) == 1, f"{len(drives)} drives"):
        drive = drives[0]
        r.check(setup, "the drive is /dev/sr0", drive.get("device") == "/dev/sr0", drive.get("device"))
        r.check(setup, 'INQUIRY vendor is "QEMU"', drive.get("vendor", "").rstrip() == "QEMU",
                repr(drive.get("vendor")))
        r.check(setup, f'INQUIRY product is "{facts["product"]}"',
                drive.get("product", "").rstrip() == facts["product"], repr(drive.get("product")))
        address = drive.get("address", {})
        listed = [address.get(k) for k in ("host", "channel", "target", "lun")]
        r.check(setup, "the listed address is the sysfs H:C:T:L", listed == sysfs_address,
                f"listed {listed}, sysfs {sysfs_address}")
        want_bus = "usb" if facts["attach"] == "usb" else "other"
        r.check(setup, f"bus kind is {want_bus}", drive.get("bus") == want_bus, drive.get("bus"))
        r.check(setup, 'drive type 2 "DVD-ROM  "',
                drive.get("driveType") == 2 and drive.get("driveTypeName") == "DVD-ROM  ",
                f'{drive.get("driveType")} {drive.get("driveTypeName")!r}')
        r.check(setup, "the drive cannot write CD-R", drive.get("cdrWriter") is False)
        r.check(setup, "the drive is not listed as a writer", drive.get("writer") is False)

    # list without --all shows no writer.
    r.check(setup, "list without --all prints no drive", (section("list-writers.out") or "") == "",
            repr(section("list-writers.out")))

    # The report.
    report = section("report.out", binary=True)
    report_lines = (report or b"").decode("latin-1").split("\n")
    if report_lines and report_lines[-1] == "":
        report_lines.pop()
    r.check(setup, "the report starts with the drive type line",
            report_lines[:1] == [DRIVE_LINE], repr(report_lines[:1]))
    r.check(setup, f"the disc line names {medium or 'no medium'}",
            report_lines[1:2] == [DISC_LINES[medium]], repr(report_lines[1:2]))
    if medium is None:
        r.check(setup, "the empty tray gives a report of two lines", len(report_lines) == 2,
                f"{len(report_lines)} lines")
    elif medium == "cd":
        r.check(setup, "the CD report has the lead-in and lead-out lines",
                any(l.startswith("           Lead In = ") for l in report_lines)
                and any(l.startswith("          Lead Out = ") for l in report_lines))
        r.check(setup, "the CD speed line is in CD multiples",
                re.fullmatch(r"Korvalend Speed Limit = Wrt\(\d+X\),Rd\(\d+X\)", report_lines[-1]) is not None,
                report_lines[-1])
    else:
        r.check(setup, "no identifier is readable: twelve zero bytes",
                "   Manufacturer ID = " + " ".join(["00"] * 12) in report_lines)
        r.check(setup, "READ FORMAT CAPACITIES refused: capacity 0",
                "  Nominal Capacity = 0.00GB (LBA:0)" in report_lines)
        r.check(setup, "no maker found: the unknown-maker line with a sense text",
                any(l.startswith("Manufacturer Maybe = Unknown(") for l in report_lines))
        r.check(setup, "a DVD-ROM drive does not ask for a write speed: Wrt(0.0X)",
                re.fullmatch(r"Korvalend Speed Limit = Wrt\(0\.0X\),Rd\(\d+\.\dX\)", report_lines[-1]) is not None,
                report_lines[-1])

    # The trace of the report run: every command on /dev/sr0, none refused by the system.
    trace = [l for l in (section("report.err") or "").splitlines() if l.startswith("trace: ")]
    r.check(setup, "report --trace traces the commands", len(trace) > 0)
    r.check(setup, "every traced command went to /dev/sr0",
            all(l.startswith("trace: /dev/sr0:") for l in trace))
    r.check(setup, "no command failed in the transport",
            not any("transport failure" in l for l in trace),
            next((l for l in trace if "transport failure" in l), ""))

    # The capture: what the drive answered, command by command.
    capture_text = section("capture.out") or ""
    header, exchanges = parse_capture(capture_text)
    r.check(setup, "the capture is a capture file", capture_text.startswith("korvalend-capture 1\n"))
    r.check(setup, "the capture names /dev/sr0", header.get("device") == "/dev/sr0", header.get("device"))
    r.check(setup, "the capture holds the sysfs address",
            header.get("address", "").split() == [str(v) for v in facts["address"]], header.get("address"))
    r.check(setup, "the capture holds the bus kind",
            header.get("bus") == ("usb" if facts["attach"] == "usb" else "other"), header.get("bus"))

    inquiries = [e for e in answers_to(exchanges, INQUIRY) if e.sense is None and not e.failure]
    r.check(setup, "INQUIRY answers with vendor QEMU",
            any(bytes(e.data[8:16]).rstrip() == b"QEMU" for e in inquiries))
    # ATAPI gives 36 bytes of INQUIRY and SG_IO reports no residue, so the short answer counts
    # as the 96 bytes asked for; QEMU's SCSI drives fill the answer to the length asked.
    traced_inquiry = [l for l in trace if l.startswith("trace: /dev/sr0: " + INQUIRY)]
    r.check(setup, "INQUIRY of 96 bytes is traced as 96 bytes moved",
            bool(traced_inquiry) and all("-> ok, 96 bytes" in l for l in traced_inquiry),
            traced_inquiry[0] if traced_inquiry else "not traced")
    want_length = 0x1F if facts["attach"] == "ata" else 0x5B
    r.check(setup, f"INQUIRY additional length 0x{want_length:02X}",
            bool(inquiries) and all(byte_at(e.data, 4) == want_length for e in inquiries),
            " ".join(f"0x{byte_at(e.data, 4):02X}" for e in inquiries))
    pages = [e for e in exchanges if e.command == MODE_SENSE_2A and e.sense is None]
    r.check(setup, "page 2A: DVD-ROM read without CD-R/CD-RW write",
            bool(pages) and all(byte_at(e.data, 10) & 0x08 and not byte_at(e.data, 11) & 0x03 for e in pages))
    probes = answers_to(exchanges, VENDOR_PROBE)
    r.check(setup, "the vendor probe 0xDF is rejected with ILLEGAL REQUEST",
            bool(probes) and all(e.sense and e.sense[0] == 0x05 for e in probes))

    profiles = answers_to(exchanges, CURRENT_PROFILE)
    if medium is None:
        r.check(setup, "no medium: no current profile is asked for", not profiles)
        r.check(setup, "no medium: nothing after the no-medium test but the drive type",
                not answers_to(exchanges, PHYSICAL_FORMAT))
    else:
        want = 0x0008 if medium == "cd" else 0x0010
        got = [(byte_at(e.data, 6) << 8) | byte_at(e.data, 7) for e in profiles if e.sense is None]
        r.check(setup, f"current profile 0x{want:04X}", got and all(p == want for p in got),
                " ".join(f"0x{p:04X}" for p in got) or "not asked")

    if medium == "dvd":
        formats = [e for e in answers_to(exchanges, PHYSICAL_FORMAT) if e.sense is None]
        if r.check(setup, "READ DVD STRUCTURE gives the physical format", bool(formats)):
            data = formats[0].data
            r.check(setup, "physical format: book type 0, byte 9 = 0x00",
                    byte_at(data, 4) >> 4 == 0 and byte_at(data, 9) == 0x00,
                    f"byte 4 0x{byte_at(data, 4):02X}, byte 9 0x{byte_at(data, 9):02X}")
            after = exchanges[exchanges.index(formats[0]) + 1 :]
            r.check(setup, "with byte 9 not 0x03 the ATIP is read next",
                    bool(after) and after[0].command == ATIP_FOR_TYPE,
                    after[0].command if after else "nothing")
        media_ids = answers_to(exchanges, VENDOR_MEDIA_ID)
        r.check(setup, "the vendor media identifier 0xDF is rejected",
                bool(media_ids) and all(e.sense and e.sense[0] == 0x05 for e in media_ids))
    if medium is not None:
        capacities = answers_to(exchanges, FORMAT_CAPACITIES)
        if medium == "dvd":
            r.check(setup, "READ FORMAT CAPACITIES is rejected",
                    bool(capacities) and all(e.sense and e.sense[0] == 0x05 for e in capacities))
            performance = answers_to(exchanges, GET_PERFORMANCE)
            r.check(setup, "GET PERFORMANCE is rejected",
                    bool(performance) and all(e.sense and e.sense[0] == 0x05 for e in performance))
            r.check(setup, "without a performance answer SET STREAMING is not sent",
                    not any(e.command.startswith(SET_STREAMING_OPCODE) for e in exchanges))
        r.check(setup, "SET CD SPEED is sent with the maximum speeds",
                bool(answers_to(exchanges, SET_CD_SPEED)))

    # IDE answers an ATIP request with its TOC (it takes the format from byte 9 bits 7-6).
    if facts["attach"] == "ata" and medium is not None:
        atips = [e for e in answers_to(exchanges, ATIP_FOR_TYPE) if e.sense is None]
        r.check(setup, "ATAPI answers the ATIP request with a TOC (first and last track 1)",
                bool(atips) and all(byte_at(e.data, 2) == 1 and byte_at(e.data, 3) == 1 for e in atips))
    elif medium is not None:
        atips = answers_to(exchanges, ATIP_FOR_TYPE)
        r.check(setup, "the SCSI drive rejects the ATIP request",
                bool(atips) and all(e.sense and e.sense[0] == 0x05 for e in atips))

    # Replays: the capture taken in the guest gives the guest's report byte for byte.
    capture_path = os.path.join(out_dir, "capture.out")
    replay = subprocess.run([cli, "report", "--drive", "/dev/sr0", "--replay", capture_path],
                            capture_output=True, timeout=60)
    r.check(setup, "the replay of the capture runs", replay.returncode == 0,
            replay.stderr.decode(errors="replace").strip()[:300])
    r.check(setup, "the replayed report is byte-identical to the guest's", replay.stdout == report,
            f"guest {report!r} replay {replay.stdout!r}")
    replay_list = subprocess.run([cli, "list", "--all", "--json", "--replay", capture_path],
                                 capture_output=True, timeout=60)
    r.check(setup, "the replayed drive list equals the guest's list --all --json",
            replay_list.returncode == 0 and replay_list.stdout == section("list.out", binary=True),
            replay_list.stdout.decode(errors="replace")[:300])
    # The capture run printed its report on standard error: the drive answered alike twice.
    r.check(setup, "the capture run's report equals the report run's",
            (section("capture.err", binary=True) or b"") == report)

    expected_path = os.path.join(expected_dir, setup + ".report")
    if update:
        os.makedirs(expected_dir, exist_ok=True)
        with open(expected_path, "wb") as f:
            f.write(report or b"")
    else:
        r.check(setup, f"the report equals {os.path.relpath(expected_path)}",
                read(expected_path, binary=True) == report,
                f"expected {read(expected_path, binary=True)!r}, guest {report!r}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--outputs", required=True)
    parser.add_argument("--expected", required=True)
    parser.add_argument("--update-expected", action="store_true")
    parser.add_argument("setups", nargs="+")
    args = parser.parse_args()

    results = Results()
    for setup in args.setups:
        check_setup(results, setup, os.path.join(args.outputs, setup), args.cli, args.expected,
                    args.update_expected)
    for failure in results.failures:
        print("FAILED " + failure)
    print(f"drive-tests: {results.passed} passed, {len(results.failures)} failed")
    sys.exit(1 if results.failures else 0)


if __name__ == "__main__":
    main()
