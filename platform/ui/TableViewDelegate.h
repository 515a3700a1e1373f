#pragma once

#include "platform/ui/ScrollViewDelegate.h"

#include <optional>

namespace ui {

struct IndexPath;
class TableView;

// What a table tells about its rows, besides its scrolling. Every method is optional.
class TableViewDelegate : public ScrollViewDelegate {
public:
    // The user tapped the row; it is selected by then.
    virtual void didSelectRowAtIndexPath(TableView&, const IndexPath&) {}
    // nullopt: the table's row height.
    virtual std::optional<float> heightForRowAtIndexPath(TableView&, const IndexPath&) {
        return std::nullopt;
    }
};

} // namespace ui
