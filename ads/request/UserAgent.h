#pragma once

#include <optional>
#include <string>

namespace pennant {

// The ad client's user-agent text, from the facts the device gives about itself.
class UserAgent {
public:
    struct Facts {
        std::string model;
        std::string systemName;
        std::string systemVersion;
        std::string machine;
        // The "AppleLocale" user default when it is a string.
        std::optional<std::string> locale;
        bool jailbroken = false;
    };

    static Facts current();
    static std::string format(const Facts& facts);
};

} // namespace pennant
