#include "ads/actions/CanvasController.h"

#include "platform/web/WebView.h"
#include "tests/support/WebScreenFixture.h"

#include <gtest/gtest.h>

using graphics::Rect;
using pennant::CanvasController;

namespace {

constexpr const char* kContent = "http://static.pennant.test/static/phone/ads/kessa-canvas.html";

class CanvasControllerTest : public testing_support::WebScreenFixture {
protected:
    std::shared_ptr<CanvasController> showCanvas(const std::string& title) {
        auto canvas = CanvasController::create();
        canvas->presentCanvasFromView(banner, url(kContent), title, delegate);
        return canvas;
    }
    std::string received(CanvasController& canvas, int index) {
        return canvas.webView()->stringByEvaluatingJavaScriptFromString(
            "pennant.received[" + std::to_string(index) + "]");
    }
    // Gone from the stack, and its exit animation over.
    bool waitUntilGone() {
        const bool gone =
            waitFor([] { return !pennant::ModalViewController::onScreenModalViewController(); });
        advance(2);
        return gone;
    }
    void answerCanvasPageWith(adserver::FaultPlan::Kind kind, const std::string& body = {}) {
        adserver::FaultPlan::Rule rule;
        rule.path = "/static/phone/canvas.html";
        rule.kind = kind;
        rule.body = body;
        ASSERT_TRUE(server.faults().add(rule).ok());
    }
};

} // namespace

TEST_F(CanvasControllerTest, ThePageReceivesExactlyTheTitleAndTheTaggedURL) {
    // Plain titles give the script they always gave.
    EXPECT_EQ(CanvasController::callbackScript("http://a.test/x#sdk", "Kessa Pro"),
              "cb('http://a.test/x#sdk', 'Kessa Pro')");
    EXPECT_EQ(CanvasController::callbackScript("http://a.test/it's", "It's New"),
              "cb('http://a.test/it\\'s', 'It\\'s New')");

    const std::string title = "It's \"new\" \\ improved\nnow\u2028too";
    auto canvas = showCanvas(title);
    ASSERT_TRUE(waitFor([&] { return canvas->loaded(); }));
    EXPECT_EQ(received(*canvas, 0), std::string(kContent) + "#sdk");
    EXPECT_EQ(received(*canvas, 1), title);
    EXPECT_EQ(canvas->webView()->frame(), Rect(0, 92.5f, 320, 295));
    EXPECT_EQ(delegate->events, std::vector<std::string>{"will present"});
}

TEST_F(CanvasControllerTest, TheFrameIsCentredInLandscapeToo) {
    ui::Application::shared().setStatusBarOrientation(3);
    auto canvas = CanvasController::create();
    canvas->loadViewWithBounds({});
    ui::Application::shared().setStatusBarOrientation(1);
    EXPECT_EQ(canvas->webView()->frame(), Rect(80, 12.5f, 320, 295));
}

TEST_F(CanvasControllerTest, APageThatIsNotOursClosesTheCanvasWithoutAWord) {
    answerCanvasPageWith(adserver::FaultPlan::Kind::Body,
                         "<html><body><script>function cb() {}</script></body></html>");
    auto canvas = showCanvas("Kessa Pro");
    ASSERT_TRUE(waitUntilGone());
    EXPECT_FALSE(canvas->failAlert());
    EXPECT_EQ(delegate->events, (std::vector<std::string>{"will present", "did dismiss"}));
}

TEST_F(CanvasControllerTest, ACanvasPageThatFailsToLoadClosesTheCanvasWithoutAWord) {
    // Without the ad network as the pages' proxy, its host name leads nowhere.
    net::HostMap::shared().clear();
    auto canvas = showCanvas("Kessa Pro");
    ASSERT_TRUE(waitUntilGone());
    EXPECT_FALSE(canvas->failAlert());
    EXPECT_EQ(delegate->events, (std::vector<std::string>{"will present", "did dismiss"}));
}

TEST_F(CanvasControllerTest, ThePagesButtonsAskToCallOpenAPageAndClose) {
    auto canvas = showCanvas("Kessa Pro");
    ASSERT_TRUE(waitFor([&] { return canvas->loaded(); }));
    advance(1);
    for (const char* button : {"call", "launch"})
        canvas->webView()->stringByEvaluatingJavaScriptFromString(
            std::string("document.getElementById('") + button + "').click()");
    advance(0.5);
    ASSERT_GE(screens->handed.size(), 2u);
    EXPECT_EQ(screens->handed[0], "call asking tel:5550123");
    EXPECT_EQ(screens->handed[1],
              "browser http://static.pennant.test/static/phone/landing/kessa.html");

    // The browser went over the canvas; once it goes, the canvas closes itself.
    pennant::ModalViewController::onScreenModalViewController()->relinquishScreen();
    advance(2);
    canvas->webView()->stringByEvaluatingJavaScriptFromString(
        "document.getElementById('close').click()");
    ASSERT_TRUE(waitUntilGone());
    EXPECT_EQ(delegate->events, (std::vector<std::string>{"will present", "did dismiss"}));
}
