#pragma once

#include "platform/foundation/Result.h"

#include <string>
#include <vector>

namespace foundation {

// The application's home on the simulated device: Documents, Library/Caches,
// Library/Preferences and tmp, under a root that the simulator or a test chooses. Absolute
// device paths (such as /Applications) live under the home's "device-root" folder.
class Sandbox {
public:
    enum class Directory { Documents, Caches, Preferences, Temporary, Home };

    static Sandbox& current();

    // Makes the given folder the home and creates its standard directories. An empty folder
    // leaves the process without a home.
    Status setHome(const std::string& home);
    const std::string& home() const { return home_; }
    std::string pathFor(Directory directory) const;
    // The directory's path below the home ("Library/Caches"); empty for the home itself.
    static std::string relativePath(Directory directory);
    // Where an absolute path of the device (e.g. "/Applications/X.app") lives in the sandbox.
    std::string devicePath(const std::string& absolutePath) const;

    // The platform's search for a user-domain directory: the first entry is the one to use;
    // empty when no home has been set.
    static std::vector<std::string> searchPathForDirectory(Directory directory);

private:
    std::string home_;
};

} // namespace foundation
