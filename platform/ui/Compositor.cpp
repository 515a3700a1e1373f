#include "platform/ui/Compositor.h"

#include "platform/foundation/Date.h"
#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/CairoContext.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Gradient.h"
#include "platform/graphics/LineBreakMode.h"
#include "platform/graphics/TextAlignment.h"
#include "platform/ui/Application.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

namespace ui {

using graphics::Color;
using graphics::Rect;

std::shared_ptr<graphics::Image> Compositor::renderScreen() {
    graphics::CairoContext context(Screen::main().bounds().size);
    context.setFillColor(Color::blackColor());
    context.fillRect(Screen::main().bounds());
    renderScreen(context);
    return context.makeImage();
}

void Compositor::renderScreen(graphics::Context& context) {
    // The status bar sits at its own window level: above normal windows, below alerts.
    bool barDrawn = Application::shared().isStatusBarHidden();
    for (const auto& window : Application::shared().windows()) {
        if (!barDrawn && window->windowLevel() > Window::kLevelStatusBar) {
            renderStatusBar(context);
            barDrawn = true;
        }
        renderView(context, *window);
    }
    if (!barDrawn)
        renderStatusBar(context);
}

void Compositor::renderView(graphics::Context& context, View& view) {
    if (view.isHidden() || view.alpha() <= 0)
        return;
    const Rect bounds = view.bounds();
    context.saveGState();
    // Into the view's bounds space: about its center, through its transform.
    context.concatCTM(graphics::AffineTransform::translation(-bounds.midX(), -bounds.midY())
                          .concat(view.transform())
                          .concat(graphics::AffineTransform::translation(view.center().x, view.center().y)));
    const bool grouped = view.alpha() < 1;
    if (grouped) {
        context.setAlpha(view.alpha());
        context.beginTransparencyLayer();
    }
    if (view.clipsToBounds())
        context.clipToRect(bounds);
    if (auto background = view.backgroundColor(); background && background->alpha() > 0) {
        context.setFillColor(*background);
        context.fillRect(bounds);
    }
    context.saveGState();
    view.drawRect(context, bounds);
    context.restoreGState();
    view.clearNeedsDisplay();
    // A copy: drawing must not be disturbed by a view that changes its subviews.
    const auto subviews = view.subviews();
    for (const auto& subview : subviews)
        renderView(context, *subview);
    if (grouped)
        context.endTransparencyLayer();
    context.restoreGState();
}

void Compositor::renderStatusBar(graphics::Context& context) {
    const Rect bar = Application::shared().statusBarFrame();
    if (bar.width() < Screen::kWidth)
        return; // Landscape bars are drawn by a rotated screen, which this compositor does not do.
    context.saveGState();
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
    context.restoreGState();
}

} // namespace ui
