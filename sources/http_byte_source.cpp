#include "http_byte_source.h"

#include <cstdio>

#include "http_address.h"
#include "http_error_text.h"
#include "http_response_headers.h"
#include "message_box.h"
#include "password_setting.h"
#include "settings_store.h"

namespace plyvane {

namespace {

// The account texts the session reads are at most this long.
constexpr std::size_t kAccountTextSize = 33;

std::string Format(const char* format, const std::string& value) {
    char text[2200];
    std::snprintf(text, sizeof text, format, value.c_str());
    return text;
}

// "Proxy" and "ProxyPort" as the session's proxy; user information before
// an "@" in the proxy's name are the proxy's own credentials.
void ReadProxySettings(HttpRequest& request) {
    std::string proxy;
    if (!ReadStringSetting(kConfigurationKey, "Proxy", proxy) || proxy.empty()) return;
    const std::size_t at = proxy.rfind('@');
    if (at != std::string::npos) {
        const std::string account = proxy.substr(0, at);
        const std::size_t colon = account.find(':');
        request.proxyUser = account.substr(0, colon);
        if (colon != std::string::npos) request.proxyPassword = account.substr(colon + 1);
        proxy = proxy.substr(at + 1);
    }
    uint32_t port = 0;
    ReadDwordSetting(kConfigurationKey, "ProxyPort", port);
    request.proxy = port != 0 ? proxy + ":" + std::to_string(port) : proxy;
}

void ReadAccount(const HttpAddress& address, HttpRequest& request) {
    if (address.hasUserInfo) {
        request.user = address.user;
        request.password = address.password;
        return;
    }
    char user[kAccountTextSize] = "";
    ReadStringSetting(kConfigurationKey, "User", user, sizeof user);
    if (user[0] == '\0') return;
    request.user = user;
    request.password = ReadPasswordSetting();
}

}  // namespace

HttpByteSource::~HttpByteSource() {
    Close();
    if (pendingSave_ != nullptr) std::fclose(pendingSave_);
}

void HttpByteSource::SetErrorReporter(std::function<void(const std::string&)> reporter) {
    reporter_ = std::move(reporter);
}

void HttpByteSource::AttachSaveFile(std::FILE* file) {
    CloseSaveFile();
    if (pendingSave_ != nullptr && pendingSave_ != file) std::fclose(pendingSave_);
    pendingSave_ = file;
}

void HttpByteSource::CloseSaveFile() {
    if (save_ != nullptr) std::fclose(save_);
    save_ = nullptr;
}

void HttpByteSource::ReportError(const std::string& text) {
    if (reporter_) {
        reporter_(text);
    } else {
        ShowError(nullptr, "%s", text.c_str());
    }
}

void HttpByteSource::Step(const std::string& text) {
    if (progressShown_) progress_->Step(text);
}

void HttpByteSource::EndProgress() {
    if (progressShown_) progress_->End();
    progressShown_ = false;
}

void HttpByteSource::OnHttpStatus(HttpStatusEvent event, const std::string& detail) {
    switch (event) {
        case HttpStatusEvent::kResolvingName: Step(Format("Resolving name '%s'...", detail)); break;
        case HttpStatusEvent::kNameResolved: Step(Format("Name resoved (%s)...", detail)); break;
        case HttpStatusEvent::kConnecting: Step("Connecting..."); break;
        case HttpStatusEvent::kConnected: Step("Connected..."); break;
    }
}

std::shared_ptr<HttpResponse> HttpByteSource::CurrentResponse() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return response_;
}

void HttpByteSource::TakeResponse(std::unique_ptr<HttpResponse> response, bool hasLength, uint32_t length) {
    bodyHasLength_ = hasLength;
    bodyLength_ = length;
    bodyRead_ = 0;
    ReplaceResponse(std::move(response));
}

void HttpByteSource::ReplaceResponse(std::shared_ptr<HttpResponse> response) {
    std::shared_ptr<HttpResponse> old;
    std::lock_guard<std::mutex> lock(mutex_);
    old.swap(response_);
    response_ = std::move(response);
}

int HttpByteSource::Open(const char* address) {
    Close();
    interrupted_ = false;
    const std::string url = address != nullptr ? address : "";
    name_ = MaskAddressPassword(url);
    HttpAddress parsed;
    const AddressCheck check = ParseHttpAddress(url, parsed);
    if (check == AddressCheck::kNotHttp) return 0;
    if (check == AddressCheck::kInvalid) {
        ReportError(HttpErrorText(http_error::kInvalidUrl));
        return 0;
    }

    if (progress_ != nullptr) {
        progress_->Begin();
        progressShown_ = true;
    }
    request_ = HttpRequest{};
    request_.host = parsed.host;
    request_.port = parsed.port;
    request_.path = parsed.path;
    request_.agent = kHttpAgentName;
    ReadProxySettings(request_);
    Step("Session established...");
    ReadAccount(parsed, request_);
    Step("HTTP connection initialized...");
    request_.headers = {"Icy-MetaData: 1"};
    Step("HTTP request header generated...");

    int error = http_error::kNone;
    std::unique_ptr<HttpResponse> response = client_.Send(request_, this, error);
    if (response == nullptr) {
        EndProgress();
        ReportError(HttpErrorText(error));
        return 0;
    }
    const int status = response->StatusCode();
    if (status != 200) {
        // The open stands, but without a request: the stream reads as empty.
        EndProgress();
        char text[64];
        if (status == 404) {
            ReportError(Format("URL '%s' not found", name_));
        } else {
            std::snprintf(text, sizeof text, "Query error %d", status);
            ReportError(text);
        }
    } else {
        const ResponseHeaders headers = ParseResponseHeaders(response->Headers());
        Step(headers.hasLength ? "HTTP file length received..." : "HTTP file length request faild!");
        EndProgress();
        if (headers.hasMetaInterval) {
            if (headers.metaInterval == 0) {
                ReportError("The server's ICY metadata interval is not usable!");
                return 0;
            }
            icy_ = std::make_unique<IcyMetadataFilter>(headers.metaInterval);
        }
        // With metadata blocks in it, the body's length is not the stream's.
        length_ = headers.hasLength && !icy_ ? headers.contentLength : 0;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            station_ = headers.stationName;
        }
        TakeResponse(std::move(response), headers.hasLength, headers.contentLength);
    }
    position_ = 0;
    if (pendingSave_ != nullptr) {
        save_ = pendingSave_;
        pendingSave_ = nullptr;
    }
    return 1;
}

int HttpByteSource::Close() {
    EndProgress();
    ReplaceResponse(nullptr);
    CloseSaveFile();
    length_ = 0;
    position_ = 0;
    rangesRefused_ = false;
    icy_.reset();
    std::lock_guard<std::mutex> lock(mutex_);
    title_.clear();
    station_.clear();
    return 1;
}

void HttpByteSource::Interrupt() {
    interrupted_ = true;
    if (std::shared_ptr<HttpResponse> response = CurrentResponse()) response->Abort();
}

uint32_t HttpByteSource::Read(void* destination, uint32_t count) {
    // No list here: never a new stream inside a read.
    if (destination == nullptr || count == 0) return 0;
    std::shared_ptr<HttpResponse> response = CurrentResponse();
    if (response == nullptr) return 0;
    auto* bytes = static_cast<uint8_t*>(destination);
    uint32_t got = 0;
    // A short count means the end of the stream to the decoder: fill it.
    while (got < count && !interrupted_) {
        int error = http_error::kNone;
        long read = response->Read(bytes + got, count - got, error);
        if (read == 0 && bodyHasLength_ && bodyRead_ < bodyLength_) {
            // The server closed before the length it promised.
            read = -1;
            error = http_error::kConnectionAborted;
        }
        if (read == 0) break;
        if (read < 0 || static_cast<unsigned long>(read) > count - got) {
            ReplaceResponse(nullptr);
            if (!interrupted_ && error != http_error::kOperationCancelled) ReportError(HttpErrorText(error));
            break;
        }
        bodyRead_ += static_cast<uint32_t>(read);
        const std::size_t audio =
            icy_ ? icy_->Filter(bytes + got, static_cast<std::size_t>(read)) : static_cast<std::size_t>(read);
        got += static_cast<uint32_t>(audio);
    }
    if (icy_ && icy_->TitleVersion() != titleVersion_.load()) {
        std::lock_guard<std::mutex> lock(mutex_);
        title_ = icy_->Title();
        titleVersion_ = icy_->TitleVersion();
    }
    position_ += got;
    if (save_ != nullptr && got != 0) std::fwrite(bytes, 1, got, save_);
    return got;
}

int HttpByteSource::Seek(uint32_t position) {
    if (position == position_ && CurrentResponse() != nullptr) return 1;
    if (interrupted_ || CurrentResponse() == nullptr || length_ == 0 || position >= length_ || rangesRefused_) return 0;
    HttpRequest request = request_;
    if (position != 0) request.headers.push_back("Range: bytes=" + std::to_string(position) + "-");
    int error = http_error::kNone;
    std::unique_ptr<HttpResponse> response = client_.Send(request, nullptr, error);
    if (response == nullptr) {
        ReportError(HttpErrorText(error));
        return 0;
    }
    const ResponseHeaders headers = ParseResponseHeaders(response->Headers());
    const int status = response->StatusCode();
    const bool fromStart = status == 200 && position == 0;
    const bool partial = status == 206 && headers.hasRangeStart && headers.rangeStart == position;
    if (!fromStart && !partial) {
        // Bytes from anywhere else must never reach the decoder: refuse,
        // and keep reading where we were.
        if (status == 200) rangesRefused_ = true;
        return 0;
    }
    TakeResponse(std::move(response), headers.hasLength, headers.contentLength);
    position_ = position;
    if (save_ != nullptr) std::fseek(save_, static_cast<long>(position), SEEK_SET);
    return 1;
}

std::string HttpByteSource::StreamTitle() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return title_;
}

std::string HttpByteSource::StationName() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return station_;
}

}  // namespace plyvane
