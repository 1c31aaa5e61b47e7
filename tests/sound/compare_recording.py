#!/usr/bin/env python3
"""Compares what a sink's monitor recorded with the PCM we decoded ourselves.

  compare_recording.py REFERENCE.raw RECORDING.raw [--channels 2]
                       [--rate 44100] [--min-snr 30] [--max-gap-ms 20]

Both files are signed 16-bit little-endian PCM. The recording is aligned to
the reference (first loud sample, then the best offset nearby), and the
alignment then follows slips of a few frames segment by segment (a sound
server under load may insert a little silence). Measured: the longest
stretch where the reference sounds but the recording is silent (a gap
heard), and the SNR of the recording against the reference outside gaps.
A repeated, lost or garbled block fails both. Prints one line; exits 0 when
both meet their limits.
"""
import argparse
import array
import math
import sys

LOUD = 512      # a sample this far from zero is surely sound
QUIET = 8       # the recording counts as silent below this
SEARCH = 96     # frames around the first-loud-sample guess
WINDOW = 8192   # frames compared to pick the offset
SEGMENT = 128   # frames aligned together after that
DRIFT = 64      # frames a segment's alignment may move from the last one's
ALIGNED = 4     # mean difference per sample below which a segment is aligned
MAX_WIDE_SEARCHES = 32  # searches for a longer slip before the recording counts as garbled


def read_pcm(path):
    samples = array.array("h")
    with open(path, "rb") as f:
        samples.frombytes(f.read())
    if sys.byteorder != "little":
        samples.byteswap()
    return samples


def first_loud_frame(samples, channels):
    for i, value in enumerate(samples):
        if abs(value) >= LOUD:
            return i // channels
    return None


def mismatch(ref, rec, channels, ref_start, rec_start, frames):
    total = 0
    for k in range(frames * channels):
        i = rec_start * channels + k
        r = rec[i] if 0 <= i < len(rec) else 0
        total += abs(r - ref[ref_start * channels + k])
    return total


def main(argv):
    p = argparse.ArgumentParser()
    p.add_argument("reference")
    p.add_argument("recording")
    p.add_argument("--channels", type=int, default=2)
    p.add_argument("--rate", type=int, default=44100)
    p.add_argument("--min-snr", type=float, default=30.0)
    p.add_argument("--max-gap-ms", type=float, default=20.0)
    a = p.parse_args(argv)
    ch = a.channels
    ref, rec = read_pcm(a.reference), read_pcm(a.recording)
    ref_frames, rec_frames = len(ref) // ch, len(rec) // ch

    ref_first, rec_first = first_loud_frame(ref, ch), first_loud_frame(rec, ch)
    if ref_first is None:
        print("reference is silent")
        return 2
    if rec_first is None:
        print("FAIL: the recording is silent (%d frames)" % rec_frames)
        return 1

    window = min(WINDOW, ref_frames - ref_first)
    best = None
    for d in range(-SEARCH, SEARCH + 1):
        cost = mismatch(ref, rec, ch, ref_first, rec_first + d, window)
        if best is None or cost < best[0]:
            best = (cost, d)
    offset = rec_first + best[1] - ref_first  # recording frame = reference frame + offset

    # The sound system may slip under load (an underrun inserts silence):
    # the alignment is kept per short segment and follows such slips, but
    # never reorders or skips audio. A slip of up to a few frames is
    # followed at once; a longer one, up to the gap limit, is searched for
    # ahead (silence only ever delays the recording) and counts as a gap of
    # its length. Without such a search a slip of a few milliseconds would
    # leave the rest misaligned and read as noise.
    max_slip = int(a.max_gap_ms * a.rate / 1000.0) + DRIFT
    wide_searches = 0
    slip_gap = 0
    offsets = []

    def best_shift(start, frames, shifts):
        best = None
        for d in shifts:
            cost = mismatch(ref, rec, ch, start, start + offset + d, frames)
            if best is None or cost < best[0]:
                best = (cost, d)
        return best

    for start in range(0, ref_frames, SEGMENT):
        frames = min(SEGMENT, ref_frames - start)
        limit = ALIGNED * frames * ch
        if mismatch(ref, rec, ch, start, start + offset, frames) > limit:
            cost, d = best_shift(start, frames, range(-DRIFT, DRIFT + 1))
            # A recording that matches nowhere fails on its SNR; searching
            # every segment of it would only take long.
            if cost > limit and wide_searches < MAX_WIDE_SEARCHES:
                wide_searches += 1
                wide = best_shift(start, frames, range(DRIFT + 1, max_slip + 1))
                if wide[0] < cost:
                    cost, d = wide
            offset += d
            if d > 0:
                slip_gap = max(slip_gap, d)
        offsets.append(offset)

    def frame_error(f, j):
        error, quiet = 0, True
        for c in range(ch):
            x = rec[j * ch + c] if 0 <= j < rec_frames else 0
            error += (x - ref[f * ch + c]) ** 2
            quiet &= abs(x) < QUIET
        return error, quiet

    # Signal and noise outside gaps; a gap (the reference sounds, the
    # recording is silent) is judged by its length alone.
    signal = noise = 0
    gap = longest_gap = 0
    for f in range(ref_frames):
        segment = f // SEGMENT
        candidates = {offsets[segment], offsets[segment - 1] if segment else offsets[0]}
        error, quiet = min(frame_error(f, f + o) for o in candidates)
        loud_ref = any(abs(ref[f * ch + c]) >= LOUD for c in range(ch))
        if quiet and (loud_ref or gap > 0):
            gap += 1
            longest_gap = max(longest_gap, gap)
            continue
        gap = 0
        signal += sum(ref[f * ch + c] ** 2 for c in range(ch))
        noise += error
    snr = 10 * math.log10(signal / noise) if noise > 0 else float("inf")
    gap_ms = max(longest_gap, slip_gap) * 1000.0 / a.rate
    ok = snr >= a.min_snr and gap_ms <= a.max_gap_ms
    offset = offsets[0] if offsets else offset
    print("%s: %d frames at offset %d, SNR %.1f dB (limit %.0f), longest gap %.1f ms (limit %.0f)" % (
        "ok" if ok else "FAIL", ref_frames, offset, snr, a.min_snr, gap_ms, a.max_gap_ms))
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
