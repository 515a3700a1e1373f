#pragma once

#include <memory>

namespace ui {
class ViewController;
}

namespace pennant {

class Opener;

// The screens and prompts an opener hands its action to. They are built above this library
// (on the full-screen framework), so the opener reaches them through this interface, which
// that library installs once per process. Without it the opener logs that the action is not
// available.
class ActionScreens {
public:
    virtual ~ActionScreens() = default;

    static void install(std::shared_ptr<ActionScreens> screens);
    static std::shared_ptr<ActionScreens> installed();

    virtual void displayBrowser(Opener& opener) = 0;
    // A full-screen page that starts loading now and is presented later.
    virtual std::shared_ptr<ui::ViewController> createFullScreenBrowser(Opener& opener) = 0;
    virtual void displayFullScreenBrowser(Opener& opener,
                                          const std::shared_ptr<ui::ViewController>& screen) = 0;
    virtual void displayCanvas(Opener& opener) = 0;
    virtual void call(Opener& opener) = 0;
    virtual void addToContacts(Opener& opener) = 0;
    virtual void displayVideoPlayer(Opener& opener) = 0;
};

} // namespace pennant
