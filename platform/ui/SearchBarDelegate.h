#pragma once

#include <optional>
#include <string>

namespace ui {

class SearchBar;

// What a search bar tells about its editing. Every method is optional; a should-question
// answered with nullopt counts as yes.
class SearchBarDelegate {
public:
    virtual ~SearchBarDelegate() = default;

    virtual std::optional<bool> searchBarShouldBeginEditing(SearchBar&) { return std::nullopt; }
    virtual void searchBarTextDidBeginEditing(SearchBar&) {}
    virtual void searchBarTextDidEndEditing(SearchBar&) {}
    // After every key that changed the text; the text set by the program is not reported.
    virtual void textDidChange(SearchBar&, const std::string& /*text*/) {}
    // The keyboard's search key.
    virtual void searchBarSearchButtonClicked(SearchBar&) {}
    virtual void searchBarCancelButtonClicked(SearchBar&) {}
};

} // namespace ui
