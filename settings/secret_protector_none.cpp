// Systems without a per-user secret store keep the password plain.
#include "password_setting.h"

namespace plyvane {

SecretProtector* PlatformSecretProtector() { return nullptr; }

}  // namespace plyvane
