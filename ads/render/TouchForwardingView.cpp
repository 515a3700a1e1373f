#include "ads/render/TouchForwardingView.h"

namespace pennant {

TouchForwardingView::TouchForwardingView(const graphics::Rect& frame,
                                         std::weak_ptr<ui::Responder> delegate)
    : View(frame), delegate_(std::move(delegate)) {
    setOpaque(false);
    setBackgroundColor(graphics::Color::clearColor());
}

void TouchForwardingView::touchesBegan(const ui::TouchSet& touches, const ui::Event& event) {
    if (auto target = delegate())
        target->touchesBegan(touches, event);
}

void TouchForwardingView::touchesMoved(const ui::TouchSet& touches, const ui::Event& event) {
    if (auto target = delegate())
        target->touchesMoved(touches, event);
}

void TouchForwardingView::touchesEnded(const ui::TouchSet& touches, const ui::Event& event) {
    if (auto target = delegate())
        target->touchesEnded(touches, event);
}

void TouchForwardingView::touchesCancelled(const ui::TouchSet& touches, const ui::Event& event) {
    if (auto target = delegate())
        target->touchesCancelled(touches, event);
}

} // namespace pennant
