#pragma once

#include "platform/ui/IndexPath.h"
#include "platform/ui/ScrollView.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {

class TableViewCell;
class TableViewDataSource;
class TableViewDelegate;

// A plain list of rows, one under the other, section after section, scrolled as a scroll
// view. Only the rows in sight have cells: the data source makes them on demand, and those
// that scroll out of sight are kept by reuse identifier for dequeueReusableCell. A tap on a
// row selects it, and it stays selected until another is or the program deselects it.
class TableView : public ScrollView {
    UI_CREATABLE(TableView)
    static constexpr float kDefaultRowHeight = 44;

    std::string className() const override { return "TableView"; }

    std::shared_ptr<TableViewDataSource> dataSource() const { return dataSource_.lock(); }
    void setDataSource(std::weak_ptr<TableViewDataSource> dataSource);
    std::shared_ptr<TableViewDelegate> tableDelegate() const { return tableDelegate_.lock(); }
    // Also the scroll view's delegate.
    void setDelegate(std::weak_ptr<TableViewDelegate> delegate);
    float rowHeight() const { return rowHeight_; }
    void setRowHeight(float height);

    // Asks the data source again for every row; cells in sight go back to the reserve first
    // and the selection is cleared.
    void reloadData();
    std::shared_ptr<TableViewCell> dequeueReusableCell(const std::string& identifier);

    int numberOfSections() const { return int(sections_.size()); }
    int numberOfRowsInSection(int section) const;
    graphics::Rect rectForRowAtIndexPath(const IndexPath& indexPath) const;
    std::optional<IndexPath> indexPathForRowAtPoint(graphics::Point point) const;
    // The row's cell while it is in sight.
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(const IndexPath& indexPath) const;
    std::vector<std::shared_ptr<TableViewCell>> visibleCells() const;

    std::optional<IndexPath> indexPathForSelectedRow() const { return selected_; }
    void selectRowAtIndexPath(std::optional<IndexPath> indexPath);
    void deselectRowAtIndexPath(const IndexPath& indexPath);

    void layoutSubviews() override;
    void didMoveToWindow() override;

protected:
    explicit TableView(const graphics::Rect& frame = {});

private:
    friend class TableViewCell;
    struct Row {
        IndexPath indexPath;
        float top;
        float height;
    };
    // The user lifted a finger on the cell.
    void cellWasTapped(const TableViewCell& cell);
    // Gives every row in sight a cell and lays it out; cells out of sight go to the reserve.
    void tile();
    void recycle(const std::shared_ptr<TableViewCell>& cell);
    const Row* row(const IndexPath& indexPath) const;

    std::weak_ptr<TableViewDataSource> dataSource_;
    std::weak_ptr<TableViewDelegate> tableDelegate_;
    float rowHeight_ = kDefaultRowHeight;
    bool loaded_ = false;
    std::vector<int> sections_;
    std::vector<Row> rows_;
    std::map<IndexPath, std::shared_ptr<TableViewCell>> visible_;
    std::map<std::string, std::vector<std::shared_ptr<TableViewCell>>> reserve_;
    std::optional<IndexPath> selected_;
};

} // namespace ui
