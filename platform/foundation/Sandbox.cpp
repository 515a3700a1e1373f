#include "platform/foundation/Sandbox.h"

#include "platform/foundation/FileManager.h"
#include "platform/foundation/PlatformContext.h"

namespace foundation {

Sandbox& Sandbox::current() { return PlatformContext::current().object<Sandbox>(); }

Status Sandbox::setHome(const std::string& home) {
    std::string trimmed = home;
    while (trimmed.size() > 1 && trimmed.back() == '/')
        trimmed.pop_back();
    home_ = trimmed;
    if (home_.empty())
        return Error{"SandboxErrorDomain", -1, "no sandbox home given"};
    for (auto directory :
         {Directory::Documents, Directory::Caches, Directory::Preferences, Directory::Temporary})
        if (auto made = FileManager::createDirectory(pathFor(directory)); !made)
            return made;
    return success();
}

std::string Sandbox::relativePath(Directory directory) {
    switch (directory) {
    case Directory::Documents:
        return "Documents";
    case Directory::Caches:
        return "Library/Caches";
    case Directory::Preferences:
        return "Library/Preferences";
    case Directory::Temporary:
        return "tmp";
    case Directory::Home:
        return {};
    }
    return {};
}

std::string Sandbox::pathFor(Directory directory) const {
    const std::string relative = relativePath(directory);
    return relative.empty() ? home_ : home_ + "/" + relative;
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
