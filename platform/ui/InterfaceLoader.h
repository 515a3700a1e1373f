#pragma once

#include "platform/foundation/Result.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace foundation {
class Value;
}

namespace ui {

class InterfaceObject;

// Loads an interface description: a property list whose "objects" array names each object,
// its class, its properties, its "subviews", its "outlets" and its "actions"; "delegate" names
// the application's delegate. Objects are created and configured, then connected, then woken
// (awakeFromNib) in the order they are listed. Any unknown class, object, outlet or action
// fails the whole load with a message naming it.
class InterfaceLoader {
public:
    struct Loaded {
        // Every object by name; holding this keeps them all alive, as a loaded description's
        // top-level objects are.
        std::map<std::string, std::shared_ptr<InterfaceObject>> objects;
        std::vector<std::string> order;
        std::string delegateName;
    };

    static foundation::Result<Loaded> load(const foundation::Value& description);
    static foundation::Result<Loaded> loadFile(const std::string& path);

private:
    static foundation::Result<Loaded> create(const foundation::Value& description);
    static foundation::Status connect(Loaded& loaded, const foundation::Value& entry);
};

} // namespace ui
