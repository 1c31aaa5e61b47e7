#!/usr/bin/env python3
"""The hand-made test files, called by make-streams.sh.

  make_damaged.py picture OUT.jpg           a JPEG-like blob full of false sync words
  make_damaged.py damaged LAYER2 LAYER3 OUT the damaged inputs, made from the streams

Bytes come from a fixed-seed xorshift generator, so the output never changes.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from describe_streams import scan, layer3_side_info  # noqa: E402


class Rng:
    def __init__(self, seed):
        self.x = seed

    def next(self):
        x = self.x
        x ^= (x << 13) & 0xFFFFFFFF
        x ^= x >> 17
        x ^= (x << 5) & 0xFFFFFFFF
        self.x = x
        return x

    def byte(self, below=256):
        return self.next() % below


def picture(out):
    rng = Rng(0x1D3)
    body = bytearray(b"\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00")
    # Sync words a frame search could take: MPEG-1 Layer III 128k 44.1 kHz,
    # Layer II with CRC, MPEG-2 Layer III, and random FFFx words.
    lures = [b"\xFF\xFB\x90\x64", b"\xFF\xFD\x94\x00", b"\xFF\xF3\x64\xC4", b"\xFF\xFA\x92\x40"]
    while len(body) < 6000:
        r = rng.byte(8)
        if r == 0:
            body += lures[rng.byte(len(lures))]
        elif r == 1:
            body += bytes([0xFF, 0xF0 | rng.byte(16)])
        else:
            body += bytes(rng.byte(256) for _ in range(rng.byte(12) + 1))
    body += b"\xFF\xD9"
    open(out, "wb").write(body)


def frames(data):
    return list(scan(data))


def garbage(rng, n):
    """n bytes that hold no 0xFF and therefore no sync word."""
    return bytes(rng.byte(255) for _ in range(n))


def ffff_garbage(rng, n):
    """Random bytes whose only 0xFF bytes come as FF FF pairs, which a frame
    search must pass over (a 16-bit all-ones word is not a header), each
    followed by a byte below 0xE0."""
    out = bytearray()
    while len(out) < n - 3:
        if rng.byte(40) == 0:
            out += b"\xFF\xFF" + bytes([rng.byte(0xE0)])
        else:
            out.append(rng.byte(0xFF))
    while len(out) < n:
        out.append(rng.byte(0xE0))
    return bytes(out)


def flip_bits(rng, data, every, keep):
    """Flips one random bit in every `every` bytes on average, after `keep` bytes."""
    out = bytearray(data)
    for _ in range((len(data) - keep) // every):
        pos = keep + rng.next() % (len(data) - keep)
        out[pos] ^= 1 << rng.byte(8)
    return bytes(out)


def crc16(bits_value, nbits, crc=0xFFFF):
    for i in range(nbits - 1, -1, -1):
        bit = (bits_value >> i) & 1
        top = (crc >> 15) & 1
        crc = (crc << 1) & 0xFFFF
        if top ^ bit:
            crc ^= 0x8005
    return crc


def layer1_stream(with_crc, nframes=40):
    """MPEG-1 Layer I, 48 kHz stereo 384 kbit/s: 384-byte frames whose
    allocations are all 0 (silence). With CRC the header is FF FE, which a
    frame search accepts; without, FF FF, a word it passes over."""
    header = bytes([0xFF, 0xFE if with_crc else 0xFF, 0xC4, 0x00])
    frame = bytearray(header)
    if with_crc:
        # Checked bits: header bits 16-31 and the 2 x 32 four-bit allocations.
        crc = crc16(int.from_bytes(header[2:4], "big"), 16)
        crc = crc16(0, 256, crc)
        frame += crc.to_bytes(2, "big")
    frame += bytes(384 - len(frame))
    return bytes(frame) * nframes


def id3v2_oversize(audio):
    """An ID3v2.3 header that claims 1 MB more than the file holds."""
    size = 1 << 20
    syncsafe = bytes([(size >> 21) & 127, (size >> 14) & 127, (size >> 7) & 127, size & 127])
    return b"ID3\x03\x00\x00" + syncsafe + b"TIT2\x00\x00\x00\x05\x00\x00\x00bad" + audio


def damaged(layer2, layer3, out):
    def read(path):
        return open(path, "rb").read()

    def write(name, data):
        open(os.path.join(out, name), "wb").write(data)

    rng = Rng(0xDA3A6ED)
    l2 = read(os.path.join(layer2, "mpeg1_44k_stereo_128k.mp2"))
    l2_joint = read(os.path.join(layer2, "mpeg1_44k_joint_192k.mp2"))
    l3 = read(os.path.join(layer3, "mpeg1_44k_joint_128k.mp3"))
    l3_lsf = read(os.path.join(layer3, "mpeg2_22k_joint_64k_short.mp3"))

    write("empty.mp2", b"")
    f2 = frames(l2)
    write("l2_truncated.mp2", l2[:f2[10][0] + 200])
    write("l2_prefix_garbage.mp2", garbage(rng, 4000) + l2)
    write("l2_prefix_ffff.mp2", ffff_garbage(rng, 4000) + l2)
    write("l2_prefix_false_sync.mp2",
          garbage(rng, 1000) + layer1_stream(True, 1)[:4] + garbage(rng, 1000) + l2)
    write("l2_bitflips.mp2", flip_bits(rng, l2_joint, 400, 4))
    write("layer1_crc.mp1", layer1_stream(True))
    write("layer1_nocrc.mp1", layer1_stream(False))

    f3 = frames(l3)
    write("l3_truncated.mp3", l3[:f3[20][0] + 150])
    write("l3_bitflips.mp3", flip_bits(rng, l3, 300, 4))
    write("l3_lsf_bitflips.mp3", flip_bits(rng, l3_lsf, 300, 4))
    # Start at a frame whose main data begins in a frame that is cut away;
    # that frame alone is a stream without a sample.
    for pos, h, n in f3[5:]:
        if layer3_side_info(l3, pos, h)[0] >= 100:
            write("l3_mdb_before_start.mp3", l3[pos:])
            write("l3_no_audio.mp3", l3[pos:pos + n])
            break
    write("l3_id3v2_oversize.mp3", id3v2_oversize(l3))


def main(argv):
    if argv[0] == "picture":
        picture(argv[1])
    elif argv[0] == "damaged":
        damaged(*argv[1:4])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv[1:])
