#pragma once

#include "platform/ui/Responder.h"

namespace ui {

class Application;

// The application's delegate: told about launch and about becoming active or inactive.
class ApplicationDelegate : public Responder {
public:
    virtual void applicationDidFinishLaunching(Application&) {}
    virtual void applicationWillResignActive(Application&) {}
    virtual void applicationDidBecomeActive(Application&) {}
    virtual void applicationWillTerminate(Application&) {}

protected:
    ApplicationDelegate() = default;
};

} // namespace ui
