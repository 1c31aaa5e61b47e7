#include "layer3_imdct.h"

#include <cmath>
#include <cstring>

namespace plyvane {
namespace {

constexpr int kPaddedRows = 20;

struct ImdctTables {
    // The long IMDCT, [input k][row r]: rows 0..8 give outputs 0..8 and rows
    // 9..17 outputs 18..26; the other outputs follow by symmetry. Input-major
    // so that the rows accumulate side by side; padded to 20 rows (zeros) so
    // that the row loop splits into whole vectors.
    float longCos[18][kPaddedRows];
    // The short IMDCT: rows 0..2 give outputs 0..2, rows 3..5 outputs 6..8.
    float shortCos[6][6];
    // Windows by block type: normal, start, short (first 12 used), stop.
    float window[4][36];

    ImdctTables() {
        std::memset(longCos, 0, sizeof longCos);
        const double pi = 3.14159265358979323846;
        for (int r = 0; r < 18; ++r) {
            const int i = r < 9 ? r : r + 9;
            for (int k = 0; k < 18; ++k)
                longCos[k][r] = static_cast<float>(std::cos((2 * i + 19) * (2 * k + 1) * pi / 72.0));
        }
        for (int r = 0; r < 6; ++r) {
            const int i = r < 3 ? r : r + 3;
            for (int k = 0; k < 6; ++k)
                shortCos[r][k] = static_cast<float>(std::cos((2 * i + 7) * (2 * k + 1) * pi / 24.0));
        }
        for (int i = 0; i < 36; ++i) {
            const float longSine = static_cast<float>(std::sin((i + 0.5) * pi / 36.0));
            window[0][i] = longSine;
            // Start: long rise, flat, short fall, silence.
            window[1][i] = i < 18   ? longSine
                           : i < 24 ? 1.0f
                           : i < 30 ? static_cast<float>(std::sin((i - 18 + 0.5) * pi / 12.0))
                                    : 0.0f;
            window[2][i] = i < 12 ? static_cast<float>(std::sin((i + 0.5) * pi / 12.0)) : 0.0f;
            // Stop: silence, short rise, flat, long fall.
            window[3][i] = i < 6    ? 0.0f
                           : i < 12 ? static_cast<float>(std::sin((i - 6 + 0.5) * pi / 12.0))
                           : i < 18 ? 1.0f
                                    : longSine;
        }
    }

    static const ImdctTables& Get() {
        static const ImdctTables tables;
        return tables;
    }
};

bool AllZero(const float* values, int count) {
    for (int i = 0; i < count; ++i) {
        if (values[i] != 0.0f) return false;  // -0.0 counts as zero
    }
    return true;
}

// 36-point IMDCT of in[0..17], windowed, into out[0..35].
void LongImdct(const ImdctTables& t, const float* in, const float* window, float* out) {
    int first = 0, last = 18;
    if (AllZero(in + 9, 9)) last = 9;
    else if (AllZero(in, 9)) first = 9;
    alignas(16) float half[kPaddedRows] = {};
    for (int k = first; k < last; ++k) {
        const float x = in[k];
        const float* c = t.longCos[k];
        for (int r = 0; r < kPaddedRows; ++r) half[r] += x * c[r];
    }
    for (int i = 0; i < 9; ++i) {
        out[i] = half[i] * window[i];
        out[17 - i] = -half[i] * window[17 - i];
        out[18 + i] = half[9 + i] * window[18 + i];
        out[35 - i] = half[9 + i] * window[35 - i];
    }
}

// Three 12-point IMDCTs on the interleaved windows of in[0..17], windowed and
// placed at 6, 12 and 18 of out[0..35].
void ShortImdct(const ImdctTables& t, const float* in, const float* window, float* out) {
    for (int i = 0; i < 36; ++i) out[i] = 0.0f;
    for (int w = 0; w < 3; ++w) {
        float half[6];
        for (int r = 0; r < 6; ++r) {
            const float* c = t.shortCos[r];
            float sum = 0.0f;
            for (int k = 0; k < 6; ++k) sum += in[3 * k + w] * c[k];
            half[r] = sum;
        }
        float y[12];
        for (int i = 0; i < 3; ++i) {
            y[i] = half[i];
            y[5 - i] = -half[i];
            y[6 + i] = half[3 + i];
            y[11 - i] = half[3 + i];
        }
        float* place = out + 6 + 6 * w;
        for (int i = 0; i < 12; ++i) place[i] += y[i] * window[i];
    }
}

}  // namespace

void HybridSynthesis(const GranuleChannelInfo& gc, const float* xr, float (&overlap)[32][18],
                     SubbandSamples& samples, int channel, int slotOffset) {
    const ImdctTables& t = ImdctTables::Get();
    float* slots = samples.value[channel] + slotOffset * SubbandSamples::kSubbands;
    const int granuleType = gc.window_switching_flag ? gc.block_type : 0;
    for (int sb = 0; sb < 32; ++sb) {
        const float* in = xr + 18 * sb;
        float* keep = overlap[sb];
        float result[18];
        if (AllZero(in, 18)) {
            for (int i = 0; i < 18; ++i) {
                result[i] = keep[i];
                keep[i] = 0.0f;
            }
        } else {
            const int type = gc.mixed_block_flag && sb < 2 ? 0 : granuleType;
            float out[36];
            if (type == 2) ShortImdct(t, in, t.window[2], out);
            else LongImdct(t, in, t.window[type], out);
            for (int i = 0; i < 18; ++i) {
                result[i] = out[i] + keep[i];
                keep[i] = out[18 + i];
            }
        }
        // Frequency inversion of the odd subbands.
        if (sb & 1) {
            for (int i = 1; i < 18; i += 2) result[i] = -result[i];
        }
        for (int i = 0; i < 18; ++i) slots[i * SubbandSamples::kSubbands + sb] = result[i];
    }
}

}  // namespace plyvane
