#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "progress_steps.h"

namespace plyvane {
namespace {

// The texts after each step, from the bar's start at `low`.
std::vector<std::string> Texts(int low, int high, int step, int steps) {
    std::vector<std::string> texts;
    int position = low;
    for (int i = 0; i < steps; ++i) {
        texts.push_back(ProgressPercentText(ProgressPercent(position, step, low, high)));
        position = SteppedBarPosition(position, step, low, high);
    }
    return texts;
}

TEST(ProgressSteps, TheDefaultStepCountsTensAndWraps) {
    EXPECT_EQ(Texts(0, 100, 10, 12), (std::vector<std::string>{"10%", "20%", "30%", "40%", "50%", "60%", "70%",
                                                               "80%", "90%", "100%", "10%", "20%"}));
}

TEST(ProgressSteps, AShortListWithTheDefaultStepShowsTheRemainder) {
    // 250 % of a four-entry range shows as 50 %; the bar wraps to 2, 0, 2.
    EXPECT_EQ(Texts(0, 4, 10, 4), (std::vector<std::string>{"50%", "0%", "50%", "0%"}));
    EXPECT_EQ(SteppedBarPosition(0, 10, 0, 4), 2);
    EXPECT_EQ(SteppedBarPosition(2, 10, 0, 4), 0);
}

TEST(ProgressSteps, OtherRanges) {
    EXPECT_EQ(Texts(0, 4, 1, 5), (std::vector<std::string>{"25%", "50%", "75%", "100%", "25%"}));
    EXPECT_EQ(Texts(1, 100, 1, 2), (std::vector<std::string>{"1%", "2%"}));
    EXPECT_EQ(Texts(1, 8, 1, 8), (std::vector<std::string>{"14%", "28%", "42%", "57%", "71%", "85%", "100%", "14%"}));
    EXPECT_EQ(Texts(0, 100000, 1, 1), (std::vector<std::string>{"0%"}));
    EXPECT_EQ(ProgressPercent(99999, 1, 0, 100000), 100);
}

TEST(ProgressSteps, AnEmptyRangeCannotBeStepped) {
    EXPECT_EQ(ProgressPercent(0, 10, 5, 5), 0);
    EXPECT_EQ(SteppedBarPosition(5, 10, 5, 5), 5);
    EXPECT_EQ(ProgressPercent(0, 10, 9, 3), 0);
}

}  // namespace
}  // namespace plyvane
