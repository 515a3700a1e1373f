#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace ui {

class InterfaceObject;

// Class names an interface description may instantiate. The platform registers its views and
// controllers; an application registers its own classes before its description is loaded.
class ClassRegistry {
public:
    using Factory = std::function<std::shared_ptr<InterfaceObject>()>;

    static ClassRegistry& shared();

    void registerClass(const std::string& name, Factory factory);
    template <typename T>
    void registerClass(const std::string& name) {
        registerClass(name, [] { return T::create(); });
    }
    // nullptr for an unknown class.
    std::shared_ptr<InterfaceObject> create(const std::string& name) const;

private:
    ClassRegistry();
    std::map<std::string, Factory> factories_;
};

} // namespace ui
