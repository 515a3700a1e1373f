#pragma once

#include "platform/ui/View.h"

namespace pennant {

// A clear layer that hands every touch it gets straight to its delegate, skipping the views
// in between: inside a pages element it holds the pages and passes touches to the container.
class TouchForwardingView : public ui::View {
    UI_CREATABLE(TouchForwardingView)
    std::string className() const override { return "TouchForwardingView"; }

    std::shared_ptr<ui::Responder> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<ui::Responder> delegate) { delegate_ = std::move(delegate); }

    void touchesBegan(const ui::TouchSet& touches, const ui::Event& event) override;
    void touchesMoved(const ui::TouchSet& touches, const ui::Event& event) override;
    void touchesEnded(const ui::TouchSet& touches, const ui::Event& event) override;
    void touchesCancelled(const ui::TouchSet& touches, const ui::Event& event) override;

protected:
    TouchForwardingView(const graphics::Rect& frame, std::weak_ptr<ui::Responder> delegate);

private:
    std::weak_ptr<ui::Responder> delegate_;
};

} // namespace pennant
