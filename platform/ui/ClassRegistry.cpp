#include "platform/ui/ClassRegistry.h"

#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

namespace ui {

ClassRegistry& ClassRegistry::shared() {
    static ClassRegistry registry;
    return registry;
}

ClassRegistry::ClassRegistry() {
    registerClass<View>("View");
    registerClass<Window>("Window");
    registerClass<Label>("Label");
    registerClass<Button>("Button");
    registerClass<ImageView>("ImageView");
    registerClass<SegmentedControl>("SegmentedControl");
    registerClass<ViewController>("ViewController");
}

void ClassRegistry::registerClass(const std::string& name, Factory factory) {
    factories_[name] = std::move(factory);
}

std::shared_ptr<InterfaceObject> ClassRegistry::create(const std::string& name) const {
    auto it = factories_.find(name);
    return it == factories_.end() ? nullptr : it->second();
}

} // namespace ui
