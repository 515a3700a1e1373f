#pragma once

#include "platform/foundation/Value.h"

#include <optional>
#include <string>

namespace foundation {

// The application bundle: a resource folder and the information dictionary (Info.plist).
class Bundle {
public:
    static Bundle& main();

    // Points the bundle at a folder and reads its Info.plist (a missing or bad file gives an
    // empty information dictionary).
    void load(std::string resourcePath);
    const std::string& resourcePath() const { return resourcePath_; }
    const Value& infoDictionary() const { return info_; }
    void setInfoDictionary(Value info) { info_ = std::move(info); }
    // The path of name.type inside the bundle, or nullopt when there is no such file.
    std::optional<std::string> pathForResource(const std::string& name,
                                               const std::string& type) const;

private:
    std::string resourcePath_;
    Value info_;
};

} // namespace foundation
