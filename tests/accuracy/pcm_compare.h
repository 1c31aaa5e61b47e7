// Aligning our 16-bit output with a reference and measuring the difference.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace plyvane::test {

struct PcmComparison {
    int lag = 0;              // ours[i] is compared with reference[i + lag] (sample frames)
    size_t frames = 0;        // sample frames compared
    double snrDb = 0.0;       // reference energy over difference energy
    double psnrDb = 0.0;      // full scale (32767) squared over the mean squared difference
    double maxAbsError = 0.0; // in 16-bit LSB
};

// The lag within ±maxLag sample frames at which the normalised correlation
// of the channel sums is highest.
int FindLag(const std::vector<int16_t>& ours, const std::vector<float>& reference, int channels, int maxLag);

// The reference rounded to 16-bit samples (clipped): what an exact decoder
// with 16-bit output gives.
std::vector<float> RoundedTo16Bits(const std::vector<float>& reference);

// Compares at the given lag over the frames both hold. The reference is
// clipped to the 16-bit range first, as our output is.
PcmComparison ComparePcm(const std::vector<int16_t>& ours, const std::vector<float>& reference, int channels,
                         int lag);

}  // namespace plyvane::test
