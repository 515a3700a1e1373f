#include "platform/ui/StatusBarWindow.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Application.h"
#include "platform/ui/Compositor.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

#include <gtest/gtest.h>

using namespace ui;
using graphics::Color;
using graphics::Rect;

namespace {

class StatusBar : public ::testing::Test {
protected:
    void SetUp() override {
        window = shown(Rect(0, 0, 320, 480), Window::kLevelNormal);
        window->setBackgroundColor(Color::blackColor());
        window->makeKeyAndVisible();
    }
    static std::shared_ptr<Window> shown(const Rect& frame, float level) {
        auto w = Window::create(frame);
        w->setWindowLevel(level);
        w->setHidden(false);
        return w;
    }
    static float redAt(float x, float y) { return Compositor::renderScreen()->colorAt(x, y).red(); }

    std::shared_ptr<Window> window;
};

struct Counting : Window {
    UI_CREATABLE(Counting)
    int* count = nullptr;
    void touchesBegan(const TouchSet&, const Event&) override { ++*count; }

protected:
    explicit Counting(const Rect& frame) : Window(frame) {}
};

} // namespace

TEST_F(StatusBar, IsAWindowOnScreenBetweenNormalAndAlertWindowsButNotTheApplications) {
    auto& application = Application::shared();
    auto bar = application.statusBarWindow();
    ASSERT_TRUE(std::dynamic_pointer_cast<StatusBarWindow>(bar));
    EXPECT_EQ(bar->windowLevel(), Window::kLevelStatusBar);
    EXPECT_EQ(bar->frame(), Rect(0, 0, 320, 20));
    auto alert = shown(Rect(0, 0, 320, 40), Window::kLevelAlert);
    using List = std::vector<std::shared_ptr<Window>>;
    EXPECT_EQ(application.screenWindows(), (List{window, bar, alert}));
    EXPECT_EQ(application.windows(), (List{window, alert}));

    application.setStatusBarHidden(true);
    EXPECT_TRUE(bar->isHidden());
    EXPECT_EQ(application.screenWindows(), (List{window, alert}));
    application.setStatusBarHidden(false);
    application.setStatusBarOrientation(2);
    EXPECT_FALSE(bar->isHidden());
    EXPECT_EQ(bar->frame(), Rect(0, 460, 320, 20));
}

TEST_F(StatusBar, NeverTakesTouchesOrKeyStatus) {
    int touched = 0;
    auto counting = Counting::create(Rect(0, 0, 320, 480));
    counting->count = &touched;
    counting->makeKeyAndVisible();
    Application::shared().sendTouch(int(Touch::Phase::Began), {160, 10}, 0);
    Application::shared().sendTouch(int(Touch::Phase::Ended), {160, 10}, 0);
    EXPECT_EQ(touched, 1) << "a touch on the bar reaches the window below";

    counting->setHidden(true);
    window->setHidden(true);
    EXPECT_EQ(Application::shared().keyWindow(), nullptr)
        << "key status does not pass to the bar, the last window left";
}

TEST_F(StatusBar, DrawsAtTheTopOrBottomButNotAlongALongSide) {
    auto& application = Application::shared();
    EXPECT_GT(redAt(160, 2), 0.3f);
    application.setStatusBarOrientation(2);
    EXPECT_GT(redAt(160, 470), 0.3f);
    EXPECT_LT(redAt(160, 2), 0.02f);
    application.setStatusBarOrientation(3);
    EXPECT_LT(redAt(310, 240), 0.02f);
}

namespace {

// A screen that turns to landscape only.
class LandscapeController : public ViewController {
    UI_CREATABLE(LandscapeController)
    bool shouldAutorotateToInterfaceOrientation(int orientation) const override {
        return orientation == 3 || orientation == 4;
    }

protected:
    LandscapeController() = default;
};

} // namespace

TEST_F(StatusBar, TurnsWithTheDeviceOnlyWhenTheFrontmostControllerAgrees) {
    auto& application = Application::shared();
    int heard = 0;
    auto observer = foundation::NotificationCenter::defaultCenter().addObserver(
        Application::kDidChangeStatusBarOrientationNotification, nullptr,
        [&](const foundation::Notification&) { ++heard; });
    // A window without a controller, then a portrait-only one: nothing turns.
    application.deviceOrientationDidChange(3);
    auto portrait = ViewController::create();
    window->addSubview(portrait->view());
    application.deviceOrientationDidChange(3);
    EXPECT_EQ(application.statusBarOrientation(), 1);

    auto front = shown(Rect(0, 0, 320, 480), Window::kLevelNormal);
    auto landscape = LandscapeController::create();
    front->addSubview(landscape->view());
    front->makeKeyAndVisible();
    application.deviceOrientationDidChange(4);
    EXPECT_EQ(application.statusBarOrientation(), 4);
    application.deviceOrientationDidChange(1);
    EXPECT_EQ(application.statusBarOrientation(), 4);
    EXPECT_EQ(heard, 1);
}
