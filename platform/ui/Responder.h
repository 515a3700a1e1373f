#pragma once

#include "platform/ui/InterfaceObject.h"
#include "platform/ui/Touch.h"

#include <memory>

namespace ui {

// An object in the responder chain. Touch handlers not overridden pass the touches on to the
// next responder, so a touch nobody handles climbs to the application.
class Responder : public InterfaceObject, public std::enable_shared_from_this<Responder> {
public:
    virtual std::shared_ptr<Responder> nextResponder() const { return nullptr; }

    virtual bool canBecomeFirstResponder() const { return false; }
    // Overridden by responders that start or end something with the status (text fields
    // bring the keyboard); overrides call these to change it.
    virtual bool becomeFirstResponder();
    virtual bool resignFirstResponder();
    bool isFirstResponder() const;
    static std::shared_ptr<Responder> firstResponder();

    virtual void touchesBegan(const TouchSet& touches, const Event& event);
    virtual void touchesMoved(const TouchSet& touches, const Event& event);
    virtual void touchesEnded(const TouchSet& touches, const Event& event);
    virtual void touchesCancelled(const TouchSet& touches, const Event& event);

protected:
    Responder() = default;
};

} // namespace ui
