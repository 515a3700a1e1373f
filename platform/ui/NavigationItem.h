#pragma once

#include "platform/ui/Creatable.h"

#include <memory>
#include <string>

namespace ui {

class BarButtonItem;

// What a navigation bar shows for one screen: a title between a left and a right button.
class NavigationItem {
    UI_CREATABLE(NavigationItem)

    const std::string& title() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }
    const std::shared_ptr<BarButtonItem>& leftBarButtonItem() const { return left_; }
    void setLeftBarButtonItem(std::shared_ptr<BarButtonItem> item) { left_ = std::move(item); }
    const std::shared_ptr<BarButtonItem>& rightBarButtonItem() const { return right_; }
    void setRightBarButtonItem(std::shared_ptr<BarButtonItem> item) { right_ = std::move(item); }

protected:
    explicit NavigationItem(std::string title = {}) : title_(std::move(title)) {}

private:
    std::string title_;
    std::shared_ptr<BarButtonItem> left_;
    std::shared_ptr<BarButtonItem> right_;
};

} // namespace ui
