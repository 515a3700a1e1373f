#include "platform/foundation/Sandbox.h"

#include "platform/foundation/PlatformContext.h"
#include "platform/foundation/FileManager.h"

namespace foundation {

Sandbox& Sandbox::current() { return PlatformContext::current().object<Sandbox>(); }

bool Sandbox::setHome(const std::string& home) {
    std::string trimmed = home;
    while (trimmed.size() > 1 && trimmed.back() == '/')
        trimmed.pop_back();
    home_ = trimmed;
    bool ok = !home_.empty();
    for (auto directory : {Directory::Documents, Directory::Caches, Directory::Preferences,
                           Directory::Temporary})
        ok = ok && FileManager::createDirectory(pathFor(directory));
    return ok;
}

std::string Sandbox::pathFor(Directory directory) const {
    switch (directory) {
    case Directory::Documents: return home_ + "/Documents";
    case Directory::Caches: return home_ + "/Library/Caches";
    case Directory::Preferences: return home_ + "/Library/Preferences";
    case Directory::Temporary: return home_ + "/tmp";
    case Directory::Home: return home_;
    }
    return home_;
}

std::string Sandbox::devicePath(const std::string& absolutePath) const {
    return home_ + "/device-root" + (absolutePath.starts_with('/') ? "" : "/") + absolutePath;
}

std::vector<std::string> Sandbox::searchPathForDirectory(Directory directory) {
    const Sandbox& sandbox = current();
    if (sandbox.home_.empty())
        return {};
    return {sandbox.pathFor(directory)};
}

} // namespace foundation
