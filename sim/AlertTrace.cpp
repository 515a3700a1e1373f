#include "sim/AlertTrace.h"

#include "platform/ui/ActionSheet.h"
#include "platform/ui/AlertStack.h"
#include "platform/ui/AlertView.h"
#include "sim/Trace.h"

namespace sim {

using foundation::Value;

namespace {
std::string eventType(const ui::ModalView& view) {
    return dynamic_cast<const ui::ActionSheet*>(&view) ? "action-sheet" : "alert";
}
} // namespace

AlertTrace::AlertTrace(Trace& trace) {
    auto& stack = ui::AlertStack::shared();
    shown_ = stack.observeShown(
        [&trace](const ui::ModalView& view) { trace.record(eventType(view), shownFields(view)); });
    dismissed_ = stack.observeDismissed([&trace](const ui::ModalView& view, int index) {
        trace.record(eventType(view), {{"event", "dismissed"}, {"button", Value::integer(index)}});
    });
}

foundation::Dictionary AlertTrace::shownFields(const ui::ModalView& view) {
    Value::Array buttons;
    for (const auto& title : view.buttonTitles())
        buttons.emplace_back(title);
    foundation::Dictionary fields{{"event", "shown"}, {"title", view.title()}};
    if (auto* alert = dynamic_cast<const ui::AlertView*>(&view))
        fields.set("message", alert->message());
    fields.set("buttons", Value(std::move(buttons)));
    return fields;
}

} // namespace sim
