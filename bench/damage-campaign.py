#!/usr/bin/env python3
"""The damage campaign: damaged copies of six 60 s streams (Layer II and III,
MPEG-1 and MPEG-2), each with one bit in 10 000 flipped at random, decoded by
plyvane-cli and by mpg123. Counts, per stream and in all, the copies that lose
a second or more of audio against the intact stream's decode. A measurement
with a verdict: exits 1 when any copy loses a second with plyvane-cli.

  bench/damage-campaign.py [--copies N] [--rate R] [--jobs J] [--cli PATH]

--copies is the total (default 600, spread over the six streams), --rate the
share of bits flipped (default 1e-4), --jobs the decodes run at once
(default 2). PLYVANE_CLI overrides the program (default
build/native/bin/plyvane-cli), BENCH_STREAMS the folder of the generated
streams (default build/bench-streams). The flips come from a fixed seed per
stream and copy, so a run repeats exactly.
"""
import argparse
import concurrent.futures
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "data"))
from make_damaged import Rng  # noqa: E402

STREAMS = [
    "bench_60s_44k_stereo_192k.mp2",
    "bench_60s_48k_joint_160k.mp2",
    "bench_60s_24k_mono_64k.mp2",
    "bench_60s_44k_joint_128k.mp3",
    "bench_60s_48k_stereo_192k.mp3",
    "bench_60s_22k_joint_64k.mp3",
]


def wav_frames(path):
    """(sample frames, sample rate) of a PCM WAV file; (0, 0) if there is none."""
    try:
        data = open(path, "rb").read()
    except OSError:
        return 0, 0
    pos, align, rate = 12, 0, 0
    while pos + 8 <= len(data):
        tag, size = data[pos:pos + 4], struct.unpack("<I", data[pos + 4:pos + 8])[0]
        if tag == b"fmt ":
            rate = struct.unpack("<I", data[pos + 12:pos + 16])[0]
            align = struct.unpack("<H", data[pos + 20:pos + 22])[0]
        elif tag == b"data" and align:
            return min(size, len(data) - pos - 8) // align, rate
        pos += 8 + size + (size & 1)
    return 0, rate


def ours(cli, path, work):
    out = os.path.join(work, os.path.basename(path) + ".wav")
    subprocess.run([cli, "decode", path, "-o", out], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    frames, _ = wav_frames(out)
    if os.path.exists(out):
        os.remove(out)
    return frames


def mpg123(path):
    # Forced to two channels, so that a frame of the other channel count does
    # not end its output; gapless, as ours.
    result = subprocess.run(["mpg123", "-q", "--stereo", "-s", path],
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    return len(result.stdout) // 4


def damage(data, seed, rate):
    rng = Rng(seed | 1)
    out = bytearray(data)
    for _ in range(round(len(data) * 8 * rate)):
        bit = rng.next() % (len(data) * 8)
        out[bit >> 3] ^= 0x80 >> (bit & 7)
    return bytes(out)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--copies", type=int, default=600)
    parser.add_argument("--rate", type=float, default=1e-4)
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--cli", default=os.environ.get("PLYVANE_CLI",
                                                        os.path.join(ROOT, "build/native/bin/plyvane-cli")))
    args = parser.parse_args()
    streams_dir = os.environ.get("BENCH_STREAMS", os.path.join(ROOT, "build/bench-streams"))
    for tool in ("mpg123", "sox", "twolame", "lame"):
        if shutil.which(tool) is None:
            sys.exit("damage-campaign.py: %s is missing (scripts/setup installs it)" % tool)
    if not os.access(args.cli, os.X_OK):
        sys.exit("damage-campaign.py: no %s; build it first: cmake --preset native && "
                 "cmake --build --preset native" % args.cli)
    if not all(os.path.exists(os.path.join(streams_dir, s)) for s in STREAMS):
        print("Generating the benchmark streams in %s ..." % streams_dir)
        subprocess.run(["sh", os.path.join(ROOT, "tests/data/make-streams.sh"), "--bench", streams_dir],
                       check=True, stdout=subprocess.DEVNULL)

    work = tempfile.mkdtemp(prefix="damage-campaign.")
    try:
        # A copy, so that a rebuild during the run does not pull it away.
        cli = os.path.join(work, "plyvane-cli")
        shutil.copy2(args.cli, cli)
        pool = concurrent.futures.ThreadPoolExecutor(max_workers=args.jobs)
        print("%d copies, %g of the bits flipped; loss against the intact decode" % (args.copies, args.rate))
        print("%-32s %6s %22s %22s" % ("", "", "copies losing >= 1 s", "worst loss, s"))
        print("%-32s %6s %11s %10s %11s %10s" % ("stream", "copies", "plyvane", "mpg123", "plyvane", "mpg123"))
        total = [0, 0, 0]
        for index, name in enumerate(STREAMS):
            path = os.path.join(streams_dir, name)
            data = open(path, "rb").read()
            out = os.path.join(work, name + ".wav")
            subprocess.run([cli, "decode", path, "-o", out], check=True,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            intact_ours, rate = wav_frames(out)
            intact_theirs = mpg123(path)
            copies = args.copies // len(STREAMS) + (1 if index < args.copies % len(STREAMS) else 0)

            def one(copy):
                damaged = os.path.join(work, "%d.%s" % (copy, name))
                with open(damaged, "wb") as f:
                    f.write(damage(data, zlib.crc32(("%s/%d" % (name, copy)).encode()), args.rate))
                result = (intact_ours - ours(cli, damaged, work), intact_theirs - mpg123(damaged))
                os.remove(damaged)
                return result

            losses = list(pool.map(one, range(copies)))
            lost_ours = sum(1 for o, _ in losses if o >= rate)
            lost_theirs = sum(1 for _, t in losses if t >= rate)
            worst_ours = max(o for o, _ in losses) / rate
            worst_theirs = max(t for _, t in losses) / rate
            print("%-32s %6d %11d %10d %11.2f %10.2f" % (name, copies, lost_ours, lost_theirs, worst_ours,
                                                         worst_theirs))
            total[0] += copies
            total[1] += lost_ours
            total[2] += lost_theirs
        print("files losing a second or more: plyvane-cli %d of %d, mpg123 %d of %d" %
              (total[1], total[0], total[2], total[0]))
        return 1 if total[1] else 0
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
