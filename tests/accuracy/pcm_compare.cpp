#include "pcm_compare.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace plyvane::test {

namespace {

// Channel sums, one value per sample frame.
std::vector<float> Downmix(const float* samples, size_t count, int channels) {
    std::vector<float> mono(count / channels);
    for (size_t f = 0; f < mono.size(); ++f) {
        float sum = 0.0f;
        for (int c = 0; c < channels; ++c) sum += samples[f * channels + c];
        mono[f] = sum;
    }
    return mono;
}

double Clip16(double value) { return std::clamp(value, -32768.0, 32767.0); }

}  // namespace

int FindLag(const std::vector<int16_t>& ours, const std::vector<float>& reference, int channels, int maxLag) {
    const std::vector<float> oursFloat(ours.begin(), ours.end());
    const std::vector<float> a = Downmix(oursFloat.data(), oursFloat.size(), channels);
    const std::vector<float> b = Downmix(reference.data(), reference.size(), channels);
    // A window of our output that stays inside the reference at every lag;
    // 16384 frames are plenty to tell the lags apart.
    const long start = maxLag;
    const long end = std::min<long>({static_cast<long>(a.size()), static_cast<long>(b.size()) - maxLag,
                                     start + 16384});
    if (end - start < 1152) return 0;
    double bestScore = std::numeric_limits<double>::lowest();
    int bestLag = 0;
    for (int lag = -maxLag; lag <= maxLag; ++lag) {
        double dot = 0.0, energy = 0.0;
        for (long i = start; i < end; ++i) {
            const double r = b[i + lag];
            dot += a[i] * r;
            energy += r * r;
        }
        const double score = energy > 0.0 ? dot / std::sqrt(energy) : 0.0;
        // Prefer the smallest |lag| among equals, so silence aligns at 0.
        if (score > bestScore + 1e-9 * std::fabs(bestScore) ||
            (score >= bestScore - 1e-9 * std::fabs(bestScore) && std::abs(lag) < std::abs(bestLag))) {
            bestScore = score;
            bestLag = lag;
        }
    }
    return bestLag;
}

std::vector<float> RoundedTo16Bits(const std::vector<float>& reference) {
    std::vector<float> rounded(reference.size());
    for (size_t i = 0; i < rounded.size(); ++i)
        rounded[i] = static_cast<float>(std::nearbyint(Clip16(reference[i])));
    return rounded;
}

PcmComparison ComparePcm(const std::vector<int16_t>& ours, const std::vector<float>& reference, int channels,
                         int lag) {
    PcmComparison result;
    result.lag = lag;
    const long oursFrames = static_cast<long>(ours.size()) / channels;
    const long refFrames = static_cast<long>(reference.size()) / channels;
    const long first = std::max(0L, -static_cast<long>(lag));
    const long last = std::min(oursFrames, refFrames - lag);
    double signal = 0.0, noise = 0.0;
    for (long f = first; f < last; ++f) {
        for (int c = 0; c < channels; ++c) {
            const double r = Clip16(reference[(f + lag) * channels + c]);
            const double d = ours[f * channels + c] - r;
            signal += r * r;
            noise += d * d;
            result.maxAbsError = std::max(result.maxAbsError, std::fabs(d));
        }
    }
    result.frames = last > first ? static_cast<size_t>(last - first) : 0;
    result.snrDb = noise > 0.0 ? 10.0 * std::log10(signal / noise) : std::numeric_limits<double>::infinity();
    const double samples = static_cast<double>(result.frames) * channels;
    result.psnrDb = noise > 0.0 ? 10.0 * std::log10(32767.0 * 32767.0 * samples / noise)
                                : std::numeric_limits<double>::infinity();
    return result;
}

}  // namespace plyvane::test
