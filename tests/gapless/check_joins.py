#!/usr/bin/env python3
"""Compares the decode of an album's tracks, played as one list, with the
album they were cut from.

  check_joins.py ALBUM.wav DECODED.wav --joins N,M [--reference REF.wav]
                 [--margin-db 0]

All are 16-bit PCM WAV files. The decode must have exactly the album's
length, and the album must match it best at offset 0 around every join: no
sample lost, doubled or out of place there. The SNR over each join (1 s
either side of it) must be no lower than the lowest SNR over the middle of
a track (1 s either side of its middle), less --margin-db. It is measured
against the album, or against REF when given: the tracks' ideal gapless
decode (each file alone, as a reference decoder trims it). Each track was
encoded alone, so the encoder met a cut-off signal at its edges; against
the album that loss of the encoder's counts too, against REF only ours.
Prints one line per window; exits 0 when everything holds.
"""
import argparse
import array
import math
import struct
import sys


def read_wav(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:4] != b"RIFF" or data[8:12] != b"WAVE":
        raise SystemExit("%s: not a WAV file" % path)
    pos, channels, rate, samples = 12, 0, 0, None
    while pos + 8 <= len(data):
        chunk, size = data[pos:pos + 4], struct.unpack("<I", data[pos + 4:pos + 8])[0]
        body = data[pos + 8:pos + 8 + size]
        if chunk == b"fmt ":
            fmt, channels, rate = struct.unpack("<HHI", body[:8])
            bits = struct.unpack("<H", body[14:16])[0]
            if fmt not in (1, 0xFFFE) or bits != 16:
                raise SystemExit("%s: not 16-bit PCM" % path)
        elif chunk == b"data":
            samples = array.array("h")
            samples.frombytes(body[:len(body) // 2 * 2])
            if sys.byteorder != "little":
                samples.byteswap()
        pos += 8 + size + (size & 1)
    if samples is None or channels == 0:
        raise SystemExit("%s: no PCM data" % path)
    return channels, rate, samples


def snr(reference, decoded, channels, first, last, offset=0):
    signal = noise = 0
    for i in range(first * channels, last * channels):
        r = reference[i]
        j = i + offset * channels
        d = decoded[j] if 0 <= j < len(decoded) else 0
        signal += r * r
        noise += (r - d) * (r - d)
    return 10 * math.log10(signal / noise) if noise else float("inf")


def main(argv):
    p = argparse.ArgumentParser()
    p.add_argument("album")
    p.add_argument("decoded")
    p.add_argument("--joins", required=True)
    p.add_argument("--reference")
    p.add_argument("--margin-db", type=float, default=0.0)
    a = p.parse_args(argv)
    channels, rate, album = read_wav(a.album)
    dchannels, drate, decoded = read_wav(a.decoded)
    truth = album
    if a.reference:
        rchannels, rrate, truth = read_wav(a.reference)
        if (rchannels, rrate, len(truth)) != (channels, rate, len(album)):
            print("FAIL: the reference is not as long as the album")
            return 1
    frames = len(album) // channels
    ok = True
    if (dchannels, drate) != (channels, rate):
        print("FAIL: %d Hz, %d channels decoded, %d Hz, %d channels in the album" % (drate, dchannels, rate, channels))
        return 1
    if len(decoded) != len(album):
        print("FAIL: %d sample frames decoded, %d in the album" % (len(decoded) // channels, frames))
        ok = False
    joins = [int(j) for j in a.joins.split(",")]
    bounds = [0] + joins + [frames]
    middles = []
    def against(first, last, value):
        if not a.reference:
            return "%.2f dB against the album" % value
        return "%.2f dB against the reference (%.2f dB against the album)" % (
            value, snr(album, decoded, channels, first, last))

    for k in range(len(bounds) - 1):
        middle = (bounds[k] + bounds[k + 1]) // 2
        value = snr(truth, decoded, channels, middle - rate, middle + rate)
        middles.append(value)
        print("track %d middle: SNR %s" % (k + 1, against(middle - rate, middle + rate, value)))
    floor = min(middles) - a.margin_db
    for j in joins:
        value = snr(truth, decoded, channels, j - rate, j + rate)
        # The best alignment with the album over a few samples either side.
        near = [(snr(album, decoded, channels, j - 2048, j + 2048, d), d) for d in range(-8, 9)]
        best = max(near)[1]
        good = value >= floor and best == 0
        ok &= good
        print("join at %d: SNR %s, best offset %d%s" % (
            j, against(j - rate, j + rate, value), best, "" if good else "  FAIL"))
    print("%s: %d sample frames, joins no lower than %.2f dB" % ("ok" if ok else "FAIL", len(decoded) // channels,
                                                                  floor))
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
