#include "platform/ui/StatusBarWindow.h"

#include "platform/foundation/Date.h"
#include "platform/graphics/Context.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Gradient.h"
#include "platform/graphics/LineBreakMode.h"
#include "platform/graphics/TextAlignment.h"
#include "platform/ui/Screen.h"

namespace ui {

using graphics::Color;
using graphics::Rect;

StatusBarWindow::StatusBarWindow() {
    setWindowLevel(kLevelStatusBar);
    setUserInteractionEnabled(false);
}

void StatusBarWindow::drawRect(graphics::Context& context, const Rect&) {
    const Rect bar = bounds();
    if (bar.width() < Screen::kWidth)
        return; // Landscape bars are drawn by a rotated screen, which this compositor does not do.
    context.drawLinearGradient({{Color(0.62f, 0.65f, 0.7f, 1), Color(0.42f, 0.45f, 0.5f, 1)}, {}},
                               {bar.midX(), bar.minY()}, {bar.midX(), bar.maxY()}, {});
    const graphics::Font font = graphics::Font::boldSystemFont(12);
    const Rect text(bar.minX() + 6, bar.minY() + 3, bar.width() - 12, 14);
    context.drawText("Carrier", text, font, Color::whiteColor(), graphics::TextAlignment::Left,
                     graphics::LineBreakMode::Clip);
    context.drawText(foundation::Date::now().format("HH:mm"), text, font, Color::whiteColor(),
                     graphics::TextAlignment::Center, graphics::LineBreakMode::Clip);
    context.setFillColor(Color::whiteColor());
    context.fillRect(Rect(bar.maxX() - 30, bar.minY() + 6, 22, 9));
    context.fillRect(Rect(bar.maxX() - 8, bar.minY() + 8, 2, 5));
}

} // namespace ui
