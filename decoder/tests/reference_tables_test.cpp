// The decoder's stored tables against the reference tables of the standards.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "frame_header.h"
#include "layer2_tables.h"
#include "synthesis_window.h"

namespace plyvane {
namespace {

using Record = std::vector<std::string>;

// The records of a reference file: comment and blank lines dropped.
std::vector<Record> ReadReference(const std::string& file) {
    std::ifstream in(std::string(PLYVANE_SHARED_DIR) + "/reference/" + file);
    std::vector<Record> records;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        Record record;
        for (std::string field; fields >> field;) record.push_back(field);
        if (!record.empty()) records.push_back(record);
    }
    return records;
}

// The records of one "section" of a sectioned reference file.
std::vector<Record> Section(const std::vector<Record>& records, const std::string& name) {
    std::vector<Record> section;
    bool inside = false;
    for (const Record& r : records) {
        if (r[0] == "section") {
            inside = r.size() > 1 && r[1] == name;
        } else if (inside) {
            section.push_back(r);
        }
    }
    return section;
}

TEST(ReferenceTables, SynthesisWindowIsTheStandardOne) {
    std::vector<Record> records = ReadReference("synthesis_window.txt");
    ASSERT_EQ(512u, records.size()) << "reference tables under " << PLYVANE_SHARED_DIR;
    for (const Record& r : records) {
        ASSERT_EQ(std::stol(r[1]), kSynthesisWindowInt[std::stoi(r[0])]) << "coefficient " << r[0];
    }
}

TEST(ReferenceTables, Layer2AllocationTablesAreTheStandardOnes) {
    std::map<int, int> classOfLevels;
    for (const Record& r : ReadReference("layer2_quantization_classes.txt")) {
        if (r[0] != "scalefactor") classOfLevels[std::stoi(r[1])] = std::stoi(r[0]);
    }
    ASSERT_EQ(17u, classOfLevels.size());

    int table = -1, subband = 0;
    for (const Record& r : ReadReference("layer2_allocation.txt")) {
        if (r[0] == "table") {
            ++table;
            subband = 0;
            ASSERT_LT(table, 5);
            ASSERT_EQ(std::stoi(r[3]), kLayer2AllocationTables[table].sblimit) << r[1];
            continue;
        }
        const Layer2AllocationTable& t = kLayer2AllocationTables[table];
        ASSERT_EQ(subband, std::stoi(r[0]));
        ASSERT_EQ(std::stoi(r[1]), t.nbal[subband]) << "table " << table << " subband " << subband;
        for (size_t a = 2; a < r.size(); ++a) {
            const int levels = std::stoi(r[a]);
            const uint8_t expected = levels == 0 ? kNoSamples : static_cast<uint8_t>(classOfLevels.at(levels));
            ASSERT_EQ(expected, t.quantClass[subband][a - 2]) << "table " << table << " subband " << subband;
        }
        ++subband;
    }
    EXPECT_EQ(4, table);
}

TEST(ReferenceTables, Layer2RequantizationMatchesTheQuantizationClasses) {
    const Layer2Tables& tables = Layer2Tables::Get();
    int classes = 0, scaleFactors = 0;
    for (const Record& r : ReadReference("layer2_quantization_classes.txt")) {
        if (r[0] == "scalefactor") {
            const int index = std::stoi(r[1]);
            EXPECT_NEAR(std::stod(r[2]), tables.scaleFactor[index], std::stod(r[2]) * 1e-7) << "scale factor " << index;
            ++scaleFactors;
            continue;
        }
        const Layer2QuantClass& q = tables.classes[std::stoi(r[0])];
        EXPECT_EQ(std::stoi(r[2]), q.codeBits) << "class " << r[0];
        EXPECT_EQ(std::stoi(r[5]), q.sampleBits) << "class " << r[0];
        EXPECT_EQ(r[3] == "1", q.grouped) << "class " << r[0];
        if (q.grouped) {
            EXPECT_EQ(std::stoi(r[1]), q.levels);
        }
        // C and D as exact fractions "p/q".
        auto fraction = [](const std::string& text) {
            size_t slash = text.find('/');
            return std::stod(text.substr(0, slash)) / std::stod(text.substr(slash + 1));
        };
        EXPECT_NEAR(fraction(r[8]), q.factor * 32768.0, fraction(r[8]) * 1e-7) << "C of class " << r[0];
        EXPECT_DOUBLE_EQ(fraction(r[9]), q.offset / 32768.0) << "D of class " << r[0];
        ++classes;
    }
    EXPECT_EQ(17, classes);
    EXPECT_EQ(63, scaleFactors);
}

TEST(ReferenceTables, BitRatesAndSampleRatesAreTheStandardOnes) {
    const std::vector<Record> misc = ReadReference("layer3_misc.txt");
    const std::vector<Record> bitrates = Section(misc, "bitrate_kbps");
    ASSERT_EQ(16u, bitrates.size());
    for (const Record& r : bitrates) {
        const int index = std::stoi(r[0]);
        EXPECT_EQ(std::stoi(r[1]), kBitrateKbps[1][0][index]) << "MPEG-1 Layer II, index " << index;
        EXPECT_EQ(std::stoi(r[2]), kBitrateKbps[1][1][index]) << "MPEG-1 Layer III, index " << index;
        EXPECT_EQ(std::stoi(r[3]), kBitrateKbps[0][0][index]) << "MPEG-2 Layer II, index " << index;
        EXPECT_EQ(std::stoi(r[3]), kBitrateKbps[0][1][index]) << "MPEG-2 Layer III, index " << index;
    }
    const std::vector<Record> rates = Section(misc, "sample_rate_hz");
    ASSERT_EQ(4u, rates.size());
    for (const Record& r : rates) {
        EXPECT_EQ(std::stoi(r[1]), kSampleRateHz[1][std::stoi(r[0])]);
        EXPECT_EQ(std::stoi(r[2]), kSampleRateHz[0][std::stoi(r[0])]);
    }
}

}  // namespace
}  // namespace plyvane
