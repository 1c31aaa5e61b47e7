// The HTTP client port over libcurl's multi interface: the transfer is
// driven by the reader, one poll at a time, so Abort can wake it at once.
#include <arpa/inet.h>
#include <curl/curl.h>
#include <netinet/in.h>
#include <strings.h>
#include <sys/socket.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "http_client.h"

namespace plyvane {

namespace {

using Clock = std::chrono::steady_clock;

// Body bytes kept ahead of the reader before the transfer is paused.
constexpr std::size_t kMaxBuffered = 256 * 1024;
constexpr int kPollMs = 200;

void InitialiseCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

int ErrorOf(CURLcode code, long osErrno) {
    switch (code) {
        case CURLE_OK: return http_error::kNone;
        case CURLE_URL_MALFORMAT: return http_error::kInvalidUrl;
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY: return http_error::kNameNotResolved;
        case CURLE_COULDNT_CONNECT: return http_error::kCannotConnect;
        case CURLE_OPERATION_TIMEDOUT: return http_error::kTimeout;
        case CURLE_LOGIN_DENIED: return http_error::kLoginFailure;
        case CURLE_SEND_ERROR:
        case CURLE_RECV_ERROR:
            return osErrno == ECONNRESET ? http_error::kConnectionReset : http_error::kConnectionAborted;
        case CURLE_PARTIAL_FILE:
        case CURLE_GOT_NOTHING: return http_error::kConnectionAborted;
        case CURLE_ABORTED_BY_CALLBACK: return http_error::kOperationCancelled;
        case CURLE_WEIRD_SERVER_REPLY:
        case CURLE_UNSUPPORTED_PROTOCOL:
        case CURLE_OUT_OF_MEMORY:  // also a header line beyond curl's limit
        case CURLE_BAD_CONTENT_ENCODING: return http_error::kInvalidServerResponse;
        default: return static_cast<int>(code);
    }
}

class CurlResponse : public HttpResponse {
public:
    CurlResponse(const HttpRequest& request, HttpStatusListener* listener)
        : listener_(listener), receiveTimeout_(std::chrono::milliseconds(request.receiveTimeoutMs)) {}

    ~CurlResponse() override {
        if (multi_ != nullptr && easy_ != nullptr) curl_multi_remove_handle(multi_, easy_);
        if (easy_ != nullptr) curl_easy_cleanup(easy_);
        if (multi_ != nullptr) curl_multi_cleanup(multi_);
        if (headerList_ != nullptr) curl_slist_free_all(headerList_);
    }

    // Sets the transfer up and runs it until the final headers are in.
    bool Start(const HttpRequest& request, int& error) {
        easy_ = curl_easy_init();
        multi_ = curl_multi_init();
        if (easy_ == nullptr || multi_ == nullptr) {
            error = http_error::kInvalidUrl;
            return false;
        }
        std::string url = "http://" + request.host;
        if (request.port != 0) url += ":" + std::to_string(request.port);
        url += request.path.empty() || request.path[0] != '/' ? "/" + request.path : request.path;

        curl_easy_setopt(easy_, CURLOPT_URL, url.c_str());
        curl_easy_setopt(easy_, CURLOPT_PROTOCOLS_STR, "http");
        curl_easy_setopt(easy_, CURLOPT_REDIR_PROTOCOLS_STR, "http");
        curl_easy_setopt(easy_, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(easy_, CURLOPT_MAXREDIRS, static_cast<long>(request.maxRedirects));
        curl_easy_setopt(easy_, CURLOPT_USERAGENT, request.agent.c_str());
        curl_easy_setopt(easy_, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(request.connectTimeoutMs));
        curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L);
        // The proxy is ours alone: an empty text turns the environment's off.
        curl_easy_setopt(easy_, CURLOPT_PROXY, request.proxy.empty() ? "" : ("http://" + request.proxy).c_str());
        if (!request.proxyUser.empty()) {
            curl_easy_setopt(easy_, CURLOPT_PROXYAUTH, static_cast<long>(CURLAUTH_BASIC));
            curl_easy_setopt(easy_, CURLOPT_PROXYUSERNAME, request.proxyUser.c_str());
            curl_easy_setopt(easy_, CURLOPT_PROXYPASSWORD, request.proxyPassword.c_str());
        }
        if (!request.user.empty()) {
            curl_easy_setopt(easy_, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC));
            curl_easy_setopt(easy_, CURLOPT_USERNAME, request.user.c_str());
            curl_easy_setopt(easy_, CURLOPT_PASSWORD, request.password.c_str());
        }
        headerList_ = curl_slist_append(headerList_, "Accept: *");
        for (const std::string& line : request.headers) headerList_ = curl_slist_append(headerList_, line.c_str());
        curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, headerList_);
        curl_easy_setopt(easy_, CURLOPT_HEADERFUNCTION, &CurlResponse::OnHeader);
        curl_easy_setopt(easy_, CURLOPT_HEADERDATA, this);
        curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &CurlResponse::OnBody);
        curl_easy_setopt(easy_, CURLOPT_WRITEDATA, this);
        curl_easy_setopt(easy_, CURLOPT_OPENSOCKETFUNCTION, &CurlResponse::OnOpenSocket);
        curl_easy_setopt(easy_, CURLOPT_OPENSOCKETDATA, this);
        curl_multi_add_handle(multi_, easy_);

        Emit(HttpStatusEvent::kResolvingName, request.proxy.empty() ? request.host : ProxyHost(request.proxy));
        lastProgress_ = Clock::now();
        while (!headersComplete_ && !done_) {
            if (!Step(error)) return false;
        }
        if (!headersComplete_) {
            // The transfer ended before a final response: an error, or too
            // many redirects (then the last response stands).
            if (status_ != 0 && (result_ == CURLE_TOO_MANY_REDIRECTS || result_ == CURLE_OK)) return true;
            error = result_ == CURLE_OK ? http_error::kInvalidServerResponse : ErrorOf(result_, osErrno_);
            return false;
        }
        return true;
    }

    int StatusCode() const override { return status_; }
    const std::string& Headers() const override { return headers_; }

    long Read(void* buffer, std::size_t size, int& error) override {
        error = http_error::kNone;
        while (body_.size() == bodyStart_) {
            body_.clear();
            bodyStart_ = 0;
            if (paused_) {
                paused_ = false;
                curl_easy_pause(easy_, CURLPAUSE_CONT);
            }
            if (done_) {
                if (result_ == CURLE_OK) return 0;
                error = ErrorOf(result_, osErrno_);
                return -1;
            }
            if (!Step(error)) return -1;
        }
        const std::size_t count = std::min(size, body_.size() - bodyStart_);
        std::memcpy(buffer, body_.data() + bodyStart_, count);
        bodyStart_ += count;
        return static_cast<long>(count);
    }

    void Abort() override {
        aborted_ = true;
        curl_multi_wakeup(multi_);
    }

private:
    static std::string ProxyHost(const std::string& proxy) { return proxy.substr(0, proxy.find(':')); }

    // One round of the transfer: false with error set on a failure that
    // ends it here (abort, receive timeout).
    bool Step(int& error) {
        if (aborted_) {
            error = http_error::kOperationCancelled;
            return false;
        }
        int running = 0;
        curl_multi_perform(multi_, &running);
        FlushEvents();
        int queued = 0;
        while (CURLMsg* message = curl_multi_info_read(multi_, &queued)) {
            if (message->msg == CURLMSG_DONE) {
                done_ = true;
                result_ = message->data.result;
                curl_easy_getinfo(easy_, CURLINFO_OS_ERRNO, &osErrno_);
            }
        }
        if (done_ || headersComplete_ || body_.size() > bodyStart_) return true;
        curl_multi_poll(multi_, nullptr, 0, kPollMs, nullptr);
        if (aborted_) {
            error = http_error::kOperationCancelled;
            return false;
        }
        if (Clock::now() - lastProgress_ > receiveTimeout_ && connected_) {
            error = http_error::kTimeout;
            return false;
        }
        return true;
    }

    void Emit(HttpStatusEvent event, std::string detail) { events_.emplace_back(event, std::move(detail)); }

    // Status events reach the listener outside curl's callbacks, so what the
    // listener does cannot re-enter the transfer.
    void FlushEvents() {
        if (!connected_) {
            curl_off_t connectTime = 0;
            if (curl_easy_getinfo(easy_, CURLINFO_CONNECT_TIME_T, &connectTime) == CURLE_OK && connectTime > 0) {
                connected_ = true;
                lastProgress_ = Clock::now();
                Emit(HttpStatusEvent::kConnected, std::string());
            }
        }
        std::vector<std::pair<HttpStatusEvent, std::string>> events;
        events.swap(events_);
        if (listener_ == nullptr) return;
        for (const auto& [event, detail] : events) listener_->OnHttpStatus(event, detail);
    }

    static curl_socket_t OnOpenSocket(void* self, curlsocktype, curl_sockaddr* address) {
        auto* response = static_cast<CurlResponse*>(self);
        char text[64] = "";
        if (address->family == AF_INET) {
            inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(&address->addr)->sin_addr, text, sizeof text);
        } else if (address->family == AF_INET6) {
            inet_ntop(AF_INET6, &reinterpret_cast<sockaddr_in6*>(&address->addr)->sin6_addr, text, sizeof text);
        }
        if (!response->resolved_) {
            response->resolved_ = true;
            response->Emit(HttpStatusEvent::kNameResolved, text);
            response->Emit(HttpStatusEvent::kConnecting, std::string());
        }
        return socket(address->family, address->socktype, address->protocol);
    }

    static size_t OnHeader(char* data, size_t size, size_t count, void* self) {
        auto* response = static_cast<CurlResponse*>(self);
        const size_t bytes = size * count;
        response->lastProgress_ = Clock::now();
        std::string line(data, bytes);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        if (line.compare(0, 5, "HTTP/") == 0 || line.compare(0, 4, "ICY ") == 0) {
            // A new response (a redirect's target, or after "100 Continue").
            const size_t space = line.find(' ');
            response->status_ = std::atoi(line.c_str() + space + 1);
            response->headers_.clear();
            response->hasLocation_ = false;
            response->headersComplete_ = false;
        } else if (line.empty()) {
            const int status = response->status_;
            const bool followed = status >= 300 && status < 400 && response->hasLocation_ && status != 304 &&
                                  status != 300;
            if (status >= 200 && !followed) response->headersComplete_ = true;
        } else {
            if (strncasecmp(line.c_str(), "location:", 9) == 0) response->hasLocation_ = true;
            response->headers_ += line;
            response->headers_ += '\n';
        }
        return bytes;
    }

    static size_t OnBody(char* data, size_t size, size_t count, void* self) {
        auto* response = static_cast<CurlResponse*>(self);
        const size_t bytes = size * count;
        response->lastProgress_ = Clock::now();
        if (response->body_.size() - response->bodyStart_ > kMaxBuffered) {
            response->paused_ = true;
            return CURL_WRITEFUNC_PAUSE;
        }
        response->body_.append(data, bytes);
        return bytes;
    }

    HttpStatusListener* listener_;
    const Clock::duration receiveTimeout_;
    CURL* easy_ = nullptr;
    CURLM* multi_ = nullptr;
    curl_slist* headerList_ = nullptr;
    std::vector<std::pair<HttpStatusEvent, std::string>> events_;
    bool resolved_ = false;
    bool connected_ = false;
    int status_ = 0;
    std::string headers_;
    bool hasLocation_ = false;
    bool headersComplete_ = false;
    std::string body_;
    std::size_t bodyStart_ = 0;
    bool paused_ = false;
    bool done_ = false;
    CURLcode result_ = CURLE_OK;
    long osErrno_ = 0;
    Clock::time_point lastProgress_{};
    std::atomic<bool> aborted_{false};
};

class CurlHttpClient : public HttpClient {
public:
    std::unique_ptr<HttpResponse> Send(const HttpRequest& request, HttpStatusListener* listener,
                                       int& error) override {
        InitialiseCurlOnce();
        error = http_error::kNone;
        auto response = std::make_unique<CurlResponse>(request, listener);
        if (!response->Start(request, error)) return nullptr;
        return response;
    }
};

}  // namespace

HttpClient& PlatformHttpClient() {
    static CurlHttpClient client;
    return client;
}

}  // namespace plyvane
