#include "sim/WindowTrace.h"
#include "platform/ui/Application.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

#include <gtest/gtest.h>

using foundation::Dictionary;
using foundation::Value;

TEST(WindowTrace, WindowsAreTracedWhenTheyComeAndGoWithTheControllerTheyHold) {
    auto& application = ui::Application::shared();
    std::vector<Dictionary> events;
    auto observer = application.observeWindowVisibility(
        [&](const ui::Window& window) { events.push_back(sim::WindowTrace::fields(window)); });

    auto window = ui::Window::create(graphics::Rect(0, 0, 320, 480));
    auto controller = ui::ViewController::create();
    window->addSubview(ui::View::create());
    window->addSubview(controller->view());
    window->setWindowLevel(ui::Window::kLevelAlert);
    window->makeKeyAndVisible();
    window->makeKeyAndVisible();
    application.setStatusBarHidden(true);
    window->setHidden(true);

    auto bare = ui::Window::create();
    bare->setHidden(false);

    const Value alert = Value::number(ui::Window::kLevelAlert);
    ASSERT_EQ(events.size(), 3u) << "once per change, and the system's status bar is not ours";
    EXPECT_EQ(events[0],
              (Dictionary{{"event", "shown"}, {"level", alert}, {"controller", "ViewController"}}));
    EXPECT_EQ(
        events[1],
        (Dictionary{{"event", "hidden"}, {"level", alert}, {"controller", "ViewController"}}));
    EXPECT_EQ(events[2], (Dictionary{{"event", "shown"}, {"level", Value::number(0)}}));
}
