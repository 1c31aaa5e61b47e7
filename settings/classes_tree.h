// The port to one tree of the shell's file-type keys: the classes root, or
// the current user's Software\Classes. Key paths are relative to the tree and
// may hold several levels ("Plyvane.AudioFile\shell\play\command"); only the
// default (unnamed) text value of a key is read or written.
#pragma once

#include <string>

namespace plyvane {

enum class ClassesRead {
    kMissing,     // the key does not exist
    kNoValue,     // the key exists without a default value
    kFound,       // the key's default value is a text; here it is
    kUnreadable,  // the default value exists but is not a readable text
};

class ClassesTree {
public:
    virtual ~ClassesTree() = default;
    virtual ClassesRead ReadDefault(const std::string& key, std::string& value) = 0;
    virtual bool KeyExists(const std::string& key) = 0;
    // Opens or creates the key path and sets its default value; true only
    // when the value was stored.
    virtual bool WriteDefault(const std::string& key, const std::string& value) = 0;
};

}  // namespace plyvane
