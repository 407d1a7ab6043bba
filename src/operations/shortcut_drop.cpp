#include "operations/shortcut_drop.h"

#include <algorithm>

#include "text/utf.h"

namespace orv {
namespace {

char FoldAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool IsShortcutFileName(std::string_view path) {
  return path.size() >= 4 && EqualsAsciiNoCase(path.substr(path.size() - 4), ".lnk");
}

bool ContainsText(std::string_view subject, std::string_view pattern, bool matchCase) {
  if (pattern.empty()) return false;
  if (matchCase) return subject.find(pattern) != std::string_view::npos;
  auto same = [](char a, char b) { return FoldAscii(a) == FoldAscii(b); };
  return std::search(subject.begin(), subject.end(), pattern.begin(), pattern.end(), same) !=
         subject.end();
}

int FindRowHolding(int rowCount, int columnCount,
                   const std::function<std::string(int row, int column)>& cellText,
                   std::string_view path) {
  if (path.empty()) return -1;
  for (int row = 0; row < rowCount; ++row)
    for (int column = 0; column < columnCount; ++column)
      if (ContainsText(cellText(row, column), path, false)) return row;
  return -1;
}

}  // namespace orv
