// Which records stand on a tab, and the count the status panel shows. The cells' texts come
// from the column table (columns/column_table.h).
#pragma once
#include <string>
#include <vector>

#include "catalogue/program.h"
#include "columns/column_table.h"

namespace orv {

enum ProgramTab : int { kTabApplications = 0, kTabUpdates = 1 };

// Positions in `programs` of the records that belong on `tab`, in record order.
std::vector<int> BuildTabRows(const ProgramList& programs, int tab, bool showSystemComponents);

// " " and the count text that the status panel shows.
std::string ProgramCountText(std::size_t rows);

}  // namespace orv
