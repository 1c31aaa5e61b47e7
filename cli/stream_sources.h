// The byte source for a name given on the command line: an HTTP address
// ("http://" in any case, as the player takes it) is read through the HTTP
// byte source, anything else through the file and list source.
#pragma once

#include <string>

#include "file_byte_source.h"
#include "http_byte_source.h"

namespace plyvane::cli {

bool IsAddress(const std::string& name);

// Shows the steps of an HTTP open on the standard error.
class ConsoleOpenProgress : public HttpOpenProgress {
public:
    void Begin() override {}
    void Step(const std::string& text) override;
    void End() override {}
};

class StreamSources {
public:
    StreamSources() { http_.SetProgress(&progress_); }
    ByteSource& For(const std::string& name) { return IsAddress(name) ? static_cast<ByteSource&>(http_) : file_; }
    HttpByteSource& Http() { return http_; }

private:
    ConsoleOpenProgress progress_;
    FileByteSource file_;
    HttpByteSource http_;
};

}  // namespace plyvane::cli
