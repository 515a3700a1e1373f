#pragma once

#include "ads/render/TouchRecordingElement.h"
#include "platform/ui/View.h"

namespace pennant {

// A flex ad's plain rectangle: its background colour, and the touches it records.
class PlainView : public TouchRecordingElement<ui::View> {
    UI_CREATABLE(PlainView)
    std::string className() const override { return "PlainView"; }

protected:
    explicit PlainView(const graphics::Rect& frame = {}) : TouchRecordingElement(frame) {}
};

} // namespace pennant
