#pragma once

#include "platform/ui/View.h"

#include <memory>
#include <string>

namespace ui {

class Label;

// One row of a table: a text label over a white background with a separator line below, in
// the system's blue with white text while selected or touched. Cells with a reuse identifier
// that scroll out of sight wait in their table for dequeueReusableCell.
class TableViewCell : public View {
public:
    // Not UI_CREATABLE: the label can only be added once the cell has an owner.
    static std::shared_ptr<TableViewCell> create(std::string reuseIdentifier,
                                                 const graphics::Rect& frame = {});
    std::string className() const override { return "TableViewCell"; }
    std::optional<std::string> dumpText() const override;

    const std::string& reuseIdentifier() const { return reuseIdentifier_; }
    const std::shared_ptr<Label>& textLabel() const { return textLabel_; }

    bool isSelected() const { return selected_; }
    void setSelected(bool selected);
    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool highlighted);
    // Called before the table hands the cell out again.
    virtual void prepareForReuse();

    // A touch that the table lets through (it did not become a scroll) highlights the cell;
    // lifting the finger selects its row.
    void touchesBegan(const TouchSet& touches, const Event& event) override;
    void touchesEnded(const TouchSet& touches, const Event& event) override;
    void touchesCancelled(const TouchSet& touches, const Event& event) override;
    void layoutSubviews() override;
    void drawRect(graphics::Context& context, const graphics::Rect& rect) override;

protected:
    explicit TableViewCell(std::string reuseIdentifier, const graphics::Rect& frame = {});

private:
    void updateLook();

    std::string reuseIdentifier_;
    std::shared_ptr<Label> textLabel_;
    bool selected_ = false;
    bool highlighted_ = false;
};

} // namespace ui
