#include "text/find_matcher.h"

#include <algorithm>

namespace orv {
namespace {

unsigned char FoldAscii(char c) {
  auto b = static_cast<unsigned char>(c);
  return b >= 'a' && b <= 'z' ? static_cast<unsigned char>(b - 32) : b;
}

}  // namespace

bool FindTextMatches(std::string_view subject, std::string_view pattern, bool matchCase) {
  if (pattern.empty()) return false;
  // UTF-8: every byte below 0x80 is a whole character and never part of another, and a
  // match of whole characters can only begin where a character begins. So comparing bytes,
  // folding only those below 0x80, never folds or matches half a character.
  if (matchCase) return subject.find(pattern) != std::string_view::npos;
  auto equal = [](char a, char b) { return FoldAscii(a) == FoldAscii(b); };
  return std::search(subject.begin(), subject.end(), pattern.begin(), pattern.end(), equal) !=
         subject.end();
}

int FindRow(int rowCount, int selected, FindDirection direction,
            const std::function<bool(int row)>& rowMatches) {
  if (rowCount <= 0) return -1;
  if (direction == FindDirection::Next) {
    for (int row = std::max(selected + 1, 0); row < rowCount; ++row)
      if (rowMatches(row)) return row;
  } else {
    if (selected < 0) return -1;
    for (int row = std::min(selected, rowCount) - 1; row >= 0; --row)
      if (rowMatches(row)) return row;
  }
  return -1;
}

}  // namespace orv
