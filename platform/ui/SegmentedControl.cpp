#include "platform/ui/SegmentedControl.h"

#include "platform/foundation/Value.h"
#include "platform/graphics/Context.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Gradient.h"
#include "platform/graphics/LineBreakMode.h"
#include "platform/graphics/TextAlignment.h"

namespace ui {

using graphics::Color;
using graphics::Rect;

SegmentedControl::SegmentedControl(const Rect& frame) : Control(frame) { setOpaque(false); }

SegmentedControl::SegmentedControl(std::vector<std::string> items)
    : SegmentedControl(Rect(0, 0, 60.0f * float(items.size()), 44)) {
    items_ = std::move(items);
}

void SegmentedControl::configure(const foundation::Value& d) {
    Control::configure(d);
    if (d["segments"].isArray()) {
        std::vector<std::string> items;
        for (const auto& item : d["segments"].asArray())
            items.push_back(item.stringValue());
        setItems(std::move(items));
    }
    if (d["selectedSegmentIndex"].isNumber())
        setSelectedSegmentIndex(static_cast<int>(d["selectedSegmentIndex"].intValue()));
    if (d["momentary"].isNumber())
        setMomentary(d["momentary"].boolValue());
}

void SegmentedControl::setItems(std::vector<std::string> items) {
    items_ = std::move(items);
    if (selected_ >= int(items_.size()))
        selected_ = kNoSegment;
    setNeedsDisplay();
}

std::string SegmentedControl::titleForSegment(std::size_t index) const {
    return index < items_.size() ? items_[index] : std::string();
}

void SegmentedControl::setSelectedSegmentIndex(int index) {
    selected_ = index >= 0 && index < int(items_.size()) ? index : kNoSegment;
    setNeedsDisplay();
}

Rect SegmentedControl::rectForSegment(std::size_t index) const {
    if (items_.empty())
        return Rect();
    const float width = bounds().width() / float(items_.size());
    return Rect(bounds().minX() + width * float(index), bounds().minY(), width, bounds().height());
}

void SegmentedControl::touchUpInside(graphics::Point location) {
    if (items_.empty())
        return;
    const float width = bounds().width() / float(items_.size());
    const int index =
        std::clamp(int((location.x - bounds().minX()) / width), 0, int(items_.size()) - 1);
    if (momentary_) {
        selected_ = index;
        sendActionsForControlEvents(ControlEventValueChanged);
        selected_ = kNoSegment;
        return;
    }
    if (index == selected_)
        return;
    setSelectedSegmentIndex(index);
    sendActionsForControlEvents(ControlEventValueChanged);
}

void SegmentedControl::drawRect(graphics::Context& context, const Rect&) {
    const Rect frame = bounds().inset(0.5f, 0.5f);
    const graphics::Font font = graphics::Font::boldSystemFont(13);
    context.saveGState();
    context.beginPath();
    context.addRoundedRect(frame, 7);
    context.clipToPath();
    context.setFillColor(Color::whiteColor());
    context.fillRect(frame);
    if (selected_ != kNoSegment) {
        const Rect chosen = rectForSegment(std::size_t(selected_));
        context.clipToRect(chosen);
        context.drawLinearGradient(
            {{Color(0.45f, 0.6f, 0.9f, 1), Color(0.16f, 0.37f, 0.83f, 1)}, {}},
            {chosen.midX(), chosen.minY()}, {chosen.midX(), chosen.maxY()}, {});
    }
    context.restoreGState();
    context.setStrokeColor(Color(0.55f, 0.55f, 0.6f, 1));
    context.setLineWidth(1);
    context.beginPath();
    context.addRoundedRect(frame, 7);
    context.strokePath();
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const Rect segment = rectForSegment(i);
        if (i > 0) {
            context.beginPath();
            context.moveTo({segment.minX(), segment.minY()});
            context.lineTo({segment.minX(), segment.maxY()});
            context.strokePath();
        }
        const float textHeight = font.sizeOfText(items_[i]).height;
        const Color textColor =
            int(i) == selected_ ? Color::whiteColor() : Color(0.3f, 0.3f, 0.35f, 1);
        context.drawText(items_[i],
                         Rect(segment.minX() + 2, segment.midY() - textHeight / 2,
                              segment.width() - 4, textHeight),
                         font, textColor, graphics::TextAlignment::Center,
                         graphics::LineBreakMode::TruncateTail);
    }
}

} // namespace ui
