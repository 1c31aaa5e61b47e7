// The HTTP client port: one GET request and its response, through WinINet on
// Windows and libcurl elsewhere. The adapter delivers raw material (status,
// header block, body bytes, status events, error codes); what it means is
// decided once, in portable code (sources/http_*).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace plyvane {

// Error codes are WinINet's numbers on every platform, so one table of texts
// serves both adapters.
namespace http_error {
inline constexpr int kNone = 0;
inline constexpr int kTimeout = 12002;
inline constexpr int kInvalidUrl = 12005;
inline constexpr int kNameNotResolved = 12007;
inline constexpr int kOperationCancelled = 12017;
inline constexpr int kIncorrectUserName = 12013;
inline constexpr int kIncorrectPassword = 12014;
inline constexpr int kLoginFailure = 12015;
inline constexpr int kNotProxyRequest = 12020;
inline constexpr int kItemNotFound = 12028;
inline constexpr int kCannotConnect = 12029;
inline constexpr int kConnectionAborted = 12030;
inline constexpr int kConnectionReset = 12031;
inline constexpr int kInvalidProxyRequest = 12033;
// An answer that is not HTTP, or headers beyond any sane size.
inline constexpr int kInvalidServerResponse = 12152;
}  // namespace http_error

struct HttpRequest {
    std::string host;
    uint16_t port = 0;          // 0: the default HTTP port
    std::string path;           // object name, may be empty; already escaped
    std::string user;           // empty: no credentials
    std::string password;
    std::string proxy;          // "host" or "host:port"; empty: direct
    std::string proxyUser;      // empty: no proxy credentials
    std::string proxyPassword;
    std::string agent;
    std::vector<std::string> headers;  // extra request lines, "Name: value"
    uint32_t connectTimeoutMs = 300000;
    uint32_t receiveTimeoutMs = 300000;
    int maxRedirects = 5;
};

enum class HttpStatusEvent { kResolvingName, kNameResolved, kConnecting, kConnected };

// Called on the thread that sends the request, between the blocking steps.
class HttpStatusListener {
public:
    virtual ~HttpStatusListener() = default;
    // detail: the name being resolved, or the resolved address.
    virtual void OnHttpStatus(HttpStatusEvent event, const std::string& detail) = 0;
};

class HttpResponse {
public:
    virtual ~HttpResponse() = default;
    // The status code of the final response (after redirects).
    virtual int StatusCode() const = 0;
    // The header lines of the final response without its status line, each
    // ended by "\n" (line ends are normalised).
    virtual const std::string& Headers() const = 0;
    // Up to size body bytes (transfer encodings removed): > 0 bytes read,
    // 0 at the end of the body, -1 on failure with error set (kOperationCancelled
    // after Abort). Blocks until data, end, failure or Abort.
    virtual long Read(void* buffer, std::size_t size, int& error) = 0;
    // From any thread: a Read that blocks now or later returns -1 at once.
    virtual void Abort() = 0;
};

class HttpClient {
public:
    virtual ~HttpClient() = default;
    // Sends the request and waits for the final response's headers; null with
    // error set when no response arrived. Redirects are followed.
    virtual std::unique_ptr<HttpResponse> Send(const HttpRequest& request, HttpStatusListener* listener,
                                               int& error) = 0;
};

// The platform's client: WinINet on Windows, libcurl elsewhere.
HttpClient& PlatformHttpClient();

}  // namespace plyvane
