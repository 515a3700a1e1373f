#pragma once

#include "ads/request/ActionScreens.h"

namespace pennant {

class ModalViewController;

// The screens and prompts of this library, for openers: each action builds its screen from the
// opener's settings and presents it from the tapped banner.
class ScreenDispatcher : public ActionScreens {
public:
    // Makes these the screens every opener of the process uses; repeated calls change nothing.
    static void install();

    void displayBrowser(Opener& opener) override;
    std::shared_ptr<ui::ViewController> createFullScreenBrowser(Opener& opener) override;
    void displayFullScreenBrowser(Opener& opener,
                                  const std::shared_ptr<ui::ViewController>& screen) override;
    void displayCanvas(Opener& opener) override;
    void call(Opener& opener) override;
    void addToContacts(Opener& opener) override;
    void displayVideoPlayer(Opener& opener) override;

private:
    static void present(ModalViewController& screen, const Opener& opener);
};

} // namespace pennant
