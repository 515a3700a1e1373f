#pragma once

#include "ads/actions/ModalViewController.h"
#include "ads/request/AnalyticsData.h"
#include "ads/request/Opener.h"
#include "ads/request/URLDownload.h"
#include "ads/video/VideoPlayerButton.h"
#include "ads/video/VideoScreenDispatcher.h"
#include "ads/video/VideoViewController.h"
#include "platform/ui/Application.h"
#include "platform/ui/Device.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/SandboxHome.h"
#include "tests/support/SolidImage.h"
#include "json/JSONDeserializer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace testing_support {

// A host window, the ad server with the catalogue's clips, and the video screens installed.
class VideoFixture : public SandboxHome {
protected:
    using Controller = pennant::VideoViewController;

    void SetUp() override {
        SandboxHome::SetUp();
        pennant::VideoScreenDispatcher::install();
        auto& application = ui::Application::shared();
        application.setStatusBarHidden(false);
        application.setStatusBarOrientation(1);
        ui::Device::current().setOrientation(1);
        hostWindow = ui::Window::create(ui::Screen::main().bounds());
        hostWindow->addSubview(ui::View::create(ui::Screen::main().applicationFrame()));
        hostWindow->makeKeyAndVisible();
    }
    void TearDown() override {
        advance(2);
        while (auto top = pennant::ModalViewController::onScreenModalViewController()) {
            top->relinquishScreen();
            advance(2);
        }
        SandboxHome::TearDown();
    }

    static void advance(double seconds) {
        foundation::RunLoop::main().runFor(foundation::Seconds(seconds));
    }
    static bool runUntil(const std::function<bool()>& predicate) {
        return foundation::RunLoop::main().runUntil(predicate, foundation::Seconds(30));
    }
    static std::string clipURL(const std::string& name) {
        return "http://static.pennant.test/static/video/" + name;
    }
    static foundation::Value parse(std::string_view json) {
        auto parsed = json::JSONDeserializer().deserializeAsDictionary(json);
        EXPECT_TRUE(parsed.ok()) << json;
        return parsed.ok() ? parsed.value() : foundation::Value();
    }

    std::shared_ptr<pennant::VideoPlayerButton>
    button(const std::string& action, const std::string& url, const std::string& pageName) {
        auto opener = pennant::Opener::create(
            parse(R"({"a": ")" + action + R"(", "u": ")" + url + R"("})"), {});
        opener->setOpenAnimation(3, nullptr);
        auto made = pennant::VideoPlayerButton::create(SolidImage::ofSize(30, 30), pageName,
                                                       SolidImage::ofSize(50, 50), opener);
        made->setAnalyticsPageName(pageName);
        return made;
    }
    Controller::Settings settings(bool withButtons = true) {
        Controller::Settings made;
        made.contentURL = *foundation::URL::create(clipURL("clock.mp4"));
        made.title = "Tick tock";
        made.splash = SolidImage::ofSize(120, 80);
        made.replayButtonDown = SolidImage::ofSize(100, 40);
        made.replayButtonUp = SolidImage::ofSize(100, 40);
        if (withButtons)
            made.buttons = {button("call", "tel:5550100", "call"),
                            button("movie", clipURL("second.mp4"), "second"),
                            button("call", "tel:5550101", "other")};
        return made;
    }
    std::shared_ptr<Controller> present(Controller::Settings made) {
        auto controller = Controller::create(std::move(made));
        controller->setAnalytics(std::make_shared<pennant::AnalyticsData>(
            "site-7", [] { return std::string("pub"); }, "video.test"));
        controller->commandeerScreenFromAdView(nullptr, 0, {});
        return controller;
    }
    // Until the movie plays under its overlay.
    static bool playing(const std::shared_ptr<Controller>& controller) {
        return runUntil([&] { return controller->overlay() && controller->mpWindow(); });
    }
    static bool closed(const std::shared_ptr<Controller>& controller) {
        const auto window = controller->modalWindow();
        return runUntil([&] {
            const auto shown = ui::Application::shared().windows();
            return pennant::ModalViewController::onScreenModalViewController() != controller &&
                   std::ranges::count(shown, window) == 0;
        });
    }

    // The analytics visits received, each as its query parameters.
    std::vector<foundation::Dictionary> visits() {
        std::vector<foundation::Dictionary> found;
        for (const auto& entry : server.requests())
            if (entry.method == "POST" && entry.body.find("rt=1&ex=1") == 0)
                found.push_back(pennant::URLDownload::dictionaryFromQueryString(entry.body));
        return found;
    }
    // In the order they were recorded; visits sent at the same moment race each other to the
    // server, so those are taken by name.
    std::vector<std::string> visitNames() {
        advance(1);
        std::vector<std::pair<std::string, std::string>> timed;
        for (const auto& visit : visits()) {
            std::string name = visit.get("p").stringValue();
            for (const char* key : {"startvisit", "event"})
                if (visit.contains(key))
                    name += std::string(" ") + key + "=" + visit.get(key).stringValue();
            timed.emplace_back(visit.get("z").stringValue(), name);
        }
        std::ranges::sort(timed);
        std::vector<std::string> names;
        for (auto& [time, name] : timed)
            names.push_back(std::move(name));
        return names;
    }

    LoopbackServer server;
    std::shared_ptr<ui::Window> hostWindow;
};

} // namespace testing_support
