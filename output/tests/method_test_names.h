// The refresh methods as the names of the engine tests run once per method
// ("Methods/EngineControlTest.Name/Timer").
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "output_settings.h"

namespace plyvane {

inline std::string MethodTestName(const ::testing::TestParamInfo<int>& info) {
    return info.param == kMethodTimer ? "Timer" : info.param == kMethodThread ? "Thread" : "Device";
}

}  // namespace plyvane
