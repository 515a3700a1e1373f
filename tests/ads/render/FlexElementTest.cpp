#include "ads/render/FlexElement.h"
#include "ads/render/FlexAnimationReader.h"
#include "ads/render/PlainView.h"
#include "platform/animation/AnimationGroup.h"
#include "platform/animation/Layer.h"
#include "tests/ads/render/JSONText.h"
#include "tests/support/VirtualClockFixture.h"

#include <gtest/gtest.h>

using graphics::Rect;
using testing_support::JSONText;

namespace {

class FlexElementTest : public testing_support::VirtualClockFixture {
protected:
    float opacityAfter(double seconds) const {
        return element->layer()->presentationAt(appearedAt + seconds).opacity;
    }

    std::shared_ptr<pennant::PlainView> element = pennant::PlainView::create(Rect(0, 0, 10, 10));
    double appearedAt = 0;
};

} // namespace

// A group that begins late counts its delay from the element's first appearance, so an ad
// plays alike whenever on the clock it is first shown.
TEST_F(FlexElementTest, AGroupBeginTimeCountsFromTheFirstAppearance) {
    element->setAnimation(pennant::FlexAnimationReader::animationGroupFromArray(
        JSONText::decode(R"([{"t": "B", "kp": "opacity", "vt": "F", "fv": 0.25, "tv": 0.25,
                              "d": 1}])"),
        JSONText::decode(R"({"bt": 0.5})")));
    advance(30);
    appearedAt = now();
    element->viewDidAppear();
    EXPECT_FLOAT_EQ(opacityAfter(0.25), 1.0f) << "not begun yet";
    EXPECT_FLOAT_EQ(opacityAfter(1), 0.25f);
    EXPECT_FLOAT_EQ(opacityAfter(2), 1.0f) << "over";
    EXPECT_DOUBLE_EQ(element->animation()->beginTime(), 0.5) << "the element's own stays as read";
}
