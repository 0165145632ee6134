#!/usr/bin/env python3
"""Writes the PNG structure fuzzer's seeds: one small file of each kind of
damaged or hostile picture the engine must refuse, and sound ones to start
from. Run from anywhere; the files land beside this script."""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SIGNATURE = b"\x89PNG\r\n\x1a\n"


def chunk(kind, body, crc_fix=0):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", (zlib.crc32(kind + body) ^ crc_fix))


def header(w, h, depth=8, colour=6, interlace=0):
    return struct.pack(">IIBBBBB", w, h, depth, colour, 0, 0, interlace)


def png(*chunks):
    return SIGNATURE + b"".join(chunks)


def rows(w, h, channels=4, fill=b"\x41"):
    return zlib.compress((b"\x00" + fill * (w * channels)) * h, 9)


SEEDS = {
    "sound_rgba_2x3.png": png(chunk(b"IHDR", header(2, 3)), chunk(b"IDAT", rows(2, 3)), chunk(b"IEND", b"")),
    "sound_palette.png": png(chunk(b"IHDR", header(4, 1, 8, 3)), chunk(b"PLTE", b"\x10\x20\x30" * 2),
                             chunk(b"tRNS", b"\x80"), chunk(b"IDAT", rows(4, 1, 1, b"\x01")), chunk(b"IEND", b"")),
    # a header claiming 32768 x 32768 over a few rows: wraps a 32-bit buffer size
    "wrap_32768.png": png(chunk(b"IHDR", header(32768, 32768)), chunk(b"IDAT", rows(32768, 2)), chunk(b"IEND", b"")),
    "wrap_16bit.png": png(chunk(b"IHDR", header(16384, 32768, 16)), chunk(b"IDAT", rows(8, 2)), chunk(b"IEND", b"")),
    "side_2049.png": png(chunk(b"IHDR", header(2049, 1)), chunk(b"IDAT", rows(2049, 1)), chunk(b"IEND", b"")),
    "bad_header_crc.png": png(chunk(b"IHDR", header(2, 2), 1), chunk(b"IDAT", rows(2, 2)), chunk(b"IEND", b"")),
    "bad_data_crc.png": png(chunk(b"IHDR", header(2, 2)), chunk(b"IDAT", rows(2, 2), 1), chunk(b"IEND", b"")),
    "split_data.png": png(chunk(b"IHDR", header(2, 2)), chunk(b"IDAT", rows(2, 2)[:5]), chunk(b"tEXt", b"a\0b"),
                          chunk(b"IDAT", rows(2, 2)[5:]), chunk(b"IEND", b"")),
    "lying_length.png": SIGNATURE + chunk(b"IHDR", header(2, 2)) + struct.pack(">I", 0xFFFFFFF0) + b"IDAT" + rows(2, 2),
    "after_end.png": png(chunk(b"IHDR", header(2, 2)), chunk(b"IDAT", rows(2, 2)), chunk(b"IEND", b"")) + b"junk",
}

if __name__ == "__main__":
    for name, data in SEEDS.items():
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(data)
