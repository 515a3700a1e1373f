#pragma once

#include "ads/actions/ModalViewController.h"
#include "ads/actions/ScreenDispatcher.h"
#include "ads/request/Delegate.h"
#include "ads/request/Opener.h"
#include "adserver/AdServer.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/URL.h"
#include "platform/net/HostMap.h"
#include "platform/ui/Application.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"
#include "tests/support/SandboxHome.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace testing_support {

// The client's screens as openers reach them, with every hand-over written down; the browser
// and the full-screen page are the real ones, the rest only recorded.
class RecordingScreens : public pennant::ScreenDispatcher {
public:
    void displayBrowser(pennant::Opener& opener) override {
        record("browser", opener);
        ScreenDispatcher::displayBrowser(opener);
    }
    void displayCanvas(pennant::Opener& opener) override { record("canvas", opener); }
    void call(pennant::Opener& opener) override {
        record(opener.prompt() ? "call asking" : "call without asking", opener);
    }
    void addToContacts(pennant::Opener& opener) override {
        record(opener.prompt() ? "contact asking" : "contact without asking", opener);
    }
    void displayVideoPlayer(pennant::Opener& opener) override { record("movie", opener); }

    std::vector<std::string> handed;

private:
    void record(const std::string& what, const pennant::Opener& opener) {
        handed.push_back(what + " " + (opener.url() ? opener.url()->absoluteString() : ""));
    }
};

struct HostDelegate : pennant::Delegate {
    std::string publisherId() override { return "a1b2c3d4e5f6a7b"; }
    void willPresentFullScreenModal() override { events.push_back("will present"); }
    void didDismissFullScreenModal() override { events.push_back("did dismiss"); }
    std::vector<std::string> events;
};

// A web screen's world: a sandbox home on the virtual clock, the ad network with the client's
// hosts pointed at it (pages reach every .test host through it), the host's window with a
// banner, and what the application hands to the system, the openers to the screens and the
// client to the log.
class WebScreenFixture : public SandboxHome {
protected:
    static constexpr foundation::Seconds kBound{20};

    void SetUp() override {
        SandboxHome::SetUp();
        ASSERT_TRUE(server.start().ok());
        for (const char* host : {"ads.pennant.test", "static.pennant.test"})
            net::HostMap::shared().map(host, "127.0.0.1", server.port());
        pennant::ActionScreens::install(screens);
        auto& application = ui::Application::shared();
        application.setOpenURLHandler([this](const foundation::URL& url) {
            opened.push_back(url.absoluteString());
            return true;
        });
        hostWindow = ui::Window::create(ui::Screen::main().bounds());
        banner = ui::View::create(graphics::Rect(0, 432, 320, 48));
        hostWindow->addSubview(banner);
        hostWindow->makeKeyAndVisible();
    }
    void TearDown() override {
        while (auto top = pennant::ModalViewController::onScreenModalViewController()) {
            top->relinquishScreen();
            advance(2);
        }
        pennant::ActionScreens::install(nullptr);
        net::HostMap::shared().clear();
        server.stop();
        SandboxHome::TearDown();
    }

    static std::string page(const std::string& name) {
        return "http://static.pennant.test/static/phone/landing/" + name;
    }
    static foundation::URL url(const std::string& text) {
        return foundation::URL::create(text).value();
    }
    static void advance(double seconds) {
        foundation::RunLoop::main().runFor(foundation::Seconds(seconds));
    }
    template <typename Condition>
    static bool waitFor(Condition condition) {
        return foundation::RunLoop::main().runUntil(condition, kBound);
    }
    // Presents the screen from the banner with the backdrop, as a banner tap does.
    void present(pennant::ModalViewController& screen) {
        screen.commandeerScreenFromAdView(banner, pennant::ModalViewController::kBackdrop,
                                          delegate);
    }
    // The next answer for the path comes only after the delay, in real time.
    void delay(const std::string& path, double seconds) {
        adserver::FaultPlan::Rule rule;
        rule.path = path;
        rule.kind = adserver::FaultPlan::Kind::Delay;
        rule.delaySeconds = seconds;
        ASSERT_TRUE(server.faults().add(rule).ok());
    }
    std::vector<adserver::Journal::Entry> requestsTo(const std::string& path) {
        auto all = server.journal().entries();
        std::erase_if(all, [&](const auto& entry) { return entry.path != path; });
        return all;
    }

    adserver::AdServer server{adserver::AdServer::Options{}};
    std::shared_ptr<RecordingScreens> screens = std::make_shared<RecordingScreens>();
    std::shared_ptr<HostDelegate> delegate = std::make_shared<HostDelegate>();
    std::shared_ptr<ui::Window> hostWindow;
    std::shared_ptr<ui::View> banner;
    std::vector<std::string> opened;
    std::vector<std::string> lines;
    foundation::Subscription sink =
        foundation::Log::addSink([this](const std::string& line) { lines.push_back(line); });
};

} // namespace testing_support
