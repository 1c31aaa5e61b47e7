#!/usr/bin/env python3
"""Summarises MPEG audio streams: version, layer, rate, modes, mode extensions,
Layer II allocation tables and Layer III block types, so the test streams can
be checked for the coverage they claim.

usage: describe_streams.py [--frames] FILE...
       describe_streams.py --check   (coverage of layer2/ and layer3/)
"""
import sys

BITRATES = {
    (1, 1): [0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448],
    (1, 2): [0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384],
    (1, 3): [0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320],
    (2, 1): [0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256],
    (2, 2): [0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160],
}
BITRATES[(2, 3)] = BITRATES[(2, 2)]
BITRATES[(25, 1)], BITRATES[(25, 2)], BITRATES[(25, 3)] = BITRATES[(2, 1)], BITRATES[(2, 2)], BITRATES[(2, 3)]
RATES = {1: [44100, 48000, 32000], 2: [22050, 24000, 16000], 25: [11025, 12000, 8000]}
MODES = ["stereo", "joint", "dual", "mono"]
VERSION_NAMES = {1: "MPEG-1", 2: "MPEG-2", 25: "MPEG-2.5"}


class Header:
    def __init__(self, word):
        self.word = word
        v = (word >> 19) & 3
        self.version = {3: 1, 2: 2, 0: 25}.get(v)
        self.layer = 4 - ((word >> 17) & 3)  # 4 means reserved
        self.crc = ((word >> 16) & 1) == 0
        self.bitrate_index = (word >> 12) & 15
        self.rate_index = (word >> 10) & 3
        self.padding = (word >> 9) & 1
        self.mode = (word >> 6) & 3
        self.mode_ext = (word >> 4) & 3
        self.emphasis = word & 3

    def valid(self):
        return (self.word >> 21) == 0x7FF and self.version is not None and self.layer != 4 \
            and self.bitrate_index != 15 and self.rate_index != 3

    @property
    def channels(self):
        return 1 if self.mode == 3 else 2

    @property
    def rate(self):
        return RATES[self.version][self.rate_index]

    @property
    def kbps(self):
        return BITRATES[(self.version, self.layer)][self.bitrate_index]

    def length(self):
        """Frame length in bytes, None for free format."""
        if self.bitrate_index == 0:
            return None
        br = self.kbps * 1000
        if self.layer == 1:
            return (12 * br // self.rate + self.padding) * 4
        if self.layer == 3 and self.version != 1:
            return 72 * br // self.rate + self.padding
        return 144 * br // self.rate + self.padding

    def fixed_bits(self):
        # Fields that stay constant within one stream: sync, version, layer, rate.
        return self.word & 0xFFFE0C00


def alloc_table(h):
    """Layer II allocation table name and sblimit."""
    if h.version != 1:
        return "B.1", 30
    per_ch = h.kbps if h.mode == 3 else h.kbps // 2
    if per_ch in (32, 48):
        return ("d", 12) if h.rate == 32000 else ("c", 8)
    if per_ch in (56, 64, 80):
        return "a", 27
    if per_ch in (96, 112, 128, 160, 192):
        return ("a", 27) if h.rate == 48000 else ("b", 30)
    return "none(%d/ch)" % per_ch, 0


class Bits:
    def __init__(self, data, pos):
        self.data, self.bit = data, pos * 8

    def read(self, n):
        v = 0
        for _ in range(n):
            byte = self.data[self.bit >> 3] if (self.bit >> 3) < len(self.data) else 0
            v = (v << 1) | ((byte >> (7 - (self.bit & 7))) & 1)
            self.bit += 1
        return v


def layer3_side_info(data, pos, h):
    """Returns (main_data_begin, [(block_type, mixed, tables, scfsi_used)])."""
    b = Bits(data, pos + 4 + (2 if h.crc else 0))
    nch = h.channels
    granules = []
    if h.version == 1:
        mdb = b.read(9)
        b.read(5 if nch == 1 else 3)
        scfsi = [b.read(4) for _ in range(nch)]
        ngr = 2
    else:
        mdb = b.read(8)
        b.read(1 if nch == 1 else 2)
        scfsi = [0] * nch
        ngr = 1
    for gr in range(ngr):
        for ch in range(nch):
            b.read(12)            # part2_3_length
            big_values = b.read(9)
            b.read(8)             # global_gain
            b.read(4 if h.version == 1 else 9)
            if b.read(1):         # window switching
                block_type, mixed = b.read(2), b.read(1)
                tables = [b.read(5), b.read(5)]
                b.read(9)
            else:
                block_type, mixed = 0, 0
                tables = [b.read(5), b.read(5), b.read(5)]
                b.read(7)
            if h.version == 1:
                b.read(1)         # preflag
            b.read(1)             # scalefac_scale
            c1 = b.read(1)
            granules.append((block_type, mixed, tables if big_values else [], c1,
                             gr == 1 and scfsi[ch] != 0))
    return mdb, granules


def id3v2_size(data):
    if len(data) >= 10 and data[:3] == b"ID3" and all(x < 0x80 for x in data[6:10]):
        size = (data[6] << 21) | (data[7] << 14) | (data[8] << 7) | data[9]
        footer = 10 if data[5] & 0x10 else 0
        return 10 + size + footer
    return 0


def next_sync(data, pos, fixed=None):
    while pos + 4 <= len(data):
        if data[pos] == 0xFF and (data[pos + 1] & 0xE0) == 0xE0:
            h = Header(int.from_bytes(data[pos:pos + 4], "big"))
            if h.valid() and (fixed is None or h.fixed_bits() == fixed):
                return pos, h
        pos += 1
    return None, None


def free_format_base(data, pos, h):
    """Unpadded frame length of a free-format stream: the distance to the next
    header with the same fixed fields that is itself followed by one."""
    cand = pos + 4
    while True:
        nxt, nh = next_sync(data, cand, h.fixed_bits())
        if nh is None:
            return None
        base = nxt - pos - h.padding
        third = nxt + base + nh.padding
        if third + 4 > len(data):
            return base
        th = Header(int.from_bytes(data[third:third + 4], "big"))
        if th.valid() and th.fixed_bits() == h.fixed_bits():
            return base
        cand = nxt + 1


def frame_length(data, pos, h, free_base):
    n = h.length()
    if n is not None:
        return n
    base = free_base if free_base else free_format_base(data, pos, h)
    return None if base is None else base + h.padding


def chained(data, pos, h, n, count):
    for _ in range(count):
        pos += n
        if pos + 4 > len(data):
            return True
        nh = Header(int.from_bytes(data[pos:pos + 4], "big"))
        if not (nh.valid() and nh.fixed_bits() == h.fixed_bits()):
            return False
        n = nh.length() or (n - h.padding + nh.padding)
        h = nh
    return True


def scan(data):
    """Yields (pos, header, length) for each frame of the chain; junk is skipped."""
    pos = id3v2_size(data)
    fixed = None
    free_base = None
    while True:
        pos, h = next_sync(data, pos, fixed)
        if h is None:
            return
        n = frame_length(data, pos, h, free_base)
        if n is None:  # a free-format candidate with no second header
            pos += 1
            continue
        # Accept a first candidate only if two more headers follow it in
        # step (or the data ends); later frames need only be in sequence.
        if fixed is None and not chained(data, pos, h, n, 2):
            pos += 1
            continue
        end = pos + n
        fixed = h.fixed_bits()
        if h.length() is None:
            free_base = n - h.padding
        yield pos, h, n
        pos = end


def describe(path, show_frames=False):
    data = open(path, "rb").read()
    s = {"file": path.split("/")[-1], "bytes": len(data), "frames": 0, "versions": set(),
         "layers": set(), "rates": set(), "kbps": set(), "modes": set(), "mode_ext": set(),
         "alloc": set(), "blocks": set(), "htabs": set(), "c1": set(), "mdb": 0, "crc": 0,
         "padded": 0, "free": False, "scfsi": False, "first": None, "covered": 0,
         "id3": id3v2_size(data), "tag": ""}
    for pos, h, n in scan(data):
        if s["first"] is None:
            s["first"] = pos
            if b"Xing" in data[pos:pos + n] or b"Info" in data[pos:pos + n]:
                s["tag"] = "Xing" if b"Xing" in data[pos:pos + n] else "Info"
        s["frames"] += 1
        s["covered"] += min(n, len(data) - pos)
        s["versions"].add(VERSION_NAMES[h.version])
        s["layers"].add(h.layer)
        s["rates"].add(h.rate)
        s["kbps"].add(h.kbps)
        s["free"] |= h.bitrate_index == 0
        s["modes"].add(MODES[h.mode])
        s["crc"] += h.crc
        s["padded"] += h.padding
        if h.mode == 1:
            s["mode_ext"].add(h.mode_ext)
        line = "%8d %s L%d %d Hz %s kbit/s %s" % (pos, VERSION_NAMES[h.version], h.layer, h.rate,
                                                  h.kbps or "free", MODES[h.mode])
        if h.mode == 1:
            line += " ext=%d" % h.mode_ext
        if h.layer == 2:
            s["alloc"].add("%s:%d" % alloc_table(h))
        if h.layer == 3 and pos + 40 <= len(data):
            mdb, grs = layer3_side_info(data, pos, h)
            s["mdb"] = max(s["mdb"], mdb)
            for bt, mixed, tables, c1, scfsi in grs:
                s["blocks"].add("%d%s" % (bt, "+mixed" if mixed else ""))
                s["htabs"].update(tables)
                s["c1"].add(c1)
                s["scfsi"] |= scfsi
            line += " mdb=%d blocks=%s" % (mdb, ",".join("%d%s" % (g[0], "m" if g[1] else "") for g in grs))
        if show_frames:
            print(line)
    s["junk"] = len(data) - s["covered"] - s["id3"]
    return s


def fmt(values):
    return ",".join(str(v) for v in sorted(values)) or "-"


def summary(s):
    if not s["frames"]:
        return "%s: %d bytes, no frames" % (s["file"], s["bytes"])
    parts = ["%s: %s L%s %s Hz %s kbit/s %s" % (
        s["file"], fmt(s["versions"]), fmt(s["layers"]), fmt(s["rates"]),
        "free" if s["free"] else fmt(s["kbps"]), fmt(s["modes"]))]
    parts.append("frames=%d" % s["frames"])
    if s["mode_ext"]:
        parts.append("mode_ext=%s" % fmt(s["mode_ext"]))
    if s["alloc"]:
        parts.append("alloc=%s" % fmt(s["alloc"]))
    if s["blocks"]:
        parts.append("blocks=%s htabs=%s c1=%s mdb<=%d%s" % (
            fmt(s["blocks"]), fmt(s["htabs"]), fmt(s["c1"]), s["mdb"], " scfsi" if s["scfsi"] else ""))
    if s["crc"]:
        parts.append("crc=%d" % s["crc"])
    if s["padded"]:
        parts.append("padded=%d" % s["padded"])
    if s["id3"]:
        parts.append("id3v2=%d bytes" % s["id3"])
    if s["tag"]:
        parts.append("%s tag" % s["tag"])
    if s["first"] and s["first"] != s["id3"]:
        parts.append("first frame at %d" % s["first"])
    if s["junk"] > 0:
        parts.append("junk/cut=%d bytes" % s["junk"])
    return " ".join(parts)


def check_coverage(here):
    """Fails unless layer2/ and layer3/ hold what README.md claims."""
    import glob
    import os
    problems = []
    for layer, folder in ((2, "layer2"), (3, "layer3")):
        streams = [describe(p) for p in sorted(glob.glob(os.path.join(here, folder, "*")))]
        got = {"rates": set(), "modes": set(), "mode_ext_mpeg1": set(), "alloc": set(),
               "blocks": set(), "vbr": False, "id3": False}
        for s in streams:
            if s["frames"] == 0 or s["layers"] != {layer}:
                problems.append("%s: not a Layer %d stream" % (s["file"], layer))
            got["rates"] |= {(v, r) for v in s["versions"] for r in s["rates"]}
            got["modes"] |= s["modes"]
            if "MPEG-1" in s["versions"]:
                got["mode_ext_mpeg1"] |= s["mode_ext"]
            got["alloc"] |= {a.split(":")[0] for a in s["alloc"]}
            got["blocks"] |= s["blocks"]
            got["vbr"] |= len(s["kbps"]) > 1
            got["id3"] |= s["id3"] > 0
        want_rates = {("MPEG-1", r) for r in (32000, 44100, 48000)} | \
            {("MPEG-2", r) for r in (16000, 22050, 24000)}
        need = [("rates", want_rates), ("modes", {"stereo", "joint", "dual", "mono"})]
        if layer == 2:
            need += [("alloc", {"a", "b", "c", "d", "B.1"}), ("mode_ext_mpeg1", {0, 1, 2, 3})]
        else:
            need += [("blocks", {"0", "1", "2", "3"}), ("mode_ext_mpeg1", {0, 2})]
        for key, want in need:
            if not want <= got[key]:
                problems.append("%s: %s missing %s" % (folder, key, sorted(want - got[key])))
        if layer == 3 and not (got["vbr"] and got["id3"]):
            problems.append("layer3: no VBR or no ID3v2 stream")
    for p in problems:
        print("coverage: " + p)
    print("coverage %s" % ("FAILED" if problems else "ok"))
    return not problems


def main(argv):
    if "--check" in argv:
        import os
        sys.exit(0 if check_coverage(os.path.dirname(os.path.abspath(__file__))) else 1)
    frames = "--frames" in argv
    files = [a for a in argv if not a.startswith("--")]
    for path in files:
        s = describe(path, frames)
        print(summary(s))


if __name__ == "__main__":
    main(sys.argv[1:])
