// What the list shows: which records stand on a tab, and the text of each cell.
#pragma once
#include <string>
#include <vector>

#include "annotations/tag_list.h"
#include "catalogue/program.h"
#include "platform/system_services.h"

namespace orv {

enum ProgramTab : int { kTabApplications = 0, kTabUpdates = 1 };

// Positions in `programs` of the records that belong on `tab`, in record order.
std::vector<int> BuildTabRows(const ProgramList& programs, int tab, bool showSystemComponents);

// The text of one cell, by column identifier.
std::string CellText(const TProgram& program, int columnId, const TTagList& tags,
                     SystemServices& system);

// " " and the count text that the status panel shows.
std::string ProgramCountText(std::size_t rows);

}  // namespace orv
