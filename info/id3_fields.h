// The fields of an ID3 tag the program shows: title, artist, album, year
// and comment, as text in the ANSI code page without zero bytes.
#pragma once

#include <string>

namespace plyvane {

struct Id3Fields {
    std::string title;
    std::string artist;
    std::string album;
    std::string year;
    std::string comment;
};

}  // namespace plyvane
