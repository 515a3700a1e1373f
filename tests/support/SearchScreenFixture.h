#pragma once

#include "ads/search/SearchBar.h"
#include "ads/search/SearchViewController.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/Device.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Screen.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"
#include "tests/support/CatalogAds.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace testing_support {

// The host's screen: it turns to any orientation, so the search screen may too.
class TurningHostController : public ui::ViewController {
    UI_CREATABLE(TurningHostController)
    bool shouldAutorotateToInterfaceOrientation(int) const override { return true; }

protected:
    TurningHostController() = default;
};

// The catalogue's search ad on a 320 x 48 banner at the bottom of the host's screen, and its
// search screen opened from that banner.
class SearchScreenFixture : public CatalogAds {
protected:
    static constexpr float kBarHeight = 48;

    void SetUp() override {
        CatalogAds::SetUp();
        auto& application = ui::Application::shared();
        application.setStatusBarHidden(false);
        application.setStatusBarOrientation(1);
        ui::Device::current().setOrientation(1);
        hostWindow = ui::Window::create(ui::Screen::main().bounds());
        host_ = TurningHostController::create();
        host_->view()->setFrame(ui::Screen::main().applicationFrame());
        hostWindow->addSubview(host_->view());
        banner = ui::View::create(graphics::Rect(0, 412, 320, kBarHeight));
        host_->view()->addSubview(banner);
        hostWindow->makeKeyAndVisible();
        ad = load("web-search");
    }
    void TearDown() override {
        advance(2);
        while (auto top = pennant::ModalViewController::onScreenModalViewController()) {
            top->relinquishScreen();
            advance(2);
        }
        ui::Keyboard::shared().hide();
        advance(1);
        CatalogAds::TearDown();
    }

    // Opens the screen as the banner's controller does and waits until the keyboard is up.
    std::shared_ptr<pennant::SearchViewController>
    open(std::optional<std::string> suggestionUrl = std::nullopt,
         std::optional<std::string> webpageURL = std::nullopt) {
        auto screen = pennant::SearchViewController::create();
        screen->setSearchBarHeight(kBarHeight);
        screen->setTileImage(ad->userImage());
        screen->setSuggestionUrl(suggestionUrl ? suggestionUrl : ad->suggestionUrl());
        screen->setPlaceholderText(ad->searchPlaceholder().value_or(""));
        screen->setWebpageURL(std::move(webpageURL));
        screen->presentFromView(banner, ad, host);
        advance(2);
        return screen;
    }
    static void advance(double seconds) {
        foundation::RunLoop::main().runFor(foundation::Seconds(seconds));
    }
    static void type(const std::string& text) {
        for (char c : text)
            ui::Keyboard::shared().typeText(std::string(1, c));
    }
    // Until every suggestion request of the screen has answered.
    static void settle(const pennant::SearchViewController& screen) {
        EXPECT_TRUE(foundation::RunLoop::main().runUntil(
            [&] { return screen.activeSuggestionDownloadCount() == 0; }, kBound));
    }
    std::vector<adserver::Journal::Entry> requestsTo(const std::string& path) {
        auto all = server.requests();
        std::erase_if(all, [&](const auto& entry) { return entry.path != path; });
        return all;
    }

    std::shared_ptr<ui::Window> hostWindow;
    std::shared_ptr<TurningHostController> host_;
    std::shared_ptr<ui::View> banner;
    std::shared_ptr<pennant::Ad> ad;
};

} // namespace testing_support
