// Finding the program a dropped file belongs to: the row whose shown texts hold its path.
#pragma once
#include <functional>
#include <string>
#include <string_view>

namespace orv {

// A shortcut file: its extension is ".lnk" in any case.
bool IsShortcutFileName(std::string_view path);

// The first row, from the top, with a cell (the caption, then the other shown columns in
// order) that holds `path`, as find matches without letter case (FindTextMatches); -1 when
// none does.
int FindRowHolding(int rowCount, int columnCount,
                   const std::function<std::string(int row, int column)>& cellText,
                   std::string_view path);

}  // namespace orv
