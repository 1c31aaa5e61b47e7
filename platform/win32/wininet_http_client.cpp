// The HTTP client port over WinINet, called directly. The body is read by a
// thread of the response's own into a bounded buffer: a stalled server then
// blocks only that thread, and Abort frees the reader at once. The thread
// alone uses the request and keeps the handles alive through a shared state,
// closing them when it is done, so a response may go while its thread still
// waits on the network (until data, the receive timeout or the process end).
#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "http_client.h"

namespace plyvane {

namespace {

constexpr std::size_t kMaxBuffered = 256 * 1024;
constexpr DWORD kReadPiece = 16 * 1024;

struct Handles {
    HINTERNET session = nullptr;
    HINTERNET connection = nullptr;
    HINTERNET request = nullptr;

    ~Handles() {
        if (request != nullptr) InternetCloseHandle(request);
        if (connection != nullptr) InternetCloseHandle(connection);
        if (session != nullptr) InternetCloseHandle(session);
    }
};

// What the reader thread and the response share.
struct BodyState {
    Handles handles;
    std::mutex mutex;
    std::condition_variable changed;
    std::string buffer;
    std::size_t start = 0;
    bool ended = false;
    int error = http_error::kNone;
    bool abandoned = false;
};

void ReadBody(std::shared_ptr<BodyState> state, HINTERNET request) {
    char piece[kReadPiece];
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(state->mutex);
            state->changed.wait(lock, [&] { return state->abandoned || state->buffer.size() - state->start < kMaxBuffered; });
            if (state->abandoned) return;
        }
        // A read returns only when its buffer is full: ask for what is there
        // (waiting for at least one byte), so a slow stream flows as it comes.
        DWORD available = 0;
        DWORD got = 0;
        BOOL ok = InternetQueryDataAvailable(request, &available, 0, 0);
        if (ok && available > 0) {
            ok = InternetReadFile(request, piece, available < sizeof piece ? available : sizeof piece,
                                  &got);
        }
        const DWORD failure = ok ? 0 : GetLastError();
        std::lock_guard<std::mutex> lock(state->mutex);
        if (state->abandoned) return;
        if (!ok) {
            state->error = failure != 0 ? static_cast<int>(failure) : http_error::kConnectionAborted;
        } else if (got == 0) {
            state->ended = true;
        } else {
            if (state->start == state->buffer.size()) {
                state->buffer.clear();
                state->start = 0;
            }
            state->buffer.append(piece, got);
        }
        state->changed.notify_all();
        if (!ok || got == 0) return;
    }
}

class WinInetResponse : public HttpResponse {
public:
    WinInetResponse(std::shared_ptr<BodyState> state, int status, std::string headers)
        : state_(std::move(state)), status_(status), headers_(std::move(headers)) {}

    ~WinInetResponse() override {
        // The reader thread lets go of the handles when its read returns;
        // closing them here could race a new request that reuses their values.
        std::lock_guard<std::mutex> lock(state_->mutex);
        state_->abandoned = true;
        state_->changed.notify_all();
    }

    int StatusCode() const override { return status_; }
    const std::string& Headers() const override { return headers_; }

    long Read(void* buffer, std::size_t size, int& error) override {
        error = http_error::kNone;
        if (!readerStarted_) {
            readerStarted_ = true;
            try {
                std::thread(ReadBody, state_, state_->handles.request).detach();
            } catch (...) {
                error = http_error::kConnectionAborted;
                return -1;
            }
        }
        std::unique_lock<std::mutex> lock(state_->mutex);
        state_->changed.wait(lock, [&] {
            return aborted_.load() || state_->start < state_->buffer.size() || state_->ended ||
                   state_->error != http_error::kNone;
        });
        if (aborted_.load()) {
            error = http_error::kOperationCancelled;
            return -1;
        }
        if (state_->start < state_->buffer.size()) {
            const std::size_t count = std::min(size, state_->buffer.size() - state_->start);
            std::memcpy(buffer, state_->buffer.data() + state_->start, count);
            state_->start += count;
            state_->changed.notify_all();
            return static_cast<long>(count);
        }
        if (state_->ended) return 0;
        error = state_->error;
        return -1;
    }

    void Abort() override {
        std::lock_guard<std::mutex> lock(state_->mutex);
        aborted_ = true;
        state_->changed.notify_all();
    }

private:
    std::shared_ptr<BodyState> state_;
    int status_;
    std::string headers_;
    bool readerStarted_ = false;
    std::atomic<bool> aborted_{false};
};

void CALLBACK OnStatus(HINTERNET, DWORD_PTR context, DWORD status, LPVOID information, DWORD length) {
    auto* listener = reinterpret_cast<HttpStatusListener*>(context);
    if (listener == nullptr) return;
    auto text = [&] {
        if (information == nullptr || length == 0) return std::string();
        const char* chars = static_cast<const char*>(information);
        return std::string(chars, strnlen(chars, length));
    };
    switch (status) {
        case INTERNET_STATUS_RESOLVING_NAME: listener->OnHttpStatus(HttpStatusEvent::kResolvingName, text()); break;
        case INTERNET_STATUS_NAME_RESOLVED: listener->OnHttpStatus(HttpStatusEvent::kNameResolved, text()); break;
        case INTERNET_STATUS_CONNECTING_TO_SERVER:
            listener->OnHttpStatus(HttpStatusEvent::kConnecting, std::string());
            break;
        case INTERNET_STATUS_CONNECTED_TO_SERVER:
            listener->OnHttpStatus(HttpStatusEvent::kConnected, std::string());
            break;
        default: break;
    }
}

int LastError() {
    const DWORD code = GetLastError();
    return code != 0 ? static_cast<int>(code) : http_error::kCannotConnect;
}

void SetTimeout(HINTERNET handle, DWORD option, uint32_t milliseconds) {
    DWORD value = milliseconds;
    InternetSetOptionA(handle, option, &value, sizeof value);
}

// The raw header block without the status line, lines ended by "\n".
std::string RawHeaders(HINTERNET request) {
    DWORD size = 0;
    HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, nullptr, &size, nullptr);
    if (size == 0) return std::string();
    std::string raw(size + 1, '\0');
    if (!HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, raw.data(), &size, nullptr)) return std::string();
    raw.resize(strnlen(raw.c_str(), size));
    std::string headers;
    std::size_t start = raw.find('\n');
    while (start != std::string::npos && start + 1 < raw.size()) {
        std::size_t end = raw.find('\n', start + 1);
        std::string line = raw.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) headers += line + "\n";
        start = end;
    }
    return headers;
}

class WinInetHttpClient : public HttpClient {
public:
    std::unique_ptr<HttpResponse> Send(const HttpRequest& request, HttpStatusListener* listener,
                                       int& error) override {
        error = http_error::kNone;
        auto state = std::make_shared<BodyState>();
        Handles& handles = state->handles;
        const DWORD_PTR context = reinterpret_cast<DWORD_PTR>(listener);
        handles.session = request.proxy.empty()
                              ? InternetOpenA(request.agent.c_str(), INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0)
                              : InternetOpenA(request.agent.c_str(), INTERNET_OPEN_TYPE_PROXY,
                                              request.proxy.c_str(), nullptr, 0);
        if (handles.session == nullptr) {
            error = LastError();
            return nullptr;
        }
        InternetSetStatusCallbackA(handles.session, OnStatus);
        SetTimeout(handles.session, INTERNET_OPTION_CONNECT_TIMEOUT, request.connectTimeoutMs);
        SetTimeout(handles.session, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, request.receiveTimeoutMs);
        SetTimeout(handles.session, INTERNET_OPTION_RECEIVE_TIMEOUT, request.receiveTimeoutMs);

        const bool credentials = !request.user.empty();
        handles.connection = InternetConnectA(handles.session, request.host.c_str(),
                                              static_cast<INTERNET_PORT>(request.port),
                                              credentials ? request.user.c_str() : nullptr,
                                              credentials ? request.password.c_str() : nullptr,
                                              INTERNET_SERVICE_HTTP, 0, context);
        if (handles.connection == nullptr) {
            error = LastError();
            return nullptr;
        }
        if (!request.proxyUser.empty()) {
            InternetSetOptionA(handles.connection, INTERNET_OPTION_PROXY_USERNAME,
                               const_cast<char*>(request.proxyUser.c_str()),
                               static_cast<DWORD>(request.proxyUser.size()));
            InternetSetOptionA(handles.connection, INTERNET_OPTION_PROXY_PASSWORD,
                               const_cast<char*>(request.proxyPassword.c_str()),
                               static_cast<DWORD>(request.proxyPassword.size()));
        }
        const char* acceptTypes[] = {"*", nullptr};
        // A stream is never worth a place in the browser's cache.
        const DWORD flags = INTERNET_FLAG_EXISTING_CONNECT | INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                            INTERNET_FLAG_PRAGMA_NOCACHE;
        handles.request = HttpOpenRequestA(handles.connection, "GET", request.path.c_str(), nullptr, nullptr,
                                           acceptTypes, flags, context);
        if (handles.request == nullptr) {
            error = LastError();
            return nullptr;
        }
        std::string extra;
        for (const std::string& line : request.headers) extra += line + "\r\n";
        if (!HttpSendRequestA(handles.request, extra.empty() ? nullptr : extra.c_str(),
                              static_cast<DWORD>(extra.size()), nullptr, 0)) {
            error = LastError();
            return nullptr;
        }
        // Later status events would reach a listener that is gone.
        InternetSetStatusCallbackA(handles.session, nullptr);
        DWORD status = 0;
        DWORD size = sizeof status;
        if (!HttpQueryInfoA(handles.request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                            nullptr)) {
            error = http_error::kInvalidServerResponse;
            return nullptr;
        }
        std::string headers = RawHeaders(handles.request);
        return std::make_unique<WinInetResponse>(std::move(state), static_cast<int>(status), std::move(headers));
    }
};

}  // namespace

HttpClient& PlatformHttpClient() {
    static WinInetHttpClient client;
    return client;
}

}  // namespace plyvane
