// Sorting the list's rows by the column at a display position, in either direction.
#pragma once
#include <vector>

#include "annotations/tag_list.h"
#include "catalogue/program.h"
#include "platform/system_services.h"

namespace orv {

// The sort state: +(position + 1) ascending, -(position + 1) descending, 0 = not sorted yet.
int ClampSortState(int state, int columnCount);
// A header click: the same column flips direction, another sorts ascending.
int NextSortState(int current, int clickedPosition);

// Sorts `rows` (positions in `programs`) by the state's column, by its number key or else its
// text; equal keys keep their order.
void SortRows(std::vector<int>& rows, const ProgramList& programs, int sortState,
              const std::vector<int>& columnIds, const TTagList& tags, SystemServices& system);

}  // namespace orv
