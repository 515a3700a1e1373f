#include "app/Classes/AppDelegate.h"

#include "app/Classes/ViewController.h"
#include "platform/ui/Window.h"

namespace kessa {

bool AppDelegate::setOutlet(const std::string& name,
                            const std::shared_ptr<ui::InterfaceObject>& object) {
    if (auto window = std::dynamic_pointer_cast<ui::Window>(object); window && name == "window") {
        setWindow(window);
        return true;
    }
    if (auto controller = std::dynamic_pointer_cast<ViewController>(object);
        controller && name == "viewController") {
        setViewController(controller);
        return true;
    }
    return false;
}

void AppDelegate::applicationDidFinishLaunching(ui::Application&) {
    if (!window_ || !viewController_)
        return;
    window_->addSubview(viewController_->view());
    window_->makeKeyAndVisible();
}

} // namespace kessa
