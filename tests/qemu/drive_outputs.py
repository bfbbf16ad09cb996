#!/usr/bin/env python3
"""Host side of the drive test: splits a guest's serial console log into its sections.

usage: drive_outputs.py split CONSOLE_LOG OUT_DIR
       drive_outputs.py self-test

The guest prints each output between "=====BEGIN name=====" and "=====END name=====" lines,
the END line preceded by one newline of its own. The serial console turns every line end into
CR LF and firmware or terminal escape codes may come before the first line; both are undone
here, and nothing else of a section is touched (trailing spaces matter in the reports).
"""

import os
import re
import sys

BEGIN = re.compile(rb"^=====BEGIN (\S+)=====$")
RC = re.compile(rb"^=====RC (\S+) (-?\d+)=====$")
ESCAPE = re.compile(rb"\x1b(\[[0-9;?]*[ -/]*[@-~]|[@-Z\\-_]|c)")


def console_text(raw):
    # The tty's output processing (onlcr) made every "\n" a "\r\n".
    return raw.replace(b"\r\n", b"\n")


def split_sections(text):
    """Returns ({name: bytes}, {name: exit code}, [marker lines seen])."""
    sections, codes, markers = {}, {}, []
    lines = text.split(b"\n")
    i = 0
    while i < len(lines):
        line = ESCAPE.sub(b"", lines[i])
        match = BEGIN.match(line)
        rc = RC.match(line)
        if rc:
            codes[rc.group(1).decode()] = int(rc.group(2))
        elif line.startswith(b"=====GUEST "):
            markers.append(line.decode())
        if not match:
            i += 1
            continue
        name = match.group(1).decode()
        end = b"=====END " + match.group(1) + b"====="
        j = i + 1
        while j < len(lines) and lines[j] != end:
            j += 1
        if j == len(lines):
            raise ValueError(f"section {name} has no END line")
        # The line before END is the newline the guest added after the output.
        sections[name] = b"\n".join(lines[i + 1 : j])
        i = j + 1
    return sections, codes, markers


def split_command(log_path, out_dir):
    with open(log_path, "rb") as f:
        text = console_text(f.read())
    sections, codes, markers = split_sections(text)
    if "=====GUEST DONE=====" not in markers:
        sys.exit(f"{log_path}: the guest did not finish (no GUEST DONE line)")
    for name, data in sections.items():
        with open(os.path.join(out_dir, name), "wb") as f:
            f.write(data)
    with open(os.path.join(out_dir, "exit-codes"), "w") as f:
        for name, code in sorted(codes.items()):
            f.write(f"{name} {code}\n")


def self_test():
    """The splitting rules on a made-up console log; exits non-zero when one breaks."""
    log = (b"\x1bc\x1b[?7l\x1b[2J=====GUEST READY=====\r\n"
           b"=====BEGIN report.out=====\r\n"
           b"         Disc Type = NO MEDIA             \r\n"  # trailing spaces stay
           b"\r\n=====END report.out=====\r\n"
           b"=====BEGIN capture.err=====\r\nno final newline\r\n=====END capture.err=====\r\n"
           b"=====BEGIN empty=====\r\n\r\n=====END empty=====\r\n"
           b"=====RC report 0=====\r\n=====GUEST DONE=====\r\n")
    sections, codes, markers = split_sections(console_text(log))
    assert sections == {
        "report.out": b"         Disc Type = NO MEDIA             \n",
        "capture.err": b"no final newline",
        "empty": b"",
    }, sections
    assert codes == {"report": 0}, codes
    assert markers == ["=====GUEST READY=====", "=====GUEST DONE====="], markers


def main():
    if len(sys.argv) == 4 and sys.argv[1] == "split":
        split_command(sys.argv[2], sys.argv[3])
    elif len(sys.argv) == 2 and sys.argv[1] == "self-test":
        self_test()
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
