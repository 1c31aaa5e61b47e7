#include "layer3_imdct.h"

#include <cmath>
#include <cstring>

#include "simd.h"

namespace plyvane {
namespace {

using simd::Float4;

constexpr double kPi = 3.14159265358979323846;

// A constant in all four lanes.
struct Lanes {
    alignas(16) float v[4];
    void Set(double value) {
        for (float& lane : v) lane = static_cast<float>(value);
    }
    Float4 Get() const { return Float4::Load(v); }
};

// The rotation by -angle: multiplication by e^(-i angle).
struct Twiddle {
    Lanes cosine, sine;
    void Set(double angle) {
        cosine.Set(std::cos(angle));
        sine.Set(std::sin(angle));
    }
};

// Four complex numbers, one per subband.
struct Complex4 {
    Float4 re, im;
};

Complex4 operator+(Complex4 a, Complex4 b) { return {a.re + b.re, a.im + b.im}; }
Complex4 operator-(Complex4 a, Complex4 b) { return {a.re - b.re, a.im - b.im}; }

Complex4 Rotate(Complex4 z, const Twiddle& t) {
    const Float4 c = t.cosine.Get(), s = t.sine.Get();
    return {z.re * c + z.im * s, z.im * c - z.re * s};
}

// Where the IMDCT output i of the long (36-point) and short (12-point)
// transforms comes from: plus or minus the DCT-IV output Z[index].
struct OutputSource {
    int index;
    double sign;
};

OutputSource LongSource(int i) {
    if (i < 9) return {9 + i, 1.0};
    if (i < 27) return {26 - i, -1.0};
    return {i - 27, -1.0};
}

OutputSource ShortSource(int i) {
    if (i < 3) return {3 + i, 1.0};
    if (i < 9) return {8 - i, -1.0};
    return {i - 9, -1.0};
}

struct ImdctTables {
    Lanes half, sqrt3Half;
    // e^(-2 pi i m / 9) for m = 1, 2, 4.
    Twiddle nine[3];
    // The DCT-IV of size 2N as a complex DFT of size N: pre-rotation of
    // input p by pi p / 2N, post-rotation of output q by pi (4q + 1) / 8N.
    Twiddle pre18[9], post18[9], pre6[3], post6[3];
    // The windows by block type (0, 1, 3; 2 unused), each entry carrying
    // the sign with which its output follows from the DCT-IV.
    Lanes longWindow[4][36];
    Lanes shortWindow[12];

    ImdctTables() {
        half.Set(0.5);
        sqrt3Half.Set(std::sqrt(3.0) / 2.0);
        nine[0].Set(2 * kPi / 9);
        nine[1].Set(4 * kPi / 9);
        nine[2].Set(8 * kPi / 9);
        for (int p = 0; p < 9; ++p) {
            pre18[p].Set(kPi * p / 18);
            post18[p].Set(kPi * (4 * p + 1) / 72);
        }
        for (int p = 0; p < 3; ++p) {
            pre6[p].Set(kPi * p / 6);
            post6[p].Set(kPi * (4 * p + 1) / 24);
        }
        for (int i = 0; i < 36; ++i) {
            const float longSine = static_cast<float>(std::sin((i + 0.5) * kPi / 36.0));
            float window[4];
            window[0] = longSine;
            // Start: long rise, flat, short fall, silence.
            window[1] = i < 18   ? longSine
                        : i < 24 ? 1.0f
                        : i < 30 ? static_cast<float>(std::sin((i - 18 + 0.5) * kPi / 12.0))
                                 : 0.0f;
            window[2] = 0.0f;
            // Stop: silence, short rise, flat, long fall.
            window[3] = i < 6    ? 0.0f
                        : i < 12 ? static_cast<float>(std::sin((i - 6 + 0.5) * kPi / 12.0))
                        : i < 18 ? 1.0f
                                 : longSine;
            for (int type = 0; type < 4; ++type) longWindow[type][i].Set(LongSource(i).sign * window[type]);
        }
        for (int i = 0; i < 12; ++i) {
            const float shortSine = static_cast<float>(std::sin((i + 0.5) * kPi / 12.0));
            shortWindow[i].Set(ShortSource(i).sign * shortSine);
        }
    }

    static const ImdctTables& Get() {
        static const ImdctTables tables;
        return tables;
    }
};

void Dft3(Complex4 a, Complex4 b, Complex4 c, Complex4* out, const ImdctTables& t) {
    const Complex4 sum = b + c;
    const Complex4 difference = b - c;
    const Float4 h = t.half.Get(), s = t.sqrt3Half.Get();
    const Complex4 middle = {a.re - sum.re * h, a.im - sum.im * h};
    // (b - c) times -i sqrt(3)/2.
    const Complex4 turned = {difference.im * s, -(difference.re * s)};
    out[0] = a + sum;
    out[1] = middle + turned;
    out[2] = middle - turned;
}

// A 9-point DFT as three 3-point DFTs of the inputs 3 apart, twiddled, and
// three 3-point DFTs across them.
void Dft9(const Complex4* in, Complex4* out, const ImdctTables& t) {
    Complex4 inner[3][3];
    for (int n = 0; n < 3; ++n) Dft3(in[n], in[3 + n], in[6 + n], inner[n], t);
    inner[1][1] = Rotate(inner[1][1], t.nine[0]);
    inner[1][2] = Rotate(inner[1][2], t.nine[1]);
    inner[2][1] = Rotate(inner[2][1], t.nine[1]);
    inner[2][2] = Rotate(inner[2][2], t.nine[2]);
    for (int k = 0; k < 3; ++k) {
        Complex4 outer[3];
        Dft3(inner[0][k], inner[1][k], inner[2][k], outer, t);
        for (int m = 0; m < 3; ++m) out[k + 3 * m] = outer[m];
    }
}

void Dft3(const Complex4* in, Complex4* out, const ImdctTables& t) { Dft3(in[0], in[1], in[2], out, t); }

// z[n] = sum over k of x[k] cos(pi (2n + 1)(2k + 1) / 4N), n, k < 2N, for
// N = 9 or 3: with a[p] = x[2p] + i x[2N - 1 - 2p] rotated by pi p / 2N, the
// N-point DFT of a rotated by pi (4q + 1) / 8N gives z[2q] - i z[2N - 1 - 2q].
template <int N>
void DctIV(const Float4* x, Float4* z, const Twiddle* pre, const Twiddle* post,
           void (*dft)(const Complex4*, Complex4*, const ImdctTables&), const ImdctTables& t) {
    Complex4 a[N], transformed[N];
    PLYVANE_UNROLL
    for (int p = 0; p < N; ++p) {
        a[p] = {x[2 * p], x[2 * N - 1 - 2 * p]};
        if (p > 0) a[p] = Rotate(a[p], pre[p]);
    }
    dft(a, transformed, t);
    PLYVANE_UNROLL
    for (int q = 0; q < N; ++q) {
        const Complex4 w = Rotate(transformed[q], post[q]);
        z[2 * q] = w.re;
        z[2 * N - 1 - 2 * q] = -w.im;
    }
}

// One group of four subbands: its 18 lines per subband, the overlap from
// the previous granule, and what the IMDCT gives (output samples and the
// new overlap), lane l for subband 4g + l.
struct Group {
    Float4 x[18];
    Float4 overlap[18];
    Float4 result[18];
    Float4 nextOverlap[18];
};

void LongBlock(Group& g, int type, const ImdctTables& t) {
    Float4 z[18];
    DctIV<9>(g.x, z, t.pre18, t.post18, &Dft9, t);
    const Lanes* window = t.longWindow[type];
    PLYVANE_UNROLL
    for (int i = 0; i < 18; ++i) {
        g.result[i] = z[LongSource(i).index] * window[i].Get() + g.overlap[i];
        g.nextOverlap[i] = z[LongSource(18 + i).index] * window[18 + i].Get();
    }
}

// Three 12-point IMDCTs on the interleaved windows, placed at 6, 12 and 18
// of the 36 outputs, summed in that order.
void ShortBlocks(Group& g, const ImdctTables& t) {
    Float4 y[3][12];
    for (int w = 0; w < 3; ++w) {
        Float4 x[6], z[6];
        for (int k = 0; k < 6; ++k) x[k] = g.x[3 * k + w];
        DctIV<3>(x, z, t.pre6, t.post6, &Dft3, t);
        PLYVANE_UNROLL
        for (int i = 0; i < 12; ++i) y[w][i] = z[ShortSource(i).index] * t.shortWindow[i].Get();
    }
    PLYVANE_UNROLL
    for (int i = 0; i < 6; ++i) {
        g.result[i] = g.overlap[i];
        g.result[6 + i] = y[0][i] + g.overlap[6 + i];
        g.result[12 + i] = (y[0][6 + i] + y[1][i]) + g.overlap[12 + i];
        g.nextOverlap[i] = y[1][6 + i] + y[2][i];
        g.nextOverlap[6 + i] = y[2][6 + i];
        g.nextOverlap[12 + i] = Float4::Zero();
    }
}

void Transform(Group& g, int type, const ImdctTables& t) {
    if (type == 2) ShortBlocks(g, t);
    else LongBlock(g, type, t);
}

// Lines 18 l + k of the four subbands from in, lane l.
void LoadGroup(const float* in, Float4* x) {
    for (int k = 0; k < 18; k += 4) {
        const int first = k < 16 ? k : 14;  // the last four lines overlap the block before
        Float4 rows[4];
        for (int lane = 0; lane < 4; ++lane) rows[lane] = Float4::LoadUnaligned(in + 18 * lane + first);
        simd::Transpose(rows[0], rows[1], rows[2], rows[3]);
        for (int m = 0; m < 4; ++m) x[first + m] = rows[m];
    }
}

// Lanes 0 and 1 of first, lanes 2 and 3 of rest.
Float4 FirstTwoLanes(Float4 first, Float4 rest) {
    return Float4::Of(first.Lane(0), first.Lane(1), rest.Lane(2), rest.Lane(3));
}

// The last group of four subbands that holds a non-zero line, plus one.
int NonZeroGroups(const float* xr) {
    for (int g = 8; g > 0; --g) {
        if (simd::AnyNonZero(xr + 72 * (g - 1), 72)) return g;
    }
    return 0;
}

}  // namespace

std::size_t HybridSynthesisTableBytes() { return sizeof(ImdctTables); }

void HybridSynthesis(const GranuleChannelInfo& gc, const float* xr, ImdctOverlap& overlap, SubbandSamples& samples,
                     int channel, int slotOffset) {
    const ImdctTables& t = ImdctTables::Get();
    float* slots = samples.value[channel] + slotOffset * SubbandSamples::kSubbands;
    const int granuleType = gc.window_switching_flag ? gc.block_type : 0;
    const int groups = NonZeroGroups(xr);
    // Frequency inversion: odd output samples of the odd subbands negated.
    const Float4 inversion = Float4::Of(1.0f, -1.0f, 1.0f, -1.0f);
    Group g;
    for (int group = 0; group < 8; ++group) {
        const int sb = 4 * group;
        for (int i = 0; i < 18; ++i) g.overlap[i] = Float4::Load(&overlap[i][sb]);
        if (group >= groups) {
            // All 72 lines are zero: the output is the overlap alone.
            for (int i = 0; i < 18; ++i) {
                g.result[i] = g.overlap[i];
                g.nextOverlap[i] = Float4::Zero();
            }
        } else {
            LoadGroup(xr + 18 * sb, g.x);
            Transform(g, granuleType, t);
            if (group == 0 && gc.mixed_block_flag && granuleType != 0) {
                // Subbands 0 and 1 of a mixed block are long blocks (type 0).
                Group mixed = g;
                LongBlock(mixed, 0, t);
                for (int i = 0; i < 18; ++i) {
                    g.result[i] = FirstTwoLanes(mixed.result[i], g.result[i]);
                    g.nextOverlap[i] = FirstTwoLanes(mixed.nextOverlap[i], g.nextOverlap[i]);
                }
            }
        }
        for (int i = 0; i < 18; ++i) {
            const Float4 out = (i & 1) ? g.result[i] * inversion : g.result[i];
            out.Store(slots + i * SubbandSamples::kSubbands + sb);
            g.nextOverlap[i].Store(&overlap[i][sb]);
        }
    }
}

}  // namespace plyvane
