// The stored Layer III tables against the reference tables of the standards.
#include "layer3_tables.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace plyvane {
namespace {

std::vector<std::vector<std::string>> Records(const std::string& file) {
    std::ifstream in(std::string(PLYVANE_SHARED_DIR) + "/reference/" + file);
    std::vector<std::vector<std::string>> records;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::vector<std::string> record;
        for (std::string f; fields >> f;) record.push_back(f);
        records.push_back(record);
    }
    return records;
}

TEST(Layer3Tables, ScaleFactorBandsMatchTheReference) {
    // [ID][sampling-frequency index] by rate.
    const std::map<int, const ScaleFactorBands*> byRate = {
        {44100, &kScaleFactorBands[1][0]}, {48000, &kScaleFactorBands[1][1]}, {32000, &kScaleFactorBands[1][2]},
        {22050, &kScaleFactorBands[0][0]}, {24000, &kScaleFactorBands[0][1]}, {16000, &kScaleFactorBands[0][2]},
    };
    int compared = 0;
    for (const auto& r : Records("scalefactor_bands.txt")) {
        const ScaleFactorBands* bands = byRate.at(std::stoi(r[1]));
        const bool isLong = r[0] == "long";
        ASSERT_EQ(isLong ? 25u : 16u, r.size());
        for (size_t i = 2; i < r.size(); ++i) {
            EXPECT_EQ(std::stoi(r[i]), isLong ? bands->l[i - 2] : bands->s[i - 2]) << r[0] << " " << r[1] << " " << i - 2;
            ++compared;
        }
    }
    EXPECT_EQ(6 * (23 + 14), compared);
}

TEST(Layer3Tables, SmallTablesMatchTheReference) {
    std::string section;
    int compared = 0;
    for (const auto& r : Records("layer3_misc.txt")) {
        if (r[0] == "section") {
            section = r[1];
            continue;
        }
        if (section == "pretab") {
            EXPECT_EQ(std::stoi(r[1]), kPretab[std::stoi(r[0])]);
        } else if (section == "slen_mpeg1") {
            EXPECT_EQ(std::stoi(r[1]), kSlenMpeg1[std::stoi(r[0])][0]);
            EXPECT_EQ(std::stoi(r[2]), kSlenMpeg1[std::stoi(r[0])][1]);
        } else if (section == "nr_of_sfb_block") {
            for (int n = 0; n < 4; ++n)
                EXPECT_EQ(std::stoi(r[2 + n]), kScaleFactorPartitions[std::stoi(r[0])][std::stoi(r[1])][n]);
        } else if (section == "antialias_c") {
            EXPECT_DOUBLE_EQ(std::stod(r[1]), kAntialiasC[std::stoi(r[0])]);
        } else {
            continue;
        }
        ++compared;
    }
    EXPECT_EQ(22 + 16 + 18 + 8, compared);
}

}  // namespace
}  // namespace plyvane
