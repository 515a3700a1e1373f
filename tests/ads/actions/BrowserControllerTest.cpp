#include "ads/actions/BrowserController.h"

#include "ads/request/ImageCache.h"
#include "platform/graphics/Image.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/AlertStack.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Compositor.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Toolbar.h"
#include "platform/web/WebView.h"
#include "tests/support/GoldenImage.h"
#include "tests/support/WebScreenFixture.h"

#include <gtest/gtest.h>

using graphics::Rect;
using pennant::BrowserController;

namespace {

class BrowserControllerTest : public testing_support::WebScreenFixture {
protected:
    // The toolbar's icons in the image cache, as an ad leaves them there.
    void SetUp() override {
        WebScreenFixture::SetUp();
        for (const auto name : BrowserController::kBrowserIcons) {
            const auto file = adserver::AdServer::defaultCatalogDirectory() +
                              "/static/phone/browser/" + std::string(name) + ".png";
            ASSERT_TRUE(pennant::ImageCache::sharedCache()
                            .storeImage(graphics::Image::fromFile(file), name)
                            .ok());
        }
    }
    std::shared_ptr<BrowserController> showBrowser(const std::string& address) {
        auto browser = BrowserController::create();
        browser->load(url(address));
        present(*browser);
        EXPECT_TRUE(waitFor([&] { return browser->loaded(); }))
            << address << " " << testing::PrintToString(lines);
        advance(1);
        return browser;
    }
    static std::string title(const BrowserController& browser) {
        return browser.topToolbar()->topItem()->title();
    }
    // back, forward, stop-or-reload, action: the toolbar's buttons without its spaces.
    static std::vector<std::shared_ptr<ui::BarButtonItem>> buttons(const BrowserController& b) {
        auto items = b.bottomToolbar()->items();
        std::erase_if(items, [](const auto& item) { return item->isFlexibleSpace(); });
        return items;
    }
    static bool waitUntilIdle(BrowserController& browser) {
        return waitFor([&] { return !browser.webView()->isLoading(); });
    }
};

} // namespace

TEST_F(BrowserControllerTest, BarsTakeAShareOfTheScreenHeightAndThePageTheRest) {
    EXPECT_EQ(BrowserController::barHeight(480), 44);
    EXPECT_EQ(BrowserController::barHeight(460), 42);
    EXPECT_EQ(BrowserController::barHeight(320), 29);

    auto browser = BrowserController::create();
    present(*browser);
    EXPECT_EQ(browser->webView()->frame(), Rect(0, 44, 320, 392));
    EXPECT_EQ(browser->topToolbar()->frame(), Rect(0, 0, 320, 44));
    EXPECT_EQ(browser->bottomToolbar()->frame(), Rect(0, 436, 320, 44));
}

TEST_F(BrowserControllerTest, TheBarsFollowThePage) {
    auto browser = BrowserController::create();
    delay("/static/phone/landing/kessa.html", 1);
    browser->load(url(page("kessa.html")));
    present(*browser);
    // While the first page loads: no title, a spinner in the title bar and a stop button.
    ASSERT_TRUE(waitFor([&] { return browser->spinner() != nullptr; }));
    EXPECT_EQ(title(*browser), "");
    EXPECT_EQ(buttons(*browser)[2]->systemItem(), ui::BarButtonSystemItem::Stop);

    ASSERT_TRUE(waitFor([&] { return browser->loaded(); }));
    EXPECT_EQ(title(*browser), "Kessa Pro");
    EXPECT_FALSE(browser->spinner());
    EXPECT_EQ(buttons(*browser)[2]->systemItem(), ui::BarButtonSystemItem::Refresh);
    EXPECT_FALSE(buttons(*browser)[0]->isEnabled());
    EXPECT_FALSE(buttons(*browser)[1]->isEnabled());

    browser->webView()->stringByEvaluatingJavaScriptFromString("location.href = '" +
                                                               page("garden.html") + "'");
    ASSERT_TRUE(waitFor([&] { return title(*browser) == "Green Thumb"; }));
    EXPECT_TRUE(buttons(*browser)[0]->isEnabled());
    EXPECT_TRUE(buttons(*browser)[0]->perform()); // back
    ASSERT_TRUE(waitFor([&] { return title(*browser) == "Kessa Pro"; }));
    EXPECT_FALSE(buttons(*browser)[0]->isEnabled());
    EXPECT_TRUE(buttons(*browser)[1]->isEnabled());
}

TEST_F(BrowserControllerTest, TheActionMenuOpensThePageOutsideOrMailsItsLink) {
    auto browser = showBrowser(page("kessa.html"));
    buttons(*browser)[3]->perform();
    auto sheet = std::dynamic_pointer_cast<ui::ActionSheet>(ui::AlertStack::shared().top());
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->buttonTitles(),
              (std::vector<std::string>{"Launch Safari", "Email link", "Cancel"}));

    browser->clickedButtonAtIndex(*sheet, 2); // cancel
    browser->clickedButtonAtIndex(*sheet, 0);
    browser->clickedButtonAtIndex(*sheet, 1);
    advance(0.5);
    EXPECT_EQ(opened,
              (std::vector<std::string>{
                  page("kessa.html"),
                  "mailto:?subject=Kessa%20Pro&body=http%3A%2F%2Fstatic.pennant.test%2Fstatic%2F"
                  "phone%2Flanding%2Fkessa.html"}));
    sheet->dismissWithClickedButtonIndex(2, false);
}

TEST_F(BrowserControllerTest, DoneClosesTheBrowserAndGivesTheScreenBack) {
    auto browser = showBrowser("about:blank");
    EXPECT_TRUE(testing_support::GoldenImage::committed().matches(*ui::Compositor::renderScreen(),
                                                                  "browser-blank-page"));
    browser->topToolbar()->topItem()->leftBarButtonItem()->perform();
    advance(2);
    EXPECT_FALSE(pennant::ModalViewController::onScreenModalViewController());
    EXPECT_TRUE(hostWindow->isKeyWindow());
    EXPECT_EQ(delegate->events, (std::vector<std::string>{"will present", "did dismiss"}));
}
