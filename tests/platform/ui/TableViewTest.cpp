#include "platform/ui/TableView.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Application.h"
#include "platform/ui/Compositor.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "platform/ui/Window.h"
#include "tests/support/GoldenImage.h"
#include "tests/support/ScreenTap.h"
#include "tests/support/VirtualClockFixture.h"

#include <gtest/gtest.h>

#include <set>

using namespace ui;
using graphics::Point;
using graphics::Rect;
using testing_support::ScreenTap;

namespace {

// Rows named "Row N", in cells it reuses when it can; counts the cells it had to make.
struct Rows : TableViewDataSource, TableViewDelegate {
    int numberOfRowsInSection(TableView&, int) override { return count; }
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& table,
                                                         const IndexPath& indexPath) override {
        auto cell = table.dequeueReusableCell("row");
        if (!cell) {
            cell = TableViewCell::create("row");
            made.insert(cell.get());
        }
        cell->textLabel()->setText("Row " + std::to_string(indexPath.row));
        return cell;
    }
    void didSelectRowAtIndexPath(TableView&, const IndexPath& indexPath) override {
        selected.push_back(indexPath.row);
    }
    std::optional<float> heightForRowAtIndexPath(TableView&, const IndexPath& indexPath) override {
        return tallFirstRow && indexPath.row == 0 ? std::optional(100.0f) : std::nullopt;
    }

    int count = 100;
    bool tallFirstRow = false;
    std::set<const TableViewCell*> made;
    std::vector<int> selected;
};

class TableViewTest : public testing_support::VirtualClockFixture {
protected:
    void SetUp() override {
        VirtualClockFixture::SetUp();
        Application::shared().setStatusBarHidden(true);
        window = Window::create(Rect(0, 0, 320, 480));
        table = TableView::create(Rect(0, 40, 320, 220));
        table->setDataSource(rows);
        table->setDelegate(rows);
        window->addSubview(table);
        window->makeKeyAndVisible();
    }
    std::vector<std::string> shownTexts() const {
        std::vector<std::string> texts;
        for (const auto& cell : table->visibleCells())
            texts.push_back(cell->textLabel()->text());
        return texts;
    }
    // A finger dragging the content by dy points (negative scrolls down the list).
    void drag(float dy) {
        auto& application = Application::shared();
        const Point from{160, table->frame().midY()};
        application.sendTouch(int(Touch::Phase::Began), from, now());
        for (int step = 1; step <= 10; ++step)
            application.sendTouch(int(Touch::Phase::Moved), {from.x, from.y + dy * step / 10},
                                  now() + step);
        application.sendTouch(int(Touch::Phase::Ended), {from.x, from.y + dy}, now() + 11);
    }

    std::shared_ptr<Rows> rows = std::make_shared<Rows>();
    std::shared_ptr<Window> window;
    std::shared_ptr<TableView> table;
};

} // namespace

TEST_F(TableViewTest, RowsInSightHaveCellsAndScrollingReusesThemInsteadOfMakingMore) {
    // 220 points show five rows of 44.
    EXPECT_EQ(shownTexts(),
              (std::vector<std::string>{"Row 0", "Row 1", "Row 2", "Row 3", "Row 4"}));
    for (float offset = 0; offset <= 1000; offset += 7)
        table->setContentOffset({0, offset});
    EXPECT_LE(rows->made.size(), 6u);
    // 1000 / 44 is 22.7: rows 22 to 27 are partly in sight.
    EXPECT_EQ(shownTexts().front(), "Row 22");
    EXPECT_EQ(shownTexts().back(), "Row 27");
    EXPECT_EQ(table->cellForRowAtIndexPath({0, 23})->frame(), Rect(0, 23 * 44, 320, 44));
    for (const auto& cell : table->visibleCells())
        EXPECT_EQ(cell->superview(), table);
}

TEST_F(TableViewTest, ReloadingAsksAgainAndKeepsTheOffsetInsideTheNewContent) {
    table->setContentOffset({0, 2000});
    rows->count = 3;
    table->reloadData();
    EXPECT_EQ(table->contentOffset(), Point(0, 0));
    EXPECT_EQ(shownTexts(), (std::vector<std::string>{"Row 0", "Row 1", "Row 2"}));
    EXPECT_EQ(table->numberOfRowsInSection(0), 3);
    rows->count = 0;
    table->reloadData();
    EXPECT_TRUE(table->visibleCells().empty());
    EXPECT_TRUE(table->subviews().empty());
}

TEST_F(TableViewTest, DraggingStopsAtTheEndsOfTheRows) {
    EXPECT_EQ(table->contentSize().height, 100 * 44);
    drag(300);
    EXPECT_EQ(table->contentOffset(), Point(0, 0));
    table->setContentOffset({0, 100 * 44 - 220 - 50});
    drag(-300);
    advance(5);
    EXPECT_EQ(table->contentOffset(), Point(0, 100 * 44 - 220));
    EXPECT_EQ(shownTexts().back(), "Row 99");
    EXPECT_TRUE(rows->selected.empty()) << "a drag selects nothing";
}

TEST_F(TableViewTest, ATapSelectsTheRowUnderItAndTheSelectionFollowsReuse) {
    rows->tallFirstRow = true;
    table->reloadData();
    ScreenTap::on(*table, table->rectForRowAtIndexPath({0, 2}));
    EXPECT_EQ(rows->selected, std::vector<int>{2});
    EXPECT_EQ(table->indexPathForSelectedRow(), (IndexPath{0, 2}));
    EXPECT_TRUE(table->cellForRowAtIndexPath({0, 2})->isSelected());

    // Row 2 lies under the tall first row.
    EXPECT_EQ(table->indexPathForRowAtPoint({10, 100 + 44 + 1}), (IndexPath{0, 2}));
    EXPECT_EQ(table->indexPathForRowAtPoint({10, 99}), (IndexPath{0, 0}));

    ScreenTap::on(*table, table->rectForRowAtIndexPath({0, 1}));
    EXPECT_FALSE(table->cellForRowAtIndexPath({0, 2})->isSelected());
    table->setContentOffset({0, 1500});
    table->setContentOffset({0, 0});
    EXPECT_TRUE(table->cellForRowAtIndexPath({0, 1})->isSelected());
    EXPECT_FALSE(table->cellForRowAtIndexPath({0, 2})->isSelected())
        << "a reused cell forgets the row it showed";
}

TEST_F(TableViewTest, GoldenRowsWithOneSelected) {
    rows->count = 4;
    table->reloadData();
    table->selectRowAtIndexPath(IndexPath{0, 1});
    EXPECT_TRUE(testing_support::GoldenImage::committed().matches(
        *Compositor::renderLayerImage(*table->layer()), "table-row-selected"));
}
