#pragma once

namespace pennant {
class SearchAdView;
class SearchBar;
class SearchViewController;
} // namespace pennant
