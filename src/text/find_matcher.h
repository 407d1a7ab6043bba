// Text search over the list's rows: the matching rule and the walk from the selection.
// Also what a dropped file's path is looked for with.
#pragma once
#include <functional>
#include <string_view>

namespace orv {

// True when `pattern` occurs in `subject`, both UTF-8. Unless `matchCase`, the ASCII letters
// a-z and A-Z match each other; every other character must match exactly, and a match always
// starts at a whole character. An empty pattern matches nothing.
bool FindTextMatches(std::string_view subject, std::string_view pattern, bool matchCase);

enum class FindDirection { Next, Previous };

// The first row after (Next) or before (Previous) `selected` for which `rowMatches` holds, or -1.
// Nothing selected (-1): Next starts at row 0, Previous searches nothing. Never wraps around.
int FindRow(int rowCount, int selected, FindDirection direction,
            const std::function<bool(int row)>& rowMatches);

}  // namespace orv
