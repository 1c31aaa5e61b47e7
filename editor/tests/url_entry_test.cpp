// What OK takes from the URL entry field.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "url_entry.h"

namespace plyvane {
namespace {

struct Case {
    const char* initial;
    const char* typed;
    bool modified;
    std::optional<std::string> expected;
};

TEST(UrlEntry, TakesHttpAddressesAndCompletesOnesWithoutScheme) {
    const Case cases[] = {
        // An untouched field keeps the initial address, whatever it shows.
        {"http://old/a.mp3", "ignored", false, "http://old/a.mp3"},
        {"", "", false, ""},
        // Typed with the scheme: capitals kept, blanks around it dropped.
        {"", "http://Server/Path/A.mp3", true, "http://Server/Path/A.mp3"},
        {"", "  http://Host/x.mp3 \r\n", true, "http://Host/x.mp3"},
        {"", "HTTP://Host/X.MP3", true, "HTTP://Host/X.MP3"},
        // Without a scheme: lower-cased, trimmed, "http://" in front.
        {"", "Server/Path/File.MP3", true, "http://server/path/file.mp3"},
        {"", "\t radio.example:8000/live \r\n", true, "http://radio.example:8000/live"},
        {"http://old", "", true, "http://"},
        // Bytes beyond ASCII are not case-mapped.
        {"", "h\xC4st/\xE4", true, "http://h\xC4st/\xE4"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TakeEnteredUrl(c.initial, c.typed, c.modified), c.expected) << "typed: " << c.typed;
    }
}

TEST(UrlEntry, RefusesEveryOtherScheme) {
    for (const char* typed : {"ftp://host/a.mp3", "https://host/a.mp3", "FILE:///c:/a.mp3",
                              "host/redirect?to=ftp://x", "://"}) {
        EXPECT_EQ(TakeEnteredUrl("http://old", typed, true), std::nullopt) << typed;
    }
}

}  // namespace
}  // namespace plyvane
