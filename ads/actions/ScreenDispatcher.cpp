#include "ads/actions/ScreenDispatcher.h"

#include "ads/actions/BrowserController.h"
#include "ads/actions/CanvasController.h"
#include "ads/actions/ClickToCallAlert.h"
#include "ads/actions/ClickToContactsAlert.h"
#include "ads/actions/WebViewController.h"
#include "ads/request/Opener.h"
#include "platform/foundation/Log.h"

namespace pennant {

namespace {

// Gives a web screen what the opener knows and starts its page.
template <typename Screen>
std::shared_ptr<Screen> prepare(std::shared_ptr<Screen> screen, const Opener& opener) {
    screen->setAllowedOrientations(opener.allowedOrientations());
    screen->setAnalytics(opener.analytics());
    if (opener.url())
        screen->load(*opener.url());
    return screen;
}

} // namespace

void ScreenDispatcher::install() {
    if (!std::dynamic_pointer_cast<ScreenDispatcher>(ActionScreens::installed()))
        ActionScreens::install(std::make_shared<ScreenDispatcher>());
}

void ScreenDispatcher::present(ModalViewController& screen, const Opener& opener) {
    screen.commandeerScreenFromAdView(opener.animationFromAdView(), opener.animation(),
                                      opener.publisherDelegate(), opener.displayedAd());
}

void ScreenDispatcher::displayBrowser(Opener& opener) {
    present(*prepare(BrowserController::create(), opener), opener);
}

std::shared_ptr<ui::ViewController> ScreenDispatcher::createFullScreenBrowser(Opener& opener) {
    return prepare(WebViewController::create(opener.transparentBackground()), opener);
}

void ScreenDispatcher::displayFullScreenBrowser(Opener& opener,
                                                const std::shared_ptr<ui::ViewController>& screen) {
    if (auto page = std::dynamic_pointer_cast<ModalViewController>(screen))
        present(*page, opener);
}

void ScreenDispatcher::displayCanvas(Opener& opener) {
    if (!opener.url()) {
        foundation::log("<Pennant> The canvas has no content URL to show.");
        return;
    }
    auto canvas = CanvasController::create(opener.transparentBackground());
    canvas->setAllowedOrientations(opener.allowedOrientations());
    canvas->setAnalytics(opener.analytics());
    canvas->presentCanvasFromView(opener.animationFromAdView(), *opener.url(), opener.title(),
                                  opener.publisherDelegate(), opener.displayedAd());
}
void ScreenDispatcher::call(Opener& opener) {
    if (auto prompt =
            ClickToCallAlert::create(opener.url(), opener.prompt(), opener.acquisitionURL()))
        prompt->show();
}

void ScreenDispatcher::addToContacts(Opener& opener) {
    if (auto prompt = ClickToContactsAlert::create(opener.contactInfo(), opener.prompt(),
                                                   opener.acquisitionURL()))
        prompt->show();
}

void ScreenDispatcher::displayVideoPlayer(Opener& opener) {
    opener.logNotAvailable("the video player");
}

} // namespace pennant
