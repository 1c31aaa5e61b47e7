#include "logo_geometry.h"

#include <gtest/gtest.h>

namespace plyvane {
namespace {

void ExpectPoint(LogoPoint point, int x, int y) {
    EXPECT_EQ(point.x, x);
    EXPECT_EQ(point.y, y);
}

TEST(LogoGeometry, AboutBoxAreaOf99By59) {
    LogoGeometry logo = AboutBoxLogo(99, 59);
    ExpectPoint(logo.first[0], 12, 18);
    ExpectPoint(logo.first[1], 18, 0);
    ExpectPoint(logo.first[2], 95, 18);
    ExpectPoint(logo.second[0], 6, 36);
    ExpectPoint(logo.second[1], 95, 36);
    ExpectPoint(logo.second[2], 0, 55);
    ExpectPoint(logo.text, 6, 12);
    EXPECT_EQ(logo.fontHeight, 29);
    EXPECT_EQ(logo.fontWidth, 10);
}

TEST(LogoGeometry, MainWindowDrawsThreeQuartersCentred) {
    // Area 104 x 64: w = 75, h = 45, margin (100 - 75) / 2 = 12.
    LogoGeometry logo = MainWindowLogo(104, 64);
    ExpectPoint(logo.first[0], 12 + 10, 15);
    ExpectPoint(logo.first[2], 12 + 75, 15);
    ExpectPoint(logo.second[2], 12, 45);
    ExpectPoint(logo.text, 12 + 5, 10);
    EXPECT_EQ(logo.fontHeight, 15 + 9);
    EXPECT_EQ(logo.fontWidth, 8);
}

TEST(LogoGeometry, TooSmallAnAreaGivesADegenerateLogo) {
    LogoGeometry logo = AboutBoxLogo(4, 4);
    EXPECT_EQ(logo.fontHeight, 0);
    ExpectPoint(logo.second[2], 0, 0);
}

}  // namespace
}  // namespace plyvane
