#pragma once

#include <memory>

namespace ui {

struct IndexPath;
class TableView;
class TableViewCell;

// Where a table's rows come from.
class TableViewDataSource {
public:
    virtual ~TableViewDataSource() = default;

    virtual int numberOfSectionsInTableView(TableView&) { return 1; }
    virtual int numberOfRowsInSection(TableView&, int section) = 0;
    // A cell for the row, best one the table had in reserve (dequeueReusableCell).
    virtual std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView&,
                                                                 const IndexPath& indexPath) = 0;
};

} // namespace ui
