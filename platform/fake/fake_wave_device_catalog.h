// A wave device catalog for tests: devices with chosen format masks, a
// chosen platform kind, and ids whose capability query fails.
#pragma once

#include <cstdio>
#include <map>
#include <vector>

#include "wave_device.h"

namespace plyvane {

class FakeWaveDeviceCatalog : public WaveDeviceCatalog {
public:
    // Devices 0..n-1 in the order added; the wave mapper answers with the
    // formats of device 0 unless set with SetMapperFormats.
    int AddDevice(uint32_t formats, const char* name = nullptr) {
        Device device;
        device.formats = formats;
        if (name != nullptr)
            std::snprintf(device.name, sizeof device.name, "%s", name);
        else
            std::snprintf(device.name, sizeof device.name, "Fake device %u",
                          static_cast<unsigned>(devices_.size()));
        devices_.push_back(device);
        return static_cast<int>(devices_.size()) - 1;
    }
    void SetMapperFormats(uint32_t formats) {
        mapperSet_ = true;
        mapperFormats_ = formats;
    }
    void FailQueries(int id, bool fail = true) { failing_[id] = fail; }
    void SetPlatform(PlatformKind platform) { platform_ = platform; }
    // How many capability queries were made (the record queries lazily).
    int Queries() const { return queries_; }

    unsigned DeviceCount() override { return static_cast<unsigned>(devices_.size()); }

    bool DeviceCaps(int id, WaveDeviceCaps& caps) override {
        ++queries_;
        auto failing = failing_.find(id);
        if (failing != failing_.end() && failing->second) return false;
        if (id == kWaveMapper) {
            if (!mapperSet_ && devices_.empty()) return false;
            caps.formats = mapperSet_ ? mapperFormats_ : devices_[0].formats;
            std::snprintf(caps.productName, sizeof caps.productName, "%s", "Wave mapper");
            return true;
        }
        if (id < 0 || id >= static_cast<int>(devices_.size())) return false;
        caps.formats = devices_[static_cast<std::size_t>(id)].formats;
        std::snprintf(caps.productName, sizeof caps.productName, "%s",
                      devices_[static_cast<std::size_t>(id)].name);
        return true;
    }

    PlatformKind Platform() override { return platform_; }

private:
    struct Device {
        uint32_t formats = 0;
        char name[kProductNameLength] = {};
    };
    std::vector<Device> devices_;
    std::map<int, bool> failing_;
    bool mapperSet_ = false;
    uint32_t mapperFormats_ = 0;
    PlatformKind platform_ = PlatformKind::kWindows9x;
    int queries_ = 0;
};

}  // namespace plyvane
