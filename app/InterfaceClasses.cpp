#include "app/InterfaceClasses.h"

#include "app/AdViewController.h"
#include "app/Classes/AppDelegate.h"
#include "app/Classes/ViewController.h"
#include "platform/ui/ClassRegistry.h"

namespace kessa {

void registerInterfaceClasses() {
    auto& registry = ui::ClassRegistry::shared();
    registry.registerClass<AppDelegate>("KessaAppDelegate");
    registry.registerClass<ViewController>("KessaViewController");
    registry.registerClass<AdViewController>("AdViewController");
}

} // namespace kessa
