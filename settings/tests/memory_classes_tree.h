// An in-memory tree of file-type keys for tests: keys compare without regard
// to case as the registry's do, writes create the parents, and switches make
// writes fail (a classes root the user may not write) or a value unreadable.
#pragma once

#include <algorithm>
#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "classes_tree.h"

namespace plyvane {

class MemoryClassesTree : public ClassesTree {
public:
    ClassesRead ReadDefault(const std::string& key, std::string& value) override {
        auto found = keys_.find(Lower(key));
        if (found == keys_.end()) return ClassesRead::kMissing;
        if (found->second.unreadable) return ClassesRead::kUnreadable;
        if (!found->second.hasValue) return ClassesRead::kNoValue;
        value = found->second.value;
        return ClassesRead::kFound;
    }

    bool KeyExists(const std::string& key) override { return keys_.count(Lower(key)) != 0; }

    bool WriteDefault(const std::string& key, const std::string& value) override {
        if (refuse_) return false;
        Set(key, value);
        written_.push_back(key);
        return true;
    }

    // Test set-up: a key with a default value (parents created), a key with
    // none, and a value that can't be read.
    void Set(const std::string& key, const std::string& value) {
        CreatePath(key);
        Key& entry = keys_[Lower(key)];
        entry.hasValue = true;
        entry.value = value;
    }
    void SetUnreadable(const std::string& key) {
        CreatePath(key);
        keys_[Lower(key)].unreadable = true;
    }
    void Remove(const std::string& key) {
        std::string prefix = Lower(key);
        for (auto at = keys_.begin(); at != keys_.end();) {
            bool below =
                at->first == prefix || at->first.compare(0, prefix.size() + 1, prefix + "\\") == 0;
            at = below ? keys_.erase(at) : std::next(at);
        }
    }
    void Refuse(bool refuse) { refuse_ = refuse; }

    std::string Value(const std::string& key) {
        std::string value;
        return ReadDefault(key, value) == ClassesRead::kFound ? value : "<none>";
    }
    const std::vector<std::string>& Written() const { return written_; }
    void ClearWritten() { written_.clear(); }

private:
    struct Key {
        bool hasValue = false;
        bool unreadable = false;
        std::string value;
    };
    static std::string Lower(std::string text) {
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return text;
    }
    void CreatePath(const std::string& key) {
        for (size_t at = key.find('\\'); at != std::string::npos; at = key.find('\\', at + 1)) {
            keys_[Lower(key.substr(0, at))];
        }
        keys_[Lower(key)];
    }

    std::map<std::string, Key> keys_;
    std::vector<std::string> written_;
    bool refuse_ = false;
};

}  // namespace plyvane
