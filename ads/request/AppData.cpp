#include "ads/request/AppData.h"

#include "platform/audio/AudioSession.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Dictionary.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/Sandbox.h"
#include "platform/foundation/Singleton.h"

namespace pennant {

namespace {
std::optional<std::string> bundleString(const char* key) {
    const foundation::Value& value = foundation::Bundle::main().infoDictionary()[key];
    return value.isString() ? std::optional(std::string(value.asString())) : std::nullopt;
}
} // namespace

AppData& AppData::sharedAppData() { return foundation::Singleton<AppData>::shared(); }

AppData::AppData()
    : hasITunesMetadata_(readStoreMetadata()),
      bundleDisplayName_(bundleString("CFBundleDisplayName")),
      bundleName_(bundleString("CFBundleName")),
      bundleIdentifier_(bundleString("CFBundleIdentifier")) {}

bool AppData::readStoreMetadata() {
    // The metadata sits in the application's home, beside its Documents folder.
    auto bytes = foundation::FileManager::contentsBelow(foundation::Sandbox::current().home(),
                                                        "iTunesMetadata.plist");
    if (!bytes)
        return false;
    auto plist = foundation::PropertyList::read(bytes.value());
    return plist && plist.value().isDictionary() && !plist.value().asDictionary().empty();
}

int AppData::audioRoute() {
    auto& session = audio::AudioSession::shared();
    const int status = session.initialize();
    if (status != audio::AudioSession::kNoError &&
        status != audio::AudioSession::kAlreadyInitialized)
        return 0;
    const auto reading = session.currentRoute();
    if (reading.status > 0)
        return 0;
    if (reading.route.empty())
        return 2;
    if (reading.route == "Headphone" || reading.route == "Headset")
        return 1;
    return reading.route == "Speaker" ? 0 : 4;
}

} // namespace pennant
