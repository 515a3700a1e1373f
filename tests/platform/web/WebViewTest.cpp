#include "platform/web/WebView.h"

#include "adserver/AdServer.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Image.h"
#include "platform/net/HostMap.h"
#include "platform/ui/Compositor.h"
#include "platform/ui/Touch.h"
#include "platform/web/WebContext.h"
#include "platform/web/WebViewDelegate.h"
#include "tests/support/ClosedPort.h"
#include "tests/support/ScratchDirectory.h"
#include "tests/support/VirtualClockFixture.h"

#include <gtest/gtest.h>

#include <strings.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using foundation::Seconds;
using web::NavigationType;
using web::WebRequest;
using web::WebView;

std::string header(const adserver::Journal::Entry& entry, const std::string& name) {
    for (const auto& [key, value] : entry.headers)
        if (strcasecmp(key.c_str(), name.c_str()) == 0)
            return value;
    return "";
}

// Every event a view reports, in order, as short strings.
class RecordingDelegate : public web::WebViewDelegate {
public:
    std::optional<bool> shouldStartLoad(WebView&, const WebRequest& request,
                                        NavigationType type) override {
        asked.push_back(request.url + " " + std::to_string(static_cast<int>(type)));
        if (refusedScheme.empty() || !request.url.starts_with(refusedScheme))
            return std::nullopt;
        return false;
    }
    void didStartLoad(WebView&) override { events.push_back("started"); }
    void didFinishLoad(WebView& view) override {
        events.push_back("finished " +
                         view.stringByEvaluatingJavaScriptFromString("document.title"));
    }
    void didFailLoad(WebView&, const foundation::Error& error) override {
        events.push_back("failed " + error.domain + " " + std::to_string(error.code));
    }

    std::string refusedScheme;
    std::vector<std::string> asked;
    std::vector<std::string> events;
};

class WebViewTest : public testing_support::VirtualClockFixture {
protected:
    void SetUp() override {
        VirtualClockFixture::SetUp();
        const auto catalog = testing_support::ScratchDirectory::create("web-catalog");
        std::filesystem::copy_file(adserver::AdServer::defaultCatalogDirectory() + "/ads.json",
                                   catalog / "ads.json");
        std::filesystem::create_directories(catalog / "static" / "pages");
        for (const auto& [name, text] : kPages)
            std::ofstream(catalog / "static" / "pages" / name) << text;
        adserver::AdServer::Options options;
        options.catalogDirectory = catalog.string();
        server_ = std::make_unique<adserver::AdServer>(options);
        ASSERT_TRUE(server_->start());
        view_ = WebView::create(graphics::Rect(0, 0, 320, 480));
        view_->setDelegate(delegate_);
    }

    std::string page(const std::string& name) const {
        return server_->baseURL() + "/static/pages/" + name;
    }

    // Loads and waits for the load's last word.
    void load(const std::string& url) {
        const auto before = delegate_->events.size();
        view_->loadRequest({url});
        waitForEvents(before + 2);
    }

    bool waitForEvents(std::size_t count) {
        return foundation::RunLoop::main().runUntil(
            [&] { return delegate_->events.size() >= count; }, Seconds(20));
    }

    void tap(graphics::Point point) {
        const ui::TouchSet touches{std::make_shared<ui::Touch>(nullptr, point, 0)};
        view_->touchesBegan(touches, {0, touches});
        view_->touchesEnded(touches, {0, touches});
    }

    std::string evaluate(const std::string& script) {
        return view_->stringByEvaluatingJavaScriptFromString(script);
    }

    void delay(const std::string& path, double seconds) {
        adserver::FaultPlan::Rule rule;
        rule.path = path;
        rule.kind = adserver::FaultPlan::Kind::Delay;
        rule.delaySeconds = seconds;
        ASSERT_TRUE(server_->faults().add(rule));
    }

    static inline const std::vector<std::pair<std::string, std::string>> kPages = {
        {"hello.html", "<html><head><title>Hello</title></head><body>hi</body></html>"},
        {"link.html", "<html><head><title>Link</title></head><body style='margin:0'>"
                      "<a href='pennant:open?ad=1' style='display:block;height:100px'>open</a>"
                      "<script>document.onclick = e => document.title = 'clicked ' + e.isTrusted;"
                      "</script></body></html>"},
        {"red.html", "<html><body style='margin:0;background:#ff0000'></body></html>"},
        {"retitled.html",
         "<html><head><title>Before</title><script>document.title = 'After ' + (6 * 7);"
         "</script></head><body></body></html>"},
    };

    std::unique_ptr<adserver::AdServer> server_;
    std::shared_ptr<RecordingDelegate> delegate_ = std::make_shared<RecordingDelegate>();
    std::shared_ptr<WebView> view_;
};

std::string describe(const web::LoadEvent& event) {
    const char* kinds[] = {"started", "finished", "failed"};
    return std::string(kinds[static_cast<int>(event.kind)]) + " " + event.url + " " + event.title +
           (event.error ? std::to_string(event.error->code) : "");
}

TEST_F(WebViewTest, LoadStartsAndFinishesWithThePageTitleAsScriptsLeftIt) {
    std::vector<std::string> observed;
    auto subscription = web::WebContext::shared().addLoadObserver(
        [&](const web::LoadEvent& event) { observed.push_back(describe(event)); });
    load(page("retitled.html"));
    EXPECT_EQ(delegate_->events, (std::vector<std::string>{"started", "finished After 42"}));
    ASSERT_EQ(delegate_->asked.size(), 1u);
    EXPECT_EQ(delegate_->asked[0], page("retitled.html") + " 5");
    EXPECT_FALSE(view_->isLoading());
    ASSERT_TRUE(view_->request());
    EXPECT_EQ(view_->request()->url, page("retitled.html"));

    const std::string closed =
        "http://127.0.0.1:" + std::to_string(testing_support::closedPort()) + "/";
    load(closed);
    EXPECT_EQ(observed,
              (std::vector<std::string>{"started " + page("retitled.html") + " ",
                                        "finished " + page("retitled.html") + " After 42",
                                        "started " + closed + " ", "failed " + closed + " -1004"}));
    EXPECT_EQ(web::WebContext::shared().latestView(), view_);
}

} // namespace

namespace {

TEST_F(WebViewTest, TheVirtualClockWaitsForALoadInFlight) {
    delay("/static/pages/hello.html", 0.3);
    bool fired = false;
    foundation::Timer timer;
    timer.start(Seconds(0.1), false, [&] { fired = true; });
    load(page("hello.html"));
    EXPECT_EQ(delegate_->events.back(), "finished Hello");
    EXPECT_FALSE(fired);
    EXPECT_EQ(now(), kStart);
}

TEST_F(WebViewTest, FailuresCarryThePlatformCodes) {
    load("http://127.0.0.1:" + std::to_string(testing_support::closedPort()) + "/");
    EXPECT_EQ(delegate_->events.back(), "failed NSURLErrorDomain -1004");

    delay("/static/pages/hello.html", 10);
    view_->loadRequest(
        {page("hello.html"), net::CachePolicy::UseProtocolCachePolicy, Seconds(0.3)});
    ASSERT_TRUE(waitForEvents(delegate_->events.size() + 2));
    EXPECT_EQ(delegate_->events.back(), "failed NSURLErrorDomain -1001");

    delay("/static/pages/hello.html", 10);
    view_->loadRequest({page("hello.html")});
    ASSERT_TRUE(waitForEvents(delegate_->events.size() + 1));
    EXPECT_EQ(delegate_->events.back(), "started");
    view_->stopLoading();
    ASSERT_TRUE(waitForEvents(delegate_->events.size() + 1));
    EXPECT_EQ(delegate_->events.back(), "failed NSURLErrorDomain -999");
}

TEST_F(WebViewTest, TheDelegateStopsCustomSchemeNavigationsFromTapsAndScripts) {
    delegate_->refusedScheme = "pennant:";
    load(page("link.html"));
    delegate_->events.clear();
    delegate_->asked.clear();

    tap({50, 50});
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return !delegate_->asked.empty(); },
                                                     Seconds(5)));
    EXPECT_EQ(delegate_->asked.back(), "pennant:open?ad=1 0");
    EXPECT_EQ(evaluate("document.title"), "clicked true");

    evaluate("location.href = 'pennant:close'");
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return delegate_->asked.size() == 2; },
                                                     Seconds(5)));
    EXPECT_EQ(delegate_->asked.back(), "pennant:close 5");
    foundation::RunLoop::main().runUntilIdle();
    EXPECT_TRUE(delegate_->events.empty()) << delegate_->events.front();
    EXPECT_EQ(view_->request()->url, page("link.html"));
    EXPECT_FALSE(view_->isLoading());
}

TEST_F(WebViewTest, ScriptsAnswerAsStrings) {
    load(page("hello.html"));
    EXPECT_EQ(evaluate("'a' + 'b'"), "ab");
    EXPECT_EQ(evaluate("6 * 7"), "42");
    EXPECT_EQ(evaluate("0.5"), "0.5");
    EXPECT_EQ(evaluate("true"), "true");
    EXPECT_EQ(evaluate("undefined"), "");
    EXPECT_EQ(evaluate("null"), "");
    EXPECT_EQ(evaluate("throw new Error('no')"), "");
    EXPECT_EQ(evaluate("var kept = 3"), "");
    EXPECT_EQ(evaluate("kept + 1"), "4");
}

TEST_F(WebViewTest, BackForwardAndReloadAskTheDelegateWithTheirKinds) {
    load(page("hello.html"));
    load(page("retitled.html"));
    EXPECT_TRUE(view_->canGoBack());
    EXPECT_FALSE(view_->canGoForward());

    auto before = delegate_->events.size();
    view_->goBack();
    ASSERT_TRUE(waitForEvents(before + 2));
    EXPECT_EQ(delegate_->events.back(), "finished Hello");
    EXPECT_EQ(delegate_->asked.back(), page("hello.html") + " 2");
    EXPECT_TRUE(view_->canGoForward());

    before = delegate_->events.size();
    view_->goForward();
    ASSERT_TRUE(waitForEvents(before + 2));
    EXPECT_EQ(delegate_->events.back(), "finished After 42");

    before = delegate_->events.size();
    view_->reload();
    ASSERT_TRUE(waitForEvents(before + 2));
    EXPECT_EQ(delegate_->events.back(), "finished After 42");
    EXPECT_EQ(delegate_->asked.back(), page("retitled.html") + " 3");
}

TEST_F(WebViewTest, TestHostsReachTheServerWithTheClientsUserAgentAndNoOtherHostDoes) {
    web::WebContext::shared().setUserAgent("Kessa/1.0 (test)");
    net::HostMap::shared().map("static.pennant.test", "127.0.0.1", server_->port());
    load("http://static.pennant.test/static/pages/hello.html");
    EXPECT_EQ(delegate_->events.back(), "finished Hello");
    EXPECT_EQ(evaluate("navigator.userAgent"), "Kessa/1.0 (test)");
    const auto entries = server_->journal().entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].path, "/static/pages/hello.html");
    EXPECT_EQ(header(entries[0], "User-Agent"), "Kessa/1.0 (test)");
    EXPECT_EQ(header(entries[0], "Host"), "static.pennant.test");

    load("http://example.com/");
    EXPECT_EQ(evaluate("document.documentElement.innerText"), "");
    EXPECT_EQ(server_->journal().entries().size(), 1u);
}

TEST_F(WebViewTest, TheSnapshotIsDrawnWhereTheViewIs) {
    auto screen = ui::View::create(graphics::Rect(0, 0, 320, 480));
    screen->setBackgroundColor(graphics::Color(0, 0, 1, 1));
    view_->setFrame(graphics::Rect(10, 20, 100, 60));
    screen->addSubview(view_);
    load(page("red.html"));
    ASSERT_TRUE(view_->snapshot());
    EXPECT_EQ(view_->snapshot()->size(), graphics::Size(100, 60));

    const auto image = ui::Compositor::renderLayerImage(*screen->layer());
    const auto red = graphics::Color(1, 0, 0, 1), blue = graphics::Color(0, 0, 1, 1);
    EXPECT_EQ(image->colorAt(10, 20), red);
    EXPECT_EQ(image->colorAt(109, 79), red);
    EXPECT_EQ(image->colorAt(9, 20), blue);
    EXPECT_EQ(image->colorAt(110, 50), blue);
    EXPECT_EQ(image->colorAt(50, 80), blue);
}

} // namespace
