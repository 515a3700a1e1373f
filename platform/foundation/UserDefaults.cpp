#include "platform/foundation/UserDefaults.h"

#include "platform/foundation/FileManager.h"
#include "platform/foundation/PlatformContext.h"
#include "platform/foundation/PropertyList.h"

namespace foundation {

UserDefaults& UserDefaults::standard() {
    static UserDefaults defaults;
    return defaults;
}

void UserDefaults::load(std::string persistentPath, Dictionary globalDomain) {
    std::lock_guard lock(mutex_);
    path_ = std::move(persistentPath);
    global_ = std::move(globalDomain);
    persistent_ = Dictionary();
    dirty_ = false;
    // An unreadable or corrupt preferences file starts the domain empty, as a fresh install.
    if (auto bytes = FileManager::contentsAtPath(path_)) {
        auto parsed = PropertyList::read(*bytes);
        if (parsed && parsed.value().isDictionary())
            persistent_ = parsed.value().asDictionary();
    }
}

Value UserDefaults::objectForKey(const std::string& key) const {
    std::lock_guard lock(mutex_);
    if (const Value* value = persistent_.find(key))
        return *value;
    return global_.get(key);
}

std::optional<std::string> UserDefaults::stringForKey(const std::string& key) const {
    Value value = objectForKey(key);
    if (value.isString())
        return std::string(value.asString());
    return std::nullopt;
}

std::optional<Value::Array> UserDefaults::arrayForKey(const std::string& key) const {
    Value value = objectForKey(key);
    if (value.isArray())
        return Value::Array(value.asArray().begin(), value.asArray().end());
    return std::nullopt;
}

float UserDefaults::floatForKey(const std::string& key) const {
    return static_cast<float>(objectForKey(key).doubleValue(0));
}

void UserDefaults::setObject(const std::string& key, Value value) {
    std::lock_guard lock(mutex_);
    persistent_.set(key, std::move(value));
    dirty_ = true;
}

void UserDefaults::setFloat(const std::string& key, float value) {
    setObject(key, Value::number(static_cast<double>(value)));
}

Status UserDefaults::synchronize() {
    std::lock_guard lock(mutex_);
    if (!dirty_ || path_.empty())
        return success();
    auto encoded = PropertyList::writeXML(Value(persistent_));
    if (!encoded)
        return encoded.error();
    if (auto written = FileManager::writeAtomically(path_, encoded.value()); !written)
        return written;
    dirty_ = false;
    return success();
}

} // namespace foundation
