#pragma once

#include "platform/foundation/Error.h"

#include <optional>
#include <string>

namespace web {

// One step of a web view's load, as observers of every view see it.
struct LoadEvent {
    enum class Kind { Started, Finished, Failed };
    Kind kind = Kind::Started;
    std::string url;
    // The page's title as its scripts left it, once finished.
    std::string title;
    std::optional<foundation::Error> error;
};

} // namespace web
