#pragma once

#include <cstdint>

namespace plyvane {

// The synthesis window of ISO/IEC 11172-3 Table 3-B.3, times 65536 (exact).
extern const int32_t kSynthesisWindowInt[512];

}  // namespace plyvane
