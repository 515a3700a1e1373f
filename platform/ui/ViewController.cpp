#include "platform/ui/ViewController.h"

#include "platform/ui/Screen.h"
#include "platform/ui/View.h"

namespace ui {

bool ViewController::setOutlet(const std::string& name,
                               const std::shared_ptr<InterfaceObject>& object) {
    auto view = std::dynamic_pointer_cast<View>(object);
    if (name != "view" || !view)
        return false;
    setView(view);
    return true;
}

std::shared_ptr<View> ViewController::view() {
    if (!view_)
        loadView();
    if (view_ && !didLoad_) {
        didLoad_ = true;
        viewDidLoad();
    }
    return view_;
}

void ViewController::setView(const std::shared_ptr<View>& view) {
    if (view == view_)
        return;
    if (view_)
        view_->setViewController(nullptr);
    view_ = view;
    didLoad_ = false;
    if (view_)
        view_->setViewController(std::static_pointer_cast<ViewController>(shared_from_this()));
}

void ViewController::loadView() { setView(View::create(Screen::main().applicationFrame())); }

std::shared_ptr<Responder> ViewController::nextResponder() const {
    return view_ ? std::static_pointer_cast<Responder>(view_->superview()) : nullptr;
}

} // namespace ui
