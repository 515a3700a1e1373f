#include "ads/render/TouchForwardingView.h"
#include "platform/ui/Application.h"
#include "platform/ui/Window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using graphics::Rect;
using ui::Touch;

namespace {
class Log : public ui::View {
    UI_CREATABLE(Log)
    void touchesBegan(const ui::TouchSet&, const ui::Event&) override { seen.push_back("began"); }
    void touchesMoved(const ui::TouchSet&, const ui::Event&) override { seen.push_back("moved"); }
    void touchesEnded(const ui::TouchSet&, const ui::Event&) override { seen.push_back("ended"); }
    void touchesCancelled(const ui::TouchSet&, const ui::Event&) override {
        seen.push_back("cancelled");
    }
    std::vector<std::string> seen;

protected:
    explicit Log(const Rect& frame) : View(frame) {}
};
} // namespace

TEST(TouchForwardingView, EveryPhaseGoesToTheDelegateAndNotUpTheChain) {
    auto window = ui::Window::create(Rect(0, 0, 320, 480));
    window->makeKeyAndVisible();
    auto superview = Log::create(Rect(0, 0, 320, 100));
    auto delegate = Log::create(Rect());
    window->addSubview(superview);
    auto forwarding = pennant::TouchForwardingView::create(Rect(0, 0, 320, 100), delegate);
    superview->addSubview(forwarding);
    for (auto phase : {Touch::Phase::Began, Touch::Phase::Moved, Touch::Phase::Ended,
                       Touch::Phase::Began, Touch::Phase::Cancelled})
        ui::Application::shared().sendTouch(int(phase), {10, 10}, 0);
    EXPECT_EQ(delegate->seen,
              (std::vector<std::string>{"began", "moved", "ended", "began", "cancelled"}));
    EXPECT_TRUE(superview->seen.empty());
}
