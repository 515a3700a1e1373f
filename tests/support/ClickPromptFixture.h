#pragma once

#include "ads/request/Localizer.h"
#include "ads/request/Opener.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/SandboxHome.h"
#include "tests/support/ScreenTap.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

// The call and contact prompts' world: a sandbox home on the virtual clock, the ad server for
// pings and pictures, the log, and what the application hands to the system (with the opener
// downloads still in flight at that moment).
class ClickPromptFixture : public SandboxHome {
protected:
    static constexpr foundation::Seconds kBound{20};

    void SetUp() override {
        SandboxHome::SetUp();
        server.emplace();
        // The server starts on the real clock; HTTP work in flight keeps the virtual one from
        // jumping past it.
        foundation::RunLoop::main().setClock(clock);
        ui::Application::shared().setOpenURLHandler([this](const foundation::URL& url) {
            opened.push_back(url.absoluteString());
            inFlightWhenOpened.push_back(pennant::Opener::activeDownloadCount());
            return true;
        });
    }
    void TearDown() override {
        server.reset();
        SandboxHome::TearDown();
    }

    // The shipped French table, as if downloaded at an earlier launch.
    void useFrenchTexts() {
        setLanguage("fr");
        const auto cached = pennant::Localizer::sharedLocalizer().stringsPathForLanguage("fr");
        ASSERT_TRUE(cached);
        std::filesystem::create_directories(std::filesystem::path(*cached).parent_path());
        std::filesystem::copy_file(adserver::AdServer::defaultCatalogDirectory() +
                                       "/static/phone/i18n/20091119/fr.strings",
                                   *cached);
    }
    static void advance(double seconds) {
        foundation::RunLoop::main().runFor(foundation::Seconds(seconds));
    }
    static bool waitFor(const std::function<bool()>& predicate) {
        return foundation::RunLoop::main().runUntil(predicate, kBound);
    }
    // Taps the button once the alert has come in, and lets it go away.
    static void tap(const ui::AlertView& alert, int index) {
        advance(1);
        ScreenTap::on(alert, alert.rectForButton(index));
        advance(1);
    }
    std::size_t requestsTo(const std::string& path) {
        const auto all = server->requests();
        return std::size_t(
            std::ranges::count_if(all, [&](const auto& e) { return e.path == path; }));
    }
    bool logged(const std::string& line) const { return std::ranges::count(lines, line) > 0; }

    std::optional<LoopbackServer> server;
    std::vector<std::string> lines;
    foundation::Subscription sink =
        foundation::Log::addSink([this](const std::string& line) { lines.push_back(line); });
    std::vector<std::string> opened;
    std::vector<int> inFlightWhenOpened;
};

} // namespace testing_support
