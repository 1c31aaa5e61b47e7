// HTTP addresses as the stream session reads them: "http://" (lower case),
// then optional user information before "@", the host with an optional port
// after ":", and the path from the first "/".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace plyvane {

// The longest address the session opens.
inline constexpr std::size_t kMaxAddressLength = 2048;

struct HttpAddress {
    std::string host;
    uint16_t port = 0;          // 0: the default HTTP port
    std::string path;           // from the first "/", escaped for the request line; may be empty
    bool hasUserInfo = false;   // the address carried "user[:password]@"
    std::string user;           // %-escapes decoded
    std::string password;
};

enum class AddressCheck {
    kValid,
    kNotHttp,   // does not begin with exactly "http://": refused without a message
    kInvalid,   // no host, a bad port, control characters, too long ...
};

AddressCheck ParseHttpAddress(std::string_view address, HttpAddress& out);

// The address as it may be shown: a password in the user information is
// replaced by "***". Anything that is not an address is returned unchanged.
std::string MaskAddressPassword(std::string_view address);

}  // namespace plyvane
