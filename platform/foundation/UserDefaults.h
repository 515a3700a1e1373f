#pragma once

#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Result.h"
#include "platform/foundation/Value.h"

#include <mutex>
#include <optional>
#include <string>

namespace foundation {

// The user defaults: the application's persistent domain, stored as a property list, over a
// read-only global domain that the device profile fills ("AppleLanguages", "AppleLocale").
class UserDefaults {
public:
    static UserDefaults& standard();

    // Points the persistent domain at a file (reading what it holds) and sets the global domain.
    void load(std::string persistentPath, Dictionary globalDomain);

    Value objectForKey(const std::string& key) const;
    std::optional<std::string> stringForKey(const std::string& key) const;
    std::optional<Value::Array> arrayForKey(const std::string& key) const;
    // 0 when absent or not a number or numeric string.
    float floatForKey(const std::string& key) const;

    void setObject(const std::string& key, Value value);
    void setFloat(const std::string& key, float value);
    void removeObject(const std::string& key) { setObject(key, Value()); }
    // Writes the persistent domain atomically when it changed; the domain stays unsaved when
    // the write fails.
    Status synchronize();

private:
    mutable std::mutex mutex_;
    std::string path_;
    Dictionary persistent_;
    Dictionary global_;
    bool dirty_ = false;
};

} // namespace foundation
