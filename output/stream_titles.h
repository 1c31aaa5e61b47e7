// The two texts the player shows for a source: its title (the name without
// folder and extension) and its line from the folder's "descript.ion" file.
// Both write into fixed fields and allocate nothing, so the refill step can
// use them when the next file of a continuous list begins.
#pragma once

#include <cstddef>

namespace plyvane {

// The text after the last "\" (or, without one, after the last "/"), cut at
// its last ".". Always zero-terminated; cut to fit.
void TitleOf(const char* name, char* title, std::size_t titleSize);

// The rest of the line of "descript.ion" (in the folder of path) that begins
// with the file's name, quoted when it holds a space; white space after the
// name skipped. Lines are read in pieces of at most 79 characters, as the
// file's writers expect. False (and an empty text) when there is none.
bool ReadDescription(const char* path, char* description, std::size_t descriptionSize);

}  // namespace plyvane
