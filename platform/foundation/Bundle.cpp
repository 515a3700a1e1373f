#include "platform/foundation/Bundle.h"

#include "platform/foundation/FileManager.h"
#include "platform/foundation/PlatformContext.h"
#include "platform/foundation/PropertyList.h"

namespace foundation {

Bundle& Bundle::main() {
    static Bundle bundle;
    return bundle;
}

void Bundle::load(std::string resourcePath) {
    resourcePath_ = std::move(resourcePath);
    info_ = Value();
    if (auto bytes = FileManager::contentsAtPath(resourcePath_ + "/Info.plist"))
        if (auto parsed = PropertyList::read(*bytes); parsed && parsed.value().isDictionary())
            info_ = parsed.value();
}

std::optional<std::string> Bundle::pathForResource(const std::string& name,
                                                   const std::string& type) const {
    // The name must not lead out of the resource folder.
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos ||
        resourcePath_.empty())
        return std::nullopt;
    std::string path = resourcePath_ + "/" + name + (type.empty() ? "" : "." + type);
    return FileManager::fileExists(path) ? std::optional(path) : std::nullopt;
}

} // namespace foundation
