#pragma once

#include "ads/render/TouchRecordingElement.h"
#include "platform/ui/Label.h"

namespace pennant {

// A flex ad's text element: a label that accepts touches and records them.
class LabelView : public TouchRecordingElement<ui::Label> {
    UI_CREATABLE(LabelView)
    std::string className() const override { return "LabelView"; }

protected:
    explicit LabelView(const graphics::Rect& frame = {});
};

} // namespace pennant
