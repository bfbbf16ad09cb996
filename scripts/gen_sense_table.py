#!/usr/bin/env python3
"""Writes src/device/sense_table.cpp, the built-in sense-code text table.

Run once by hand when the table changes; the build does not run it and nothing reads the
TSV at run time. The row order and the drive-facing wordings below are the product's own;
every other text is the standard ASC/ASCQ description, upper-cased.

    python3 scripts/gen_sense_table.py /work/shared/data/asc-ascq.tsv > src/device/sense_table.cpp
"""

import sys

# Sense key, ASC and ASCQ as six hex digits, in the order the table is searched.
KEYS = """
    000000 000001 000002 000003 000004 000005 0B0006 000011 000012 000013 000014 000015 000016 040017 000100 030200
    030300 030301 030302 020400 020401 020402 020403 020404 020405 020406 020407 020408 040500 020600 050700 040800
    040801 040802 040803 040900 040901 040902 040903 040904 060A00 010B00 010B01 010B02 030900 030C00 030C01 030C02
    030C03 030C04 030C05 030C06 030C07 030C08 030C09 010C0A 031000 031100 031101 031102 031103 031104 031105 031106
    031107 031108 031109 03110A 03110B 03110C 03110D 03110E 03110F 031110 0B1111 031200 031300 031400 031401 031402
    031403 031404 031405 031406 031500 031501 031502 031600 031601 031602 031603 031604 011700 011701 011702 011703
    011704 011705 011706 011707 011708 011709 011800 011801 011802 011803 011804 011805 011806 011807 011808 031900
    031901 031902 031903 051A00 041B00 041C00 041C01 041C02 0E1D00 011E00 031F00 052000 052100 052101 052102 052200
    052400 052500 052600 052601 052602 052603 052604 072700 072701 072702 072703 072704 072705 072706 062800 062801
    062900 062901 062902 062903 062904 062A00 062A01 062A02 062A03 052B00 052C00 052C01 052C02 052C03 052C04 052C05
    032D00 062E00 062F00 023000 023001 023002 053002 023003 053004 053005 053006 023007 053008 053009 033100 033101
    033102 033200 033201 033300 043400 043500 053501 023502 043503 053504 033600 013700 053800 053900 023A00 023A01
    023A02 033B00 033B01 033B02 033B03 043B04 043B05 033B06 033B07 033B08 033B09 033B0A 033B0B 033B0C 053B0D 053B0E
    063B0F 023B11 063B12 063B13 063B14 063B15 043B16 043C00 053D00 023E00 043E01 043E02 063F00 063F01 063F02 063F03
    044000 0440NN 044100 044200 054300 044400 0B4500 044600 044700 0B4800 0B4900 044A00 044B00 044C00 0B4DNN 0B4E00
    0B4F00 0B5000 0B5001 0B5002 035100 035101 035200 045300 045301 025302 055302 055400 055500 055501 055600 035700
    035800 035900 065A00 065A01 065A02 065A03 065B00 065B01 065B02 065B03 065C00 065C01 035C02 015D00 015D01 015D03
    015DFF 065E00 065E01 065E02 065E03 065E04 046000 036100 036101 036102 046200 056300 056301 056400 056401 046500
    046600 046601 046602 046603 046700 046701 046702 046703 046704 046705 046706 046707 026800 046900 046901 046902
    016A00 066B00 066B01 066B02 036C00 036D00 046E00 056F00 056F01 056F02 056F03 056F04 056F05 0370NN 037100 037200
    037201 037202 057203 057204 057205 037300 017301 037302 037303 037304 037305 017306
""".split()

# Texts that differ from the standard wording, kept exactly as the program shows them.
OVERRIDES = {
    "000000": "NO ADDITIONAL SENSE INFORMATION",
    "020400": "LOGICAL UNIT NOT READY, CAUSE NOT REPORTABLE",
    "020401": "LOGICAL UNIT IS IN PROCESS OF BECOMING READY",
    "020402": "LOGICAL UNIT NOT READY, INITIALIZING CMD. REQUIRED",
    "020600": "NO REFERENCE POSITION FOUND (medium may be upside down)",
    "030900": "MEDIUM ERROR - TRACK FOLLOWING ERROR",
    "040900": "TRACK FOLLOWING ERROR",
    "040803": "LOGICAL UNIT COMMUNICATION CRC ERROR (ULTRA-DMA/32)",
    "052000": "INVALID COMMAND OPERATION CODE",
    "052200": "ILLEGAL FUNCTION (USE 20 00, 24 00, OR 26 00)",
    "052400": "INVALID FIELD IN CDB",
    "062800": "NOT READY TO READY CHANGE, MEDIUM MAY HAVE CHANGED",
    "062900": "POWER ON, RESET, OR BUS DEVICE RESET OCCURRED",
    "023002": "CANNOT READ MEDIUM - INCOMPATIBLE FORMAT",
    "053002": "CANNOT READ MEDIUM - INCOMPATIBLE FORMAT",
    "023A00": "MEDIUM NOT PRESENT",
    "023A01": "MEDIUM NOT PRESENT - TRAY CLOSED",
    "023A02": "MEDIUM NOT PRESENT - TRAY OPEN",
    "053800": "Reserved",
    "043C00": "Reserved",
    "0B4F00": "Reserved",
    "055600": "Reserved",
    "044000": "RAM FAILURE (SHOULD USE 40 NN)",
    "0440NN": "DIAGNOSTIC FAILURE ON COMPONENT NN (80H-FFH)",
    "0B4DNN": "TAGGED OVERLAPPED COMMANDS (NN = QUEUE TAG)",
    "035101": "ERASE FAILURE - Incomplete erase operation detected",
    "025302": "MEDIUM REMOVAL PREVENTED",
    "055302": "MEDIUM REMOVAL PREVENTED",
    "015D00": "FAILURE PREDICTION THRESHOLD EXCEEDED -Predicted Logical Unit Failure",
    "015D01": "FAILURE PREDICTION THRESHOLD EXCEEDED -Predicted Media Failure",
    "015D03": "FAILURE PREDICTION THRESHOLD EXCEEDED -Predicted Spare Area Exhaustion",
    "015DFF": "FAILURE PREDICTION THRESHOLD EXCEEDED (FALSE)",
    "065E04": "STANDBY CONDITION ACTIVATED BY COMMAND  5F 00 Reserved",
    "0370NN": "DECOMPRESSION EXCEPTION SHORT ALGORITHM ID OF NN",
    "057203": "SESSION FIXATION ERROR - INCOMPLETE TRACK IN SESSION",
    "017301": "POWER CALIBRATION AREA ALMOST FULL",
    "037302": "POWER CALIBRATION AREA IS FULL",
    "017306": "PROGRAM MEMORY AREA/RMA IS (almost) FULL",
}

ROW_COUNT = 332
MAX_TEXT = 70  # the text field is 72 bytes and always keeps its terminator


def read_standard_texts(path):
    texts = {}
    with open(path, encoding="ascii") as tsv:
        next(tsv)  # header
        for line in tsv:
            asc, ascq, description = line.rstrip("\n").split("\t")
            texts.setdefault((asc.upper() + ascq.upper()), description.strip().upper())
    return texts


def c_string(text):
    if not text.isascii() or any(c in text for c in '"\\') or not text.isprintable():
        sys.exit(f"text needs escaping: {text!r}")
    return '"' + text + '"'


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: gen_sense_table.py asc-ascq.tsv")
    if len(KEYS) != ROW_COUNT or len(set(KEYS)) != ROW_COUNT:
        sys.exit("key list must hold 332 different keys")
    standard = read_standard_texts(sys.argv[1])
    rows = []
    for key in KEYS:
        text = OVERRIDES.get(key, standard.get(key[2:]))
        if text is None:
            sys.exit(f"no text for {key}")
        if len(text) > MAX_TEXT:
            print(f"cut to {MAX_TEXT}: {key} {text}", file=sys.stderr)
            text = text[:MAX_TEXT]
        rows.append(f'    {{"{key}", {c_string(text)}}},')
    print("// Generated by scripts/gen_sense_table.py; edit the script, not this file.")
    print('#include "device/sense_table.h"')
    print()
    print("namespace korvalend {")
    print()
    print("// clang-format off")
    print(f"const std::array<SenseTextRow, {ROW_COUNT}> kSenseTextTable = {{{{")
    print("\n".join(rows))
    print("}};")
    print("// clang-format on")
    print()
    print("}  // namespace korvalend")


if __name__ == "__main__":
    main()
