// The password of the HTTP account ("Password" in the configuration key).
// Earlier versions stored it as plain text, and plain values are still read.
// New values are stored sealed for the current user where the system offers
// that (CryptProtectData on Windows), as "protected:" followed by the sealed
// bytes in base64, so the registry does not show them.
#pragma once

#include <string>

namespace plyvane {

class SecretProtector {
public:
    virtual ~SecretProtector() = default;
    // Seals bytes so that only the current user can open them again.
    virtual bool Protect(const std::string& plain, std::string& sealed) = 0;
    virtual bool Unprotect(const std::string& sealed, std::string& plain) = 0;
};

// The system's protector, or null where there is none (texts stay plain).
SecretProtector* PlatformSecretProtector();

inline constexpr char kProtectedPrefix[] = "protected:";

// The stored password, opened when sealed; empty when absent or unreadable.
std::string ReadPasswordSetting(SecretProtector* protector = PlatformSecretProtector());

// Stores the password, sealed when a protector is there and succeeds, else
// plain (an empty password is stored as it is). 1 when stored.
int WritePasswordSetting(const std::string& password,
                         SecretProtector* protector = PlatformSecretProtector());

// Base64 (RFC 4648, with padding); Decode is strict and false on anything else.
std::string EncodeBase64(const std::string& bytes);
bool DecodeBase64(const std::string& text, std::string& bytes);

}  // namespace plyvane
