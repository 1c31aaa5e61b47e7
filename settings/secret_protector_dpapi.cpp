// The password sealed with the data protection of Windows (CryptProtectData):
// only the same user on the same system opens it again.
#include <windows.h>
#include <wincrypt.h>

#include "password_setting.h"

namespace plyvane {

namespace {
class DpapiProtector : public SecretProtector {
public:
    bool Protect(const std::string& plain, std::string& sealed) override {
        return Run(plain, sealed, true);
    }
    bool Unprotect(const std::string& sealed, std::string& plain) override {
        return Run(sealed, plain, false);
    }

private:
    static bool Run(const std::string& in, std::string& out, bool protect) {
        DATA_BLOB input{static_cast<DWORD>(in.size()),
                        reinterpret_cast<BYTE*>(const_cast<char*>(in.data()))};
        DATA_BLOB output{0, nullptr};
        BOOL done = protect
            ? ::CryptProtectData(&input, L"Plyvane", nullptr, nullptr, nullptr,
                                 CRYPTPROTECT_UI_FORBIDDEN, &output)
            : ::CryptUnprotectData(&input, nullptr, nullptr, nullptr, nullptr,
                                   CRYPTPROTECT_UI_FORBIDDEN, &output);
        if (!done) return false;
        out.assign(reinterpret_cast<const char*>(output.pbData), output.cbData);
        ::SecureZeroMemory(output.pbData, output.cbData);
        ::LocalFree(output.pbData);
        return true;
    }
};
}  // namespace

SecretProtector* PlatformSecretProtector() {
    static DpapiProtector protector;
    return &protector;
}

}  // namespace plyvane
