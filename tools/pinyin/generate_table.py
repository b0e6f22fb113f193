#!/usr/bin/env python3
"""Generates the pinyin table of PYMethod from the Unihan readings of Debian's unicode-data.

For every character of the GB18030 two-byte area (lead bytes 0x81-0xFE, trail bytes 0x40-0xFE)
the table holds the number of one pinyin syllable, or 0 for characters without a reading
(symbols, kana, Greek, user-defined areas). The bytes are decoded with the system's iconv, the
same converter the program uses to make them, so that table and program agree.

A character with several readings gets its most customary one (kMandarin, then the other
reading fields); OVERRIDES picks another reading where the search expects it. The characters of
the common standard set (those with a kTGHZ2013 entry, the readings of the dictionary of that
set) are checked against it: where the customary reading is not one of the standard readings, the
first standard reading is taken, and no common character of the area may be left without one.

Usage: generate_table.py [output.cpp]   (default: quotes/Library/PYMethod/PYTable.cpp)
"""

import bz2
import os
import subprocess
import sys
import unicodedata

READINGS = "/usr/share/unicode/Unihan_Readings.txt.bz2"
# Reading fields in order of preference.
FIELDS = ["kMandarin", "kHanyuPinlu", "kXHC1983", "kTGHZ2013", "kHanyuPinyin"]
# The readings of the common standard set.
STANDARD = "kTGHZ2013"
# Readings the search expects for characters with several; each is one of its standard readings.
OVERRIDES = {
    "行": "HANG",
    "长": "ZHANG",
    "重": "ZHONG",
    "藏": "CANG",
    "乐": "LE",
    "都": "DOU",
}
LEADS = range(0x81, 0xFF)
TRAILS = range(0x40, 0xFF)
# Punctuation, symbols, kana, Greek and Cyrillic rows: never a syllable.
SYMBOL_ROWS = range(0xA1, 0xAA)


def syllable(reading):
    """'zhǎng' -> 'ZHANG', 'lǘ' -> 'LV'."""
    reading = reading.replace("ü", "v").replace("Ü", "V")
    plain = "".join(c for c in unicodedata.normalize("NFD", reading) if not unicodedata.combining(c))
    return plain.upper()


def standard_readings(value):
    """'kTGHZ2013' value '123.45:xíng,háng' -> ['XING', 'HANG'], in the dictionary's order."""
    return [syllable(r) for word in value.split() for r in word.split(":", 1)[1].split(",")]


def first_reading(field, value):
    word = value.split()[0]
    if field in ("kXHC1983", "kTGHZ2013", "kHanyuPinyin"):
        word = word.split(":", 1)[1].split(",")[0]
    elif field == "kHanyuPinlu":
        # readings with their frequencies: take the most frequent
        best = max(value.split(), key=lambda r: int(r[r.index("(") + 1 : -1]))
        word = best[: best.index("(")]
    return syllable(word)


def load_readings():
    fields = {}
    with bz2.open(READINGS, "rt", encoding="utf-8") as f:
        for line in f:
            if not line.startswith("U+"):
                continue
            code, field, value = line.rstrip("\n").split("\t", 2)
            if field in FIELDS or field == STANDARD:
                fields.setdefault(chr(int(code[2:], 16)), {})[field] = value
    readings, standard = {}, {}
    for char, found in fields.items():
        field = next((f for f in FIELDS if f in found), None)
        if field:
            readings[char] = first_reading(field, found[field])
        if STANDARD in found:
            standard[char] = standard_readings(found[STANDARD])
            if readings.get(char) not in standard[char]:
                readings[char] = standard[char][0]
    for char, reading in OVERRIDES.items():
        assert reading in standard[char], "%s is not read %s" % (char, reading)
        readings[char] = reading
    return readings, standard


def decode_area():
    """The character of every two-byte code, or None where iconv knows none."""
    codes = [(lead, trail) for lead in LEADS for trail in TRAILS]
    data = b"".join(bytes([lead, trail]) + b"\n" for lead, trail in codes)
    out = subprocess.run(["iconv", "-c", "-f", "GB18030", "-t", "UTF-8"], input=data, capture_output=True,
                         check=False).stdout.decode("utf-8")
    lines = out.split("\n")[: len(codes)]
    assert len(lines) == len(codes), "iconv output out of step"
    chars = {}
    for code, text in zip(codes, lines):
        chars[code] = text if len(text) == 1 and ord(text) >= 0x80 else None
    return chars


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    default = os.path.join(here, "..", "..", "quotes", "Library", "PYMethod", "PYTable.cpp")
    output = os.path.normpath(sys.argv[1] if len(sys.argv) > 1 else default)

    readings, standard = load_readings()
    chars = decode_area()
    index = {}
    for (lead, trail), char in chars.items():
        if lead in SYMBOL_ROWS or trail == 0x7F or char is None:
            continue
        reading = readings.get(char)
        if reading:
            index[(lead, trail)] = reading
    # Every GB2312 hanzi (rows B0-F7) must have a reading, but for the chosen exceptions.
    hanzi = [(l, t) for l in range(0xB0, 0xF8) for t in range(0xA1, 0xFF)
             if chars[(l, t)] and unicodedata.category(chars[(l, t)]) != "Co"]
    missing = [chars[code] for code in hanzi if code not in index]
    assert not missing, "GB2312 characters without a reading: %r" % missing
    # Every character of the common set in the area has one of its standard readings.
    wrong = [(char, index.get(code)) for code, char in chars.items()
             if char in standard and code[0] not in SYMBOL_ROWS and index.get(code) not in standard[char]]
    assert not wrong, "common characters without a standard reading: %r" % wrong

    syllables = sorted(set(index.values()))
    number = {s: i + 1 for i, s in enumerate(syllables)}
    with open(output, "w", encoding="utf-8") as f:
        f.write("// Generated by tools/pinyin/generate_table.py from the Unihan readings; do not edit.\n")
        f.write('#include "PYTable.h"\n\n// clang-format off\n')
        f.write("const char* const PYCode[] = {\n")
        for i in range(0, len(syllables), 10):
            f.write("    " + " ".join('"%s",' % s for s in syllables[i : i + 10]) + "\n")
        f.write("};\n")
        f.write("const int PYCodeCount = int(sizeof PYCode / sizeof PYCode[0]);\n\n")
        f.write("const int32_t PYCodeIndex[PYLeadCount * PYTrailCount] = {\n")
        for lead in LEADS:
            values = [number.get(index.get((lead, trail)), 0) for trail in TRAILS]
            f.write("    // %02X\n" % lead)
            for i in range(0, len(values), 16):
                f.write("    " + " ".join("%d," % v for v in values[i : i + 16]) + "\n")
        f.write("};\n// clang-format on\n")
    print("%d syllables, %d characters -> %s" % (len(syllables), len(index), output), file=sys.stderr)


if __name__ == "__main__":
    main()
