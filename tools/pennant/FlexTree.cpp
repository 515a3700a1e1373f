#include "tools/pennant/FlexTree.h"

#include "ads/render/FlexAdViewProtocol.h"
#include "ads/render/PagingScrollView.h"
#include "platform/animation/AnimationGroup.h"
#include "platform/animation/BasicAnimation.h"
#include "platform/animation/KeyframeAnimation.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/View.h"

#include <cmath>
#include <fmt/format.h>

namespace tool {

namespace {

using foundation::Value;

// JSON has no infinity, and a description may ask for endless repeats.
Value number(double x) { return std::isfinite(x) ? Value::number(x) : Value(fmt::format("{}", x)); }

Value rect(const graphics::Rect& r) {
    return Value::Array{number(r.origin.x), number(r.origin.y), number(r.size.width),
                        number(r.size.height)};
}

const char* kindOf(const animation::Animation& animation) {
    if (dynamic_cast<const animation::AnimationGroup*>(&animation))
        return "group";
    if (dynamic_cast<const animation::KeyframeAnimation*>(&animation))
        return "keyframe";
    if (dynamic_cast<const animation::BasicAnimation*>(&animation))
        return "basic";
    return "other";
}

} // namespace

foundation::Dictionary FlexTree::describe(const ui::View& view) {
    foundation::Dictionary out;
    out.set("kind", view.className());
    out.set("frame", rect(view.frame()));
    if (const auto* element = dynamic_cast<const pennant::FlexAdViewProtocol*>(&view)) {
        if (const auto tag = element->uiTag())
            out.set("uiTag", *tag);
        if (const auto animation = element->animation())
            out.set("animation", describeAnimation(*animation));
    }
    const auto* pages = dynamic_cast<const pennant::PagingScrollView*>(&view);
    if (pages && pages->pageControl())
        out.set("pages", Value::integer(pages->pageControl()->numberOfPages()));
    Value::Array subviews;
    for (const auto& subview : view.subviews())
        subviews.emplace_back(describe(*subview));
    if (!subviews.empty())
        out.set("subviews", std::move(subviews));
    return out;
}

foundation::Dictionary FlexTree::describeAnimation(const animation::Animation& animation) {
    foundation::Dictionary out;
    out.set("kind", kindOf(animation));
    if (const auto* property = dynamic_cast<const animation::PropertyAnimation*>(&animation))
        out.set("keyPath", property->keyPath());
    out.set("duration", number(animation.passDuration()));
    out.set("repeatCount", number(animation.repeatCount()));
    if (const auto* group = dynamic_cast<const animation::AnimationGroup*>(&animation)) {
        Value::Array members;
        for (const auto& member : group->animations())
            members.emplace_back(describeAnimation(*member));
        out.set("animations", std::move(members));
    }
    return out;
}

} // namespace tool
