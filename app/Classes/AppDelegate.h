#pragma once

#include "platform/ui/ApplicationDelegate.h"
#include "platform/ui/Creatable.h"

#include <memory>

namespace ui {
class Window;
}

namespace kessa {

class ViewController;

// Shows the shaker screen in the application's only window at launch.
class AppDelegate : public ui::ApplicationDelegate {
    UI_CREATABLE(AppDelegate)
    std::string className() const override { return "KessaAppDelegate"; }
    bool setOutlet(const std::string& name,
                   const std::shared_ptr<ui::InterfaceObject>& object) override;

    std::shared_ptr<ui::Window> window() const { return window_; }
    void setWindow(std::shared_ptr<ui::Window> window) { window_ = std::move(window); }
    std::shared_ptr<ViewController> viewController() const { return viewController_; }
    void setViewController(std::shared_ptr<ViewController> controller) {
        viewController_ = std::move(controller);
    }

    void applicationDidFinishLaunching(ui::Application& application) override;

protected:
    AppDelegate() = default;

private:
    std::shared_ptr<ui::Window> window_;
    std::shared_ptr<ViewController> viewController_;
};

} // namespace kessa
