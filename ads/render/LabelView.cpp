#include "ads/render/LabelView.h"

namespace pennant {

LabelView::LabelView(const graphics::Rect& frame) : TouchRecordingElement(frame) {
    setUserInteractionEnabled(true);
    // What lies beneath shows through until the element's own background colour is set.
    setBackgroundColor(graphics::Color::clearColor());
}

} // namespace pennant
