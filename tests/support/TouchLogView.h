#pragma once

#include "platform/ui/View.h"

#include <string>
#include <vector>

namespace testing_support {

// A view that notes the phase of every touch event it is handed, for tests of where touches go.
class TouchLogView : public ui::View {
    UI_CREATABLE(TouchLogView)
    void touchesBegan(const ui::TouchSet&, const ui::Event&) override { seen.push_back("began"); }
    void touchesMoved(const ui::TouchSet&, const ui::Event&) override { seen.push_back("moved"); }
    void touchesEnded(const ui::TouchSet&, const ui::Event&) override { seen.push_back("ended"); }
    void touchesCancelled(const ui::TouchSet&, const ui::Event&) override {
        seen.push_back("cancelled");
    }
    std::vector<std::string> seen;

protected:
    explicit TouchLogView(const graphics::Rect& frame) : View(frame) {}
};

} // namespace testing_support
