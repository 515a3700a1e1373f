#include "ads/render/TouchRecordingElement.h"
#include "ads/render/FlexTimeBase.h"
#include "ads/render/ImageView.h"
#include "ads/render/LabelView.h"
#include "ads/render/PlainView.h"
#include "platform/foundation/Dictionary.h"
#include "platform/ui/Application.h"
#include "platform/ui/Window.h"

#include "tests/support/FixedTimeBase.h"
#include "tests/support/TouchLogView.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using graphics::Rect;
using ui::Touch;
using Strings = std::vector<std::string>;

namespace {

class Recording : public ::testing::Test {
protected:
    void SetUp() override {
        window = ui::Window::create(Rect(0, 0, 320, 480));
        window->makeKeyAndVisible();
        chainEnd = testing_support::TouchLogView::create(Rect(0, 100, 320, 48));
        window->addSubview(chainEnd);
    }
    void touch(Touch::Phase phase, float x, float y) {
        ui::Application::shared().sendTouch(int(phase), {x, y}, 0);
    }
    static Strings touches(const pennant::FlexAdViewProtocol& view) {
        Strings records;
        const auto reported = view.userInteractionHistory();
        for (const auto& record : reported->asDictionary().get("touches").asArray())
            records.emplace_back(record.asString());
        return records;
    }

    std::shared_ptr<ui::Window> window;
    std::shared_ptr<testing_support::TouchLogView> chainEnd;
    std::shared_ptr<testing_support::FixedTimeBase> clock =
        std::make_shared<testing_support::FixedTimeBase>();
};

} // namespace

TEST_F(Recording, ALabelRecordsStartsAndEndsOnTheContainersClock) {
    auto label = pennant::LabelView::create(Rect(10, 5, 100, 30));
    chainEnd->addSubview(label);
    EXPECT_FALSE(label->userInteractionHistory()) << "nothing to report before a touch";
    label->setContainerView(clock);

    clock->seconds = 1.5;
    touch(Touch::Phase::Began, 20.4, 110);
    touch(Touch::Phase::Moved, 30, 112);
    clock->seconds = 1.75;
    touch(Touch::Phase::Ended, 30, 112);
    clock->seconds = 3;
    touch(Touch::Phase::Began, 60, 120);
    touch(Touch::Phase::Cancelled, 60, 120);
    touch(Touch::Phase::Began, 60, 120);
    touch(Touch::Phase::Ended, 61.6, 121);
    EXPECT_EQ(touches(*label), (Strings{"0,10,5,1.500000", "1,20,7,1.750000", "0,50,15,3.000000",
                                        "0,50,15,3.000000", "1,52,16,3.000000"}));
    // Every touch travels on to the container, moved and cancelled ones untouched.
    EXPECT_EQ(chainEnd->seen,
              (Strings{"began", "moved", "ended", "began", "cancelled", "began", "ended"}));
}

TEST_F(Recording, ImageAndPlainElementsRecordTooAndWithoutAContainerTimeIsZero) {
    const std::vector<std::shared_ptr<ui::View>> views{
        pennant::ImageView::create(Rect(0, 0, 50, 48)),
        pennant::PlainView::create(Rect(0, 0, 50, 48))};
    for (const auto& view : views) {
        chainEnd->addSubview(view);
        touch(Touch::Phase::Began, 5, 105);
        touch(Touch::Phase::Ended, 5, 105);
        view->removeFromSuperview();
        EXPECT_EQ(touches(dynamic_cast<pennant::FlexAdViewProtocol&>(*view)),
                  (Strings{"0,5,5,0.000000", "1,5,5,0.000000"}))
            << view->className();
    }
}
