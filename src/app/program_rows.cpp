#include "app/program_rows.h"

#include "catalogue/uninstall_scan.h"

namespace orv {

std::vector<int> BuildTabRows(const ProgramList& programs, int tab, bool showSystemComponents) {
  std::vector<int> rows;
  if (tab != kTabApplications && tab != kTabUpdates) return rows;
  rows.reserve(programs.size());
  for (std::size_t i = 0; i < programs.size(); ++i) {
    const TProgram& p = programs[i];
    if (!showSystemComponents && p.SystemComponent) continue;
    if (IsUpdateProgram(&p) != (tab == kTabUpdates)) continue;
    rows.push_back(static_cast<int>(i));
  }
  return rows;
}

std::string ProgramCountText(std::size_t rows) {
  return " " + std::to_string(rows) + " 個のプログラム";
}

}  // namespace orv
