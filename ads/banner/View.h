#pragma once

#include "platform/ui/View.h"

#include <memory>
#include <string>

namespace pennant {

class Controller;
class Delegate;

// The banner a host places in its screen. It owns the controller that loads its ads and swaps
// them in; the host only asks it for fresh ads.
class View : public ui::View {
    UI_CREATABLE(View)
    std::string className() const override { return "PennantView"; }

    // A 320 x 48 banner that starts loading its first ad at once.
    static std::shared_ptr<View> requestAdWithDelegate(std::weak_ptr<Delegate> delegate);
    static std::string version();

    // Asks for a new ad to replace the one shown; the controller spaces such requests.
    void requestFreshAd();

    const std::shared_ptr<Controller>& controller() const { return controller_; }
    void setController(std::shared_ptr<Controller> controller);

protected:
    explicit View(const graphics::Rect& frame = {});

private:
    std::shared_ptr<Controller> controller_;
};

} // namespace pennant
