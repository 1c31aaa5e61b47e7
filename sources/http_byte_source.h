// The byte source for HTTP addresses: one GET request whose body is the
// stream, through the platform's HTTP client. It shows the connection's
// progress while it opens, reports failures in error boxes, copies every
// byte it delivers into a save file when one is attached, seeks with Range
// requests (and refuses when the server cannot serve them), and removes ICY
// metadata from the audio, keeping the current stream title.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "byte_source.h"
#include "http_client.h"
#include "icy_metadata.h"

namespace plyvane {

// The progress window of an open: caption "Internet connection", range 1..8,
// step 1. Each Step shows its text, steps the bar and lets waiting window
// messages through.
class HttpOpenProgress {
public:
    virtual ~HttpOpenProgress() = default;
    virtual void Begin() = 0;
    virtual void Step(const std::string& text) = 0;
    virtual void End() = 0;
};

inline constexpr char kHttpAgentName[] = "Plyvane MPEG audio player";

class HttpByteSource : public ByteSource, private HttpStatusListener {
public:
    explicit HttpByteSource(HttpClient& client = PlatformHttpClient()) : client_(client) {}
    ~HttpByteSource() override;
    HttpByteSource(const HttpByteSource&) = delete;
    HttpByteSource& operator=(const HttpByteSource&) = delete;

    // Shown while an open connects; none by default.
    void SetProgress(HttpOpenProgress* progress) { progress_ = progress; }
    // Where failures of reads and seeks go: they happen in the refresh
    // context, where a box must not be raised. Default: the error box.
    void SetErrorReporter(std::function<void(const std::string&)> reporter);

    // Closes a save file that is still attached and keeps file (opened "wb",
    // or null) to become the save file at the next open. The source owns it.
    void AttachSaveFile(std::FILE* file);

    int Open(const char* address) override;
    int Close() override;
    uint32_t Read(void* destination, uint32_t count) override;
    int Seek(uint32_t position) override;
    uint32_t Tell() override { return position_; }
    uint32_t Length() override { return length_; }
    // The address, its password masked.
    const char* Name() override { return name_.c_str(); }
    // From any thread: a read that waits for the server returns at once, and
    // every read gives 0 until the next open.
    void Interrupt() override;

    // The current ICY stream title (empty without one) and a number that
    // grows when it changes; from any thread.
    std::string StreamTitle() const;
    uint32_t StreamTitleVersion() const { return titleVersion_.load(); }
    // The station's "icy-name", empty without one.
    std::string StationName() const;

private:
    void OnHttpStatus(HttpStatusEvent event, const std::string& detail) override;
    void Step(const std::string& text);
    void EndProgress();
    void ReportError(const std::string& text);
    std::shared_ptr<HttpResponse> CurrentResponse() const;
    void ReplaceResponse(std::shared_ptr<HttpResponse> response);
    void CloseSaveFile();
    // The response to read from now on, with the length its headers promise.
    void TakeResponse(std::unique_ptr<HttpResponse> response, bool hasLength, uint32_t length);

    HttpClient& client_;
    HttpOpenProgress* progress_ = nullptr;
    bool progressShown_ = false;
    std::function<void(const std::string&)> reporter_;

    mutable std::mutex mutex_;  // guards response_, title_ and station_
    std::shared_ptr<HttpResponse> response_;
    std::atomic<bool> interrupted_{false};
    // The body bytes the current response promised (when it did) and sent.
    bool bodyHasLength_ = false;
    uint32_t bodyLength_ = 0;
    uint32_t bodyRead_ = 0;

    HttpRequest request_;
    std::string name_;
    uint32_t length_ = 0;
    uint32_t position_ = 0;
    bool rangesRefused_ = false;
    std::unique_ptr<IcyMetadataFilter> icy_;
    std::string title_;
    std::atomic<uint32_t> titleVersion_{0};
    std::string station_;

    std::FILE* save_ = nullptr;
    std::FILE* pendingSave_ = nullptr;
};

}  // namespace plyvane
