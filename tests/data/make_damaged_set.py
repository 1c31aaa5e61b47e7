#!/usr/bin/env python3
"""Writes the damaged-stream set: five damaged copies of each stream.

  make_damaged_set.py OUTDIR STREAM...

For every stream, into OUTDIR (named <stream>.<kind>.<ext>):
  mode_flip        one header in the middle changed to the other channel count
  false_header     four bytes of a header of the other channel count inserted
                   before the middle frame
  first_header     the first header damaged: a forbidden bit-rate index or the
                   reserved sampling frequency, by turns
  junk_false_sync  100 bytes of junk holding a plausible header of another
                   kind before the stream
  bit_damage       one bit in 10 000 flipped at random

A fixed-seed generator per stream makes the output the same on every run.
"""
import os
import sys
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from describe_streams import scan  # noqa: E402
from make_damaged import Rng, garbage  # noqa: E402

KINDS = ("mode_flip", "false_header", "first_header", "junk_false_sync", "bit_damage")
FLIP_RATE = 1e-4


def other_channel_count(word):
    """The header word with its mode set to the other channel count: single
    channel becomes joint stereo, any two-channel mode single channel."""
    mode = (word >> 6) & 3
    return (word & ~0xC0) | ((1 if mode == 3 else 3) << 6)


def put_word(data, pos, word):
    data[pos:pos + 4] = word.to_bytes(4, "big")


def middle_frame(frames):
    return frames[len(frames) // 2]


def mode_flip(data, frames, rng):
    out = bytearray(data)
    pos, h, _ = middle_frame(frames)
    put_word(out, pos, other_channel_count(h.word))
    return bytes(out)


def false_header(data, frames, rng):
    pos, h, _ = middle_frame(frames)
    return data[:pos] + other_channel_count(h.word).to_bytes(4, "big") + data[pos:]


def first_header(data, frames, rng, forbidden):
    out = bytearray(data)
    pos, h, _ = frames[0]
    word = h.word | (0xF << 12) if forbidden else h.word | (3 << 10)
    put_word(out, pos, word)
    return bytes(out)


def junk_false_sync(data, frames, rng):
    h = frames[0][1]
    # Another layer or another sampling frequency than the stream's, with a
    # valid bit rate, at a random place in the junk.
    layer_field = (h.word >> 17) & 3
    rate_index = (h.word >> 10) & 3
    if rng.byte(2):
        layer_field = 1 if layer_field == 2 else 2
    else:
        rate_index = (rate_index + 1 + rng.byte(2)) % 3
    word = (0xFFF << 20) | (h.word & (1 << 19)) | (layer_field << 17) | (1 << 16) \
        | ((1 + rng.byte(14)) << 12) | (rate_index << 10) | (rng.byte(4) << 6)
    junk = bytearray(garbage(rng, 100))
    put_word(junk, rng.byte(60), word)
    return bytes(junk) + data


def bit_damage(data, frames, rng):
    out = bytearray(data)
    for _ in range(round(len(data) * 8 * FLIP_RATE)):
        bit = rng.next() % (len(data) * 8)
        out[bit >> 3] ^= 0x80 >> (bit & 7)
    return bytes(out)


def damaged_copies(path):
    data = open(path, "rb").read()
    frames = list(scan(data))
    name = os.path.basename(path)
    rng = Rng(zlib.crc32(name.encode()) | 1)
    forbidden = zlib.crc32(name.encode()) & 1 == 0
    yield "mode_flip", mode_flip(data, frames, rng)
    yield "false_header", false_header(data, frames, rng)
    yield "first_header", first_header(data, frames, rng, forbidden)
    yield "junk_false_sync", junk_false_sync(data, frames, rng)
    yield "bit_damage", bit_damage(data, frames, rng)


def main(argv):
    if len(argv) < 2:
        sys.exit(__doc__)
    out = argv[0]
    os.makedirs(out, exist_ok=True)
    for path in argv[1:]:
        stem, ext = os.path.splitext(os.path.basename(path))
        for kind, data in damaged_copies(path):
            with open(os.path.join(out, "%s.%s%s" % (stem, kind, ext)), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main(sys.argv[1:])
