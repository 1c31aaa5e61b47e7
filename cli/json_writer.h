// Just enough JSON for one flat object of numbers and texts.
#pragma once

#include <cstdint>
#include <string>

namespace plyvane::cli {

// A JSON string literal, quotes included. Valid UTF-8 passes through; any
// other byte is taken as Latin-1 (names on Windows come in the ANSI code page).
std::string JsonString(const std::string& text);

class JsonObject {
public:
    JsonObject& Add(const char* key, const std::string& text);
    JsonObject& Add(const char* key, const char* text) { return Add(key, std::string(text)); }
    JsonObject& Add(const char* key, int64_t number);
    JsonObject& Add(const char* key, int number) { return Add(key, static_cast<int64_t>(number)); }
    JsonObject& Add(const char* key, uint32_t number) { return Add(key, static_cast<int64_t>(number)); }
    // Three decimals; null when not finite.
    JsonObject& Add(const char* key, double number);
    // The object on one line, without a newline.
    std::string Text() const { return "{" + members_ + "}"; }

private:
    void Key(const char* key);
    std::string members_;
};

}  // namespace plyvane::cli
