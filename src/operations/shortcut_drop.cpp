#include "operations/shortcut_drop.h"

#include "text/find_matcher.h"
#include "text/utf.h"

namespace orv {

bool IsShortcutFileName(std::string_view path) {
  return path.size() >= 4 && EqualsAsciiNoCase(path.substr(path.size() - 4), ".lnk");
}

int FindRowHolding(int rowCount, int columnCount,
                   const std::function<std::string(int row, int column)>& cellText,
                   std::string_view path) {
  if (path.empty()) return -1;
  for (int row = 0; row < rowCount; ++row)
    for (int column = 0; column < columnCount; ++column)
      if (FindTextMatches(cellText(row, column), path, false)) return row;
  return -1;
}

}  // namespace orv
