// The address the URL entry dialog hands back on OK: only HTTP addresses are
// taken, and an address typed without a scheme gets "http://".
#pragma once

#include <optional>
#include <string>

namespace plyvane {

inline constexpr char kUrlCheckCaption[] = "URL check";
inline constexpr char kUrlCheckMessage[] =
    "You have to provide a vaild URL!\n\nOnly HTTP addresses are allowed so far!";

// `initial` is the address the dialog opened with, `typed` the field's text
// and `modified` whether the user changed the field. Nothing when the text
// names another scheme (the dialog then shows the URL check and stays open).
std::optional<std::string> TakeEnteredUrl(const std::string& initial, const std::string& typed,
                                          bool modified);

}  // namespace plyvane
