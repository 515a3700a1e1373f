#pragma once

#include <functional>
#include <memory>
#include <string>

namespace foundation {
class Value;
}

namespace ui {

// Anything an interface description can create and connect: it configures itself from its
// description entry, accepts outlets by name and names the actions it offers.
class InterfaceObject {
public:
    virtual ~InterfaceObject() = default;

    // The class name used in interface descriptions and view-tree dumps.
    virtual std::string className() const = 0;
    // Reads the properties this class understands from a description entry.
    virtual void configure(const foundation::Value& description);
    // False when the class has no outlet of that name or the object is of the wrong kind.
    virtual bool setOutlet(const std::string& name, const std::shared_ptr<InterfaceObject>& object);
    // An empty function when the class offers no action of that name.
    virtual std::function<void()> action(const std::string& name);
    // Called once every object of the description exists and is connected.
    virtual void awakeFromNib() {}

    // The object's name in the interface description, when it came from one.
    const std::string& interfaceName() const { return interfaceName_; }
    void setInterfaceName(std::string name) { interfaceName_ = std::move(name); }

private:
    std::string interfaceName_;
};

} // namespace ui
