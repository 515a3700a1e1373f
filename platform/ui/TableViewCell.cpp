#include "platform/ui/TableViewCell.h"

#include "platform/graphics/Context.h"
#include "platform/graphics/Gradient.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"

#include <algorithm>

namespace ui {

using graphics::Color;
using graphics::Rect;

namespace {
constexpr float kTextInset = 10;
const Color kSelectionTop{0.02f, 0.55f, 0.96f, 1};
const Color kSelectionBottom{0.01f, 0.37f, 0.87f, 1};
const Color kSeparator = Color::colorWithWhite(0.88f, 1);
} // namespace

std::shared_ptr<TableViewCell> TableViewCell::create(std::string reuseIdentifier,
                                                     const Rect& frame) {
    std::shared_ptr<TableViewCell> cell(new TableViewCell(std::move(reuseIdentifier), frame));
    cell->addSubview(cell->textLabel_);
    cell->layoutSubviews();
    return cell;
}

TableViewCell::TableViewCell(std::string reuseIdentifier, const Rect& frame)
    : View(frame), reuseIdentifier_(std::move(reuseIdentifier)), textLabel_(Label::create()) {
    textLabel_->setFont(graphics::Font::boldSystemFont(20));
    // The selection's gradient shows through behind the text.
    textLabel_->setBackgroundColor(std::nullopt);
}

std::optional<std::string> TableViewCell::dumpText() const { return textLabel_->text(); }

void TableViewCell::setSelected(bool selected) {
    selected_ = selected;
    updateLook();
}

void TableViewCell::setHighlighted(bool highlighted) {
    highlighted_ = highlighted;
    updateLook();
}

void TableViewCell::prepareForReuse() {
    selected_ = false;
    highlighted_ = false;
    updateLook();
}

void TableViewCell::updateLook() {
    textLabel_->setTextColor(selected_ || highlighted_ ? Color::whiteColor() : Color::blackColor());
    setNeedsDisplay();
}

void TableViewCell::layoutSubviews() {
    const Rect b = bounds();
    textLabel_->setFrame(Rect(b.minX() + kTextInset, b.minY(),
                              std::max(0.0f, b.width() - 2 * kTextInset),
                              std::max(0.0f, b.height() - 1)));
}

void TableViewCell::touchesBegan(const TouchSet&, const Event&) { setHighlighted(true); }

void TableViewCell::touchesEnded(const TouchSet&, const Event&) {
    setHighlighted(false);
    if (auto table = std::dynamic_pointer_cast<TableView>(superview()))
        table->cellWasTapped(*this);
}

void TableViewCell::touchesCancelled(const TouchSet&, const Event&) { setHighlighted(false); }

void TableViewCell::drawRect(graphics::Context& context, const Rect&) {
    const Rect b = bounds();
    if (selected_ || highlighted_) {
        context.drawLinearGradient({{kSelectionTop, kSelectionBottom}, {}}, {b.midX(), b.minY()},
                                   {b.midX(), b.maxY()}, {});
    } else {
        context.setFillColor(Color::whiteColor());
        context.fillRect(b);
    }
    context.setFillColor(kSeparator);
    context.fillRect(Rect(b.minX(), b.maxY() - 1, b.width(), 1));
}

} // namespace ui
