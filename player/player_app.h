// The application object: knows its module path, folder and product
// version, and runs the main player window until it ends.
#pragma once

#include <string>

#include "application.h"

namespace plyvane {

class CPlayerApp : public Application {
public:
    int Run() override;

    const char* ModulePath() const { return modulePath_; }
    const std::string& ModuleFolder() const { return moduleFolder_; }
    const std::string& VersionString() const { return versionString_; }
    int Major() const { return major_; }
    int Minor() const { return minor_; }

private:
    void ReadVersion();

    char modulePath_[256] = "";
    std::string moduleFolder_;
    std::string versionString_;
    int major_ = 0;
    int minor_ = 0;
};

}  // namespace plyvane
