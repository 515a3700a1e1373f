#pragma once

#include <optional>
#include <string>

namespace foundation {
template <typename T>
class Singleton;
}

namespace pennant {

// What an ad request says about the host application, read once per process: its bundle
// names and whether it carries store purchase metadata (an application installed from the
// store never asks for test ads).
class AppData {
public:
    static AppData& sharedAppData();

    bool hasITunesMetadata() const { return hasITunesMetadata_; }
    const std::optional<std::string>& bundleDisplayName() const { return bundleDisplayName_; }
    const std::optional<std::string>& bundleName() const { return bundleName_; }
    const std::optional<std::string>& bundleIdentifier() const { return bundleIdentifier_; }

    // Where sound goes, as the ad network codes it: 0 speaker (and any session failure),
    // 1 headphones or headset, 2 no route, 4 anything else.
    static int audioRoute();

private:
    friend class foundation::Singleton<AppData>;
    AppData();

    static bool readStoreMetadata();

    bool hasITunesMetadata_ = false;
    std::optional<std::string> bundleDisplayName_;
    std::optional<std::string> bundleName_;
    std::optional<std::string> bundleIdentifier_;
};

} // namespace pennant
