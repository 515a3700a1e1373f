#pragma once

#include <string>

namespace ui {

// What a responder that edits text offers the keyboard. Keys reach the first responder
// when it is one of these.
class KeyInput {
public:
    virtual ~KeyInput() = default;

    virtual void insertText(const std::string& text) = 0;
    // Removes the last character; nothing happens when there is no text.
    virtual void deleteBackward() = 0;
    // The return key; what it does is the field's choice (a search bar searches).
    virtual void returnKeyPressed() = 0;
    // The hardware keyboard's escape: a field with a cancel button presses it.
    virtual void cancelKeyPressed() {}
    // The return key's title on the keyboard.
    virtual std::string returnKeyTitle() const { return "return"; }
};

} // namespace ui
