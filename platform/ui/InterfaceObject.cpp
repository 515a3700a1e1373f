#include "platform/ui/InterfaceObject.h"

namespace ui {

void InterfaceObject::configure(const foundation::Value&) {}

bool InterfaceObject::setOutlet(const std::string&, const std::shared_ptr<InterfaceObject>&) {
    return false;
}

std::function<void()> InterfaceObject::action(const std::string&) { return {}; }

} // namespace ui
