#include "buffer_time.h"

#include <cstdio>

namespace plyvane {

namespace {
// Four quarter seconds of 44100 samples against frames of 1152 samples; the
// sums below round to nearest in whole numbers (no ties can occur).
constexpr int64_t kSamplesPerQuarterSecond = 44100;
constexpr int64_t kSamplesPerFrameTimesFour = 4 * 1152;
constexpr int32_t kFewestBuffers = 2;
constexpr int32_t kMostBuffers = 128;
constexpr int64_t kLargestFactor = 1 << 20;
}  // namespace

int BufferSliderPosition(int32_t buffers, int32_t framesPerBuffer) {
    // Stored values may be anything; bounded, their product cannot overflow.
    auto bounded = [](int64_t v) {
        return v < -kLargestFactor ? -kLargestFactor : v > kLargestFactor ? kLargestFactor : v;
    };
    int64_t samples = bounded(buffers) * bounded(framesPerBuffer) * kSamplesPerFrameTimesFour;
    int64_t position = samples >= 0
        ? (samples + kSamplesPerQuarterSecond / 2) / kSamplesPerQuarterSecond
        : -((-samples + kSamplesPerQuarterSecond / 2) / kSamplesPerQuarterSecond);
    if (position > INT32_MAX) return INT32_MAX;
    if (position < INT32_MIN) return INT32_MIN;
    return static_cast<int>(position);
}

int32_t BuffersForSliderPosition(int position, int32_t framesPerBuffer) {
    // A stored frame count of 0 or less would divide by zero; playback
    // rejects it anyway, so the slider counts with single frames.
    int64_t frames = framesPerBuffer < 1 ? 1 : framesPerBuffer;
    int64_t blockSamples = frames * kSamplesPerFrameTimesFour;
    int64_t samples = static_cast<int64_t>(position) * kSamplesPerQuarterSecond;
    int64_t buffers = (2 * samples + blockSamples) / (2 * blockSamples);
    if (samples < 0) buffers = 0;
    if (buffers < kFewestBuffers) return kFewestBuffers;
    if (buffers > kMostBuffers) return kMostBuffers;
    return static_cast<int32_t>(buffers);
}

std::string BufferTimeText(int position) {
    char text[32];
    std::snprintf(text, sizeof text, "%4.2f seconds", position * 0.25);
    return text;
}

}  // namespace plyvane
