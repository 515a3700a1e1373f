#include "platform/web/WebView.h"

#include "adserver/AdServer.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/RunLoop.h"
#include "platform/web/WebViewDelegate.h"
#include "tests/support/ScratchDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using foundation::Seconds;
using web::NavigationType;
using web::WebRequest;
using web::WebView;

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
        events.push_back("finished " + view.stringByEvaluatingJavaScriptFromString("document.title"));
    }
    void didFailLoad(WebView&, const foundation::Error& error) override {
        events.push_back("failed " + error.domain + " " + std::to_string(error.code));
    }

    std::string refusedScheme;
    std::vector<std::string> asked;
    std::vector<std::string> events;
};

class WebViewTest : public ::testing::Test {
protected:
    void SetUp() override {
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

    static inline const std::vector<std::pair<std::string, std::string>> kPages = {
        {"hello.html", "<html><head><title>Hello</title></head><body>hi</body></html>"},
        {"retitled.html",
         "<html><head><title>Before</title><script>document.title = 'After ' + (6 * 7);"
         "</script></head><body></body></html>"},
    };

    std::unique_ptr<adserver::AdServer> server_;
    std::shared_ptr<RecordingDelegate> delegate_ = std::make_shared<RecordingDelegate>();
    std::shared_ptr<WebView> view_;
};

TEST_F(WebViewTest, LoadStartsAndFinishesWithThePageTitleAsScriptsLeftIt) {
    load(page("retitled.html"));
    EXPECT_EQ(delegate_->events, (std::vector<std::string>{"started", "finished After 42"}));
    ASSERT_EQ(delegate_->asked.size(), 1u);
    EXPECT_EQ(delegate_->asked[0], page("retitled.html") + " 5");
    EXPECT_FALSE(view_->isLoading());
    ASSERT_TRUE(view_->request());
    EXPECT_EQ(view_->request()->url, page("retitled.html"));
}

} // namespace
