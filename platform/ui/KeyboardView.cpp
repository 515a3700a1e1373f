#include "platform/ui/KeyboardView.h"

#include "platform/graphics/Context.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Gradient.h"
#include "platform/graphics/LineBreakMode.h"
#include "platform/graphics/TextAlignment.h"
#include "platform/ui/Gloss.h"
#include "platform/ui/Keyboard.h"

#include <algorithm>
#include <cctype>

namespace ui {

using graphics::Color;
using graphics::Rect;

namespace {

constexpr const char* kLetterRows[] = {"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
constexpr int kRows = 4;
constexpr float kColumns = 10;
// Gaps around each key, as fractions of its cell.
constexpr float kKeyInsetX = 0.1f;
constexpr float kKeyInsetY = 0.11f;

const Color kBackgroundTop{0.55f, 0.58f, 0.64f, 1};
const Color kBackgroundBottom{0.37f, 0.40f, 0.47f, 1};
const Color kLetterKey{0.98f, 0.98f, 0.98f, 1};
const Color kFunctionKey{0.53f, 0.56f, 0.62f, 1};
const Color kActionKey{0.16f, 0.42f, 0.88f, 1};

bool isAction(const std::string& returnTitle) { return returnTitle != "return"; }

// Words on keys shrink until they fit their key.
graphics::Font fitted(const std::string& label, float size, float width) {
    graphics::Font font = graphics::Font::boldSystemFont(size);
    while (size > 6 && font.sizeOfText(label).width > width) {
        size -= 1;
        font = graphics::Font::boldSystemFont(size);
    }
    return font;
}

} // namespace

KeyboardView::KeyboardView(const Rect& frame) : View(frame) {}

void KeyboardView::setReturnKeyTitle(std::string title) {
    returnKeyTitle_ = std::move(title);
    setNeedsDisplay();
}

std::vector<KeyboardView::Key> KeyboardView::keys() const {
    const Rect b = bounds();
    const float cell = b.width() / kColumns;
    const float row = b.height() / kRows;
    auto key = [&](std::string label, float column, int line, float span, Role role) {
        const Rect whole(b.minX() + column * cell, b.minY() + float(line) * row, span * cell, row);
        return Key{std::move(label), whole.inset(cell * kKeyInsetX, row * kKeyInsetY), role};
    };
    std::vector<Key> keys;
    for (int line = 0; line < 3; ++line) {
        const std::string letters = kLetterRows[line];
        const float indent = (kColumns - float(letters.size())) / 2;
        for (std::size_t i = 0; i < letters.size(); ++i)
            keys.push_back(
                key(std::string(1, letters[i]), indent + float(i), line, 1, Role::Letter));
    }
    keys.push_back(key("shift", 0, 2, 1.3f, Role::Shift));
    keys.push_back(key("delete", kColumns - 1.3f, 2, 1.3f, Role::Delete));
    keys.push_back(key(".?123", 0, 3, 2.5f, Role::Numbers));
    keys.push_back(key("space", 2.5f, 3, 5, Role::Space));
    keys.push_back(key(returnKeyTitle_, 7.5f, 3, 2.5f, Role::Return));
    return keys;
}

void KeyboardView::touchesBegan(const TouchSet&, const Event&) {}

void KeyboardView::touchesEnded(const TouchSet& touches, const Event&) {
    if (touches.empty())
        return;
    const graphics::Point point = touches.front()->locationInView(this);
    const auto all = keys();
    auto hit =
        std::find_if(all.begin(), all.end(), [&](const Key& k) { return k.rect.contains(point); });
    if (hit == all.end())
        return;
    auto& keyboard = Keyboard::shared();
    switch (hit->role) {
    case Role::Letter:
        keyboard.typeText(std::string(1, char(std::tolower(hit->label[0]))));
        break;
    case Role::Space:
        keyboard.typeText(" ");
        break;
    case Role::Delete:
        keyboard.pressKey(KeyboardKey::Backspace);
        break;
    case Role::Return:
        keyboard.pressKey(KeyboardKey::Return);
        break;
    case Role::Shift:
    case Role::Numbers:
        break;
    }
}

void KeyboardView::drawRect(graphics::Context& context, const Rect&) {
    const Rect b = bounds();
    context.drawLinearGradient({{kBackgroundTop, kBackgroundBottom}, {}}, {b.midX(), b.minY()},
                               {b.midX(), b.maxY()}, {});
    const auto all = keys();
    const graphics::Font letters = graphics::Font::systemFont(b.height() / kRows * 0.45f);
    for (const Key& k : all) {
        const bool plain = k.role == Role::Letter || k.role == Role::Space;
        const Color face = k.role == Role::Return && isAction(returnKeyTitle_) ? kActionKey
                           : plain                                             ? kLetterKey
                                                                               : kFunctionKey;
        Gloss::fillRoundedRect(context, k.rect, 5, Gloss::lighter(face, 0.1f), face);
        const graphics::Font font =
            k.label.size() > 1 ? fitted(k.label, b.height() / kRows * 0.3f, k.rect.width() - 4)
                               : letters;
        const Rect line(k.rect.minX(), k.rect.midY() - font.lineHeight() / 2, k.rect.width(),
                        font.lineHeight());
        context.drawText(k.label, line, font,
                         face == kLetterKey ? Color::blackColor() : Color::whiteColor(),
                         graphics::TextAlignment::Center, graphics::LineBreakMode::Clip);
    }
}

} // namespace ui
