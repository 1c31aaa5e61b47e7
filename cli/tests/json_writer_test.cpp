#include "json_writer.h"

#include <gtest/gtest.h>

#include <limits>

namespace plyvane::cli {
namespace {

TEST(JsonWriter, EscapesNamesIntoValidJson) {
    const struct {
        std::string text;
        std::string json;
    } cases[] = {
        {"plain.mp2", "\"plain.mp2\""},
        {"say \"hi\"", "\"say \\\"hi\\\"\""},
        {"C:\\music\\a.mp2", "\"C:\\\\music\\\\a.mp2\""},
        {"tab\tnew\nline\r", "\"tab\\tnew\\nline\\r\""},
        {std::string("nul\0x", 5), "\"nul\\u0000x\""},
        {"\x01\x1f\x7f", "\"\\u0001\\u001f\\u007f\""},
        // Valid UTF-8 passes through unchanged.
        {"gr\xC3\xBC\xC3\x9F \xE2\x82\xAC \xF0\x9F\x8E\xB5", "\"gr\xC3\xBC\xC3\x9F \xE2\x82\xAC \xF0\x9F\x8E\xB5\""},
        // Latin-1 bytes (a Windows ANSI name) become their code points.
        {"gr\xFC\xDF", "\"gr\\u00fc\\u00df\""},
        // Truncated, overlong and surrogate sequences are not UTF-8.
        {"a\xE2\x82", "\"a\\u00e2\\u0082\""},
        {"\xC0\xAF", "\"\\u00c0\\u00af\""},
        {"\xED\xA0\x80", "\"\\u00ed\\u00a0\\u0080\""},
    };
    for (const auto& c : cases) EXPECT_EQ(JsonString(c.text), c.json) << c.text;
}

TEST(JsonWriter, BuildsOneFlatObject) {
    JsonObject json;
    json.Add("layer", 2)
        .Add("length", uint32_t{4000000000u})
        .Add("packratio", 11.025)
        .Add("duration_ms", -1.0)
        .Add("bad", std::numeric_limits<double>::infinity())
        .Add("mode", "joint stereo");
    EXPECT_EQ(json.Text(),
              "{\"layer\": 2, \"length\": 4000000000, \"packratio\": 11.025, "
              "\"duration_ms\": -1.000, \"bad\": null, \"mode\": \"joint stereo\"}");
    EXPECT_EQ(JsonObject().Text(), "{}");
}

}  // namespace
}  // namespace plyvane::cli
