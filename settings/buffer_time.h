// The Buffers page's slider: the total buffer time of the ring in quarter
// seconds, counted in frames of 1152 samples at 44.1 kHz (one frame lasts
// 1152 / 44100 s, about 26 ms).
#pragma once

#include <cstdint>
#include <string>

namespace plyvane {

inline constexpr int kBufferSliderFirst = 2;   // 0.5 s
inline constexpr int kBufferSliderLast = 16;   // 4.0 s

// round(buffers * framesPerBuffer * 1152 / 44100 * 4): the slider position
// the record's ring lasts. May lie outside the slider's range.
int BufferSliderPosition(int32_t buffers, int32_t framesPerBuffer);

// The block count whose ring comes nearest to `position` quarter seconds,
// kept within what playback accepts (2..128 blocks).
int32_t BuffersForSliderPosition(int position, int32_t framesPerBuffer);

// "%4.2f seconds" of position / 4.
std::string BufferTimeText(int position);

}  // namespace plyvane
