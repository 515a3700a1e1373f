#pragma once

#include "platform/ui/Creatable.h"
#include "platform/ui/Responder.h"

#include <memory>

namespace ui {

class View;

// Owns one screen's view, loaded on first use; viewDidLoad runs once per load.
class ViewController : public Responder {
    UI_CREATABLE(ViewController)
    std::string className() const override { return "ViewController"; }
    bool setOutlet(const std::string& name,
                   const std::shared_ptr<InterfaceObject>& object) override;

    // Loads the view (loadView, then viewDidLoad) when it is not loaded yet.
    std::shared_ptr<View> view();
    std::shared_ptr<View> viewIfLoaded() const { return view_; }
    bool isViewLoaded() const { return view_ != nullptr; }
    // A view given here (by an interface description, say) is loaded on first access.
    void setView(const std::shared_ptr<View>& view);

    virtual void loadView();
    virtual void viewDidLoad() {}
    virtual void viewWillAppear(bool) {}
    virtual void viewDidAppear(bool) {}
    virtual void viewWillDisappear(bool) {}
    virtual void viewDidDisappear(bool) {}
    // Orientation codes: 1 portrait, 2 upside down, 3 landscape right, 4 landscape left.
    virtual bool shouldAutorotateToInterfaceOrientation(int orientation) const {
        return orientation == 1;
    }

    std::shared_ptr<Responder> nextResponder() const override;

protected:
    ViewController() = default;

private:
    std::shared_ptr<View> view_;
    bool didLoad_ = false;
};

} // namespace ui
