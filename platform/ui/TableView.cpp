#include "platform/ui/TableView.h"

#include "platform/ui/TableViewCell.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"

#include <algorithm>

namespace ui {

using graphics::Point;
using graphics::Rect;

namespace {
// Cells kept for reuse, across identifiers: a table whose every row has its own identifier
// would otherwise keep every cell it ever made.
constexpr std::size_t kMostReservedCells = 32;
} // namespace

TableView::TableView(const Rect& frame) : ScrollView(frame) {
    setBackgroundColor(graphics::Color::whiteColor());
}

void TableView::setDataSource(std::weak_ptr<TableViewDataSource> dataSource) {
    dataSource_ = std::move(dataSource);
}

void TableView::setDelegate(std::weak_ptr<TableViewDelegate> delegate) {
    tableDelegate_ = delegate;
    ScrollView::setDelegate(std::move(delegate));
}

void TableView::setRowHeight(float height) {
    rowHeight_ = height;
    if (loaded_)
        reloadData();
}

void TableView::reloadData() {
    auto protector = sharedView();
    loaded_ = true;
    selected_.reset();
    for (const auto& [indexPath, cell] : std::exchange(visible_, {}))
        recycle(cell);
    sections_.clear();
    rows_.clear();
    auto source = dataSource();
    auto listener = tableDelegate();
    const int sections = source ? source->numberOfSectionsInTableView(*this) : 0;
    float top = 0;
    for (int section = 0; section < sections; ++section) {
        sections_.push_back(std::max(0, source->numberOfRowsInSection(*this, section)));
        for (int r = 0; r < sections_.back(); ++r) {
            const IndexPath indexPath{section, r};
            const float height =
                listener ? listener->heightForRowAtIndexPath(*this, indexPath).value_or(rowHeight_)
                         : rowHeight_;
            rows_.push_back({indexPath, top, height});
            top += height;
        }
    }
    tile();
}

void TableView::layoutSubviews() {
    if (loaded_)
        tile();
    else
        reloadData();
}

void TableView::didMoveToWindow() {
    if (window() && !loaded_)
        reloadData();
}

void TableView::tile() {
    const float height = rows_.empty() ? 0 : rows_.back().top + rows_.back().height;
    setContentSize({bounds().width(), height});
    // A table grown shorter, or with fewer rows, keeps its offset inside the content; moving
    // it lays the table out again.
    const Point most = maximumContentOffset();
    const Point offset = contentOffset();
    if (offset.x > most.x || offset.y > most.y) {
        setContentOffset({std::min(offset.x, most.x), std::min(offset.y, most.y)});
        return;
    }
    const Rect sight = bounds();
    std::erase_if(visible_, [&](const auto& entry) {
        const Row* r = row(entry.first);
        const bool gone = !r || r->top + r->height <= sight.minY() || r->top >= sight.maxY();
        if (gone)
            recycle(entry.second);
        return gone;
    });
    auto source = dataSource();
    for (const Row& r : rows_) {
        if (r.top + r.height <= sight.minY())
            continue;
        if (r.top >= sight.maxY() || !source)
            break;
        auto cell = cellForRowAtIndexPath(r.indexPath);
        if (!cell) {
            cell = source->cellForRowAtIndexPath(*this, r.indexPath);
            if (!cell)
                continue;
            cell->setSelected(selected_ == r.indexPath);
            visible_[r.indexPath] = cell;
            addSubview(cell);
        }
        cell->setFrame(rectForRowAtIndexPath(r.indexPath));
    }
}

void TableView::recycle(const std::shared_ptr<TableViewCell>& cell) {
    cell->removeFromSuperview();
    std::size_t reserved = 0;
    for (const auto& [identifier, cells] : reserve_)
        reserved += cells.size();
    if (!cell->reuseIdentifier().empty() && reserved < kMostReservedCells)
        reserve_[cell->reuseIdentifier()].push_back(cell);
}

std::shared_ptr<TableViewCell> TableView::dequeueReusableCell(const std::string& identifier) {
    auto it = reserve_.find(identifier);
    if (it == reserve_.end())
        return nullptr;
    auto cell = std::move(it->second.back());
    it->second.pop_back();
    if (it->second.empty())
        reserve_.erase(it);
    cell->prepareForReuse();
    return cell;
}

int TableView::numberOfRowsInSection(int section) const {
    return section >= 0 && section < numberOfSections() ? sections_[std::size_t(section)] : 0;
}

const TableView::Row* TableView::row(const IndexPath& indexPath) const {
    auto it = std::lower_bound(rows_.begin(), rows_.end(), indexPath,
                               [](const Row& r, const IndexPath& p) { return r.indexPath < p; });
    return it != rows_.end() && it->indexPath == indexPath ? &*it : nullptr;
}

Rect TableView::rectForRowAtIndexPath(const IndexPath& indexPath) const {
    const Row* r = row(indexPath);
    return r ? Rect(0, r->top, bounds().width(), r->height) : Rect();
}

std::optional<IndexPath> TableView::indexPathForRowAtPoint(Point point) const {
    if (point.x < 0 || point.x >= bounds().width())
        return std::nullopt;
    auto it = std::upper_bound(rows_.begin(), rows_.end(), point.y,
                               [](float y, const Row& r) { return y < r.top; });
    if (it == rows_.begin())
        return std::nullopt;
    --it;
    return point.y < it->top + it->height ? std::optional(it->indexPath) : std::nullopt;
}

std::shared_ptr<TableViewCell> TableView::cellForRowAtIndexPath(const IndexPath& indexPath) const {
    auto it = visible_.find(indexPath);
    return it == visible_.end() ? nullptr : it->second;
}

std::vector<std::shared_ptr<TableViewCell>> TableView::visibleCells() const {
    std::vector<std::shared_ptr<TableViewCell>> cells;
    for (const auto& [indexPath, cell] : visible_)
        cells.push_back(cell);
    return cells;
}

void TableView::selectRowAtIndexPath(std::optional<IndexPath> indexPath) {
    if (selected_)
        if (auto cell = cellForRowAtIndexPath(*selected_))
            cell->setSelected(false);
    selected_ = indexPath && row(*indexPath) ? indexPath : std::nullopt;
    if (selected_)
        if (auto cell = cellForRowAtIndexPath(*selected_))
            cell->setSelected(true);
}

void TableView::deselectRowAtIndexPath(const IndexPath& indexPath) {
    if (selected_ == indexPath)
        selectRowAtIndexPath(std::nullopt);
}

void TableView::cellWasTapped(const TableViewCell& cell) {
    auto found = std::find_if(visible_.begin(), visible_.end(),
                              [&](const auto& entry) { return entry.second.get() == &cell; });
    if (found == visible_.end())
        return;
    const IndexPath indexPath = found->first;
    selectRowAtIndexPath(indexPath);
    auto protector = sharedView();
    if (auto listener = tableDelegate())
        listener->didSelectRowAtIndexPath(*this, indexPath);
}

} // namespace ui
