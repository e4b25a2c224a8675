// SortMode: the two orders the expense tree shows its rows in, one per tab of the main form. The
// numbers are the tabs' indexes; SortModeOfTab is the one place a tab index becomes a mode.
#pragma once

enum class SortMode : int {
    ByDate = 0,      // "Sort by Date": a group's lines by date
    ByCategory = 1,  // "Sort by Category": a group's lines under a group per category
};

// The mode the tab at nIndex shows; any tab but the category tab sorts by date.
constexpr SortMode SortModeOfTab(int nIndex) { return nIndex == 1 ? SortMode::ByCategory : SortMode::ByDate; }
