#include "sim/ViewTreeDump.h"

#include "platform/foundation/Dictionary.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/Window.h"

#include <cmath>

namespace sim {

namespace {
foundation::Value number(float value) {
    // Two decimals are plenty for points and keep dumps stable.
    return foundation::Value::number(std::round(double(value) * 100) / 100);
}
} // namespace

foundation::Value ViewTreeDump::dump(const ui::View& view) {
    foundation::Dictionary node{{"class", view.className()}};
    if (!view.interfaceName().empty())
        node.set("name", view.interfaceName());
    auto window = view.window();
    const graphics::Rect frame = window && window.get() != &view
                                     ? view.convertRectToView(view.bounds(), window.get())
                                     : view.frame();
    node.set("frame", foundation::Value::Array{number(frame.minX()), number(frame.minY()),
                                               number(frame.width()), number(frame.height())});
    node.set("hidden", foundation::Value::boolean(view.isHidden()));
    node.set("alpha", number(view.alpha()));
    if (auto label = dynamic_cast<const ui::Label*>(&view))
        node.set("text", label->text());
    if (auto button = dynamic_cast<const ui::Button*>(&view))
        node.set("text", button->currentTitle());
    if (auto control = dynamic_cast<const ui::SegmentedControl*>(&view))
        node.set("selected", foundation::Value::integer(control->selectedSegmentIndex()));
    foundation::Value::Array children;
    for (const auto& subview : view.subviews())
        children.push_back(dump(*subview));
    node.set("children", foundation::Value(std::move(children)));
    return foundation::Value(std::move(node));
}

} // namespace sim
