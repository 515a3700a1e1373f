#include "sim/ViewTreeDump.h"

#include "platform/ui/Application.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/Window.h"

#include <cmath>

namespace sim {

using foundation::Value;

namespace {
Value number(float value) {
    // Two decimals are plenty for points and keep dumps stable; adding zero turns the -0 of
    // a tiny negative (a turned view's cosine) into 0.
    return Value::number(std::round(double(value) * 100) / 100 + 0.0);
}

Value numbers(std::initializer_list<float> values) {
    Value::Array out;
    for (float value : values)
        out.push_back(number(value));
    return Value(std::move(out));
}

Value rect(const graphics::Rect& r) { return numbers({r.minX(), r.minY(), r.width(), r.height()}); }

// What only some views have: shown text, selection, transform, window level and key status.
void addParticulars(const ui::View& view, foundation::Dictionary& node) {
    if (auto control = dynamic_cast<const ui::SegmentedControl*>(&view))
        node.set("selected", Value::integer(control->selectedSegmentIndex()));
    node.set("tag", Value::integer(view.tag()));
    node.set("bounds", rect(view.bounds()));
    if (const auto t = view.transform(); !t.isIdentity())
        node.set("transform", numbers({t.a, t.b, t.c, t.d, t.tx, t.ty}));
    if (auto window = dynamic_cast<const ui::Window*>(&view)) {
        node.set("level", number(window->windowLevel()));
        node.set("key", Value::boolean(window->isKeyWindow()));
    }
}
} // namespace

foundation::Dictionary ViewTreeDump::screen(const ui::Application& application) {
    const foundation::Dictionary statusBar{
        {"hidden", Value::boolean(application.isStatusBarHidden())},
        {"orientation", Value::integer(application.statusBarOrientation())},
        {"frame", rect(application.statusBarFrame())}};
    Value::Array windows;
    for (const auto& window : application.windows())
        windows.push_back(dump(*window));
    return {{"statusBar", Value(statusBar)}, {"windows", Value(std::move(windows))}};
}

Value ViewTreeDump::dump(const ui::View& view) {
    // The fields before "children" come in a fixed order that demos match on as text.
    foundation::Dictionary node{{"class", view.className()}};
    if (!view.interfaceName().empty())
        node.set("name", view.interfaceName());
    auto window = view.window();
    const graphics::Rect frame = window && window.get() != &view
                                     ? view.convertRectToView(view.bounds(), window.get())
                                     : view.frame();
    node.set("frame", rect(frame));
    node.set("hidden", Value::boolean(view.isHidden()));
    node.set("alpha", number(view.alpha()));
    if (auto text = view.dumpText())
        node.set("text", *text);
    addParticulars(view, node);
    Value::Array children;
    for (const auto& subview : view.subviews())
        children.push_back(dump(*subview));
    node.set("children", Value(std::move(children)));
    return Value(std::move(node));
}

} // namespace sim
