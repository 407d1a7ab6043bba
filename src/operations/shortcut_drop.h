// Finding the program a dropped file belongs to: the row whose shown texts hold its path.
#pragma once
#include <functional>
#include <string>
#include <string_view>

namespace orv {

// A shortcut file: its extension is ".lnk" in any case.
bool IsShortcutFileName(std::string_view path);

// Whether `pattern` occurs in `subject`. Without `matchCase` the ASCII letters a-z and A-Z
// match each other; every other character matches only itself. Both texts are UTF-8, whose
// multi-byte characters hold no ASCII byte, so folding never touches part of a character and
// a match never begins inside one. An empty pattern matches nothing.
bool ContainsText(std::string_view subject, std::string_view pattern, bool matchCase);

// The first row, from the top, with a cell (the caption, then the other shown columns in
// order) that holds `path`, letter case of a-z ignored; -1 when none does.
int FindRowHolding(int rowCount, int columnCount,
                   const std::function<std::string(int row, int column)>& cellText,
                   std::string_view path);

}  // namespace orv
