// The 22 list columns, each declared once: its identifier, caption, default width and
// visibility, the text of its cells and, for number columns, its sort key. Filling, sorting,
// the CSV export, the settings keys and the display-item dialog all go by this table.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "annotations/tag_list.h"
#include "catalogue/program.h"
#include "platform/system_services.h"

namespace orv {

inline constexpr int kColumnCount = 22;

// Stable identifiers: the settings keys carry them ("Width3"), so a number never changes.
enum ColumnId : int {
  kColProgram = 0, kColStatus, kColPublisher, kColVersion, kColEstimatedSize, kColHelpLink,
  kColUrlInfoAbout, kColUrlUpdateInfo, kColTelephone, kColContact, kColReadme, kColComments,
  kColInstallDate, kColReleaseType, kColInstallLocation, kColInstallSource, kColInstallSize,
  kColUsageFrequency, kColLastUsed, kColFileName, kColTag, kColRegistry,
};

struct ColumnDef {
  int id;
  const char* caption;
  int width;   // default, at 96 DPI
  bool shown;  // by default
  std::string (*text)(const TProgram&, const TTagList&, SystemServices&);
  // The sort key of a number column; none: sorted by its text as the locale compares it.
  std::int64_t (*number)(const TProgram&, SystemServices&) = nullptr;
};

// In identifier order: Columns()[id].id == id.
const std::array<ColumnDef, kColumnCount>& Columns();
// The column of an identifier; null for one outside 0 to 21.
const ColumnDef* ColumnOf(int id);

// The text of one cell, by column identifier.
std::string CellText(const TProgram& program, int columnId, const TTagList& tags,
                     SystemServices& system);

// 1 when locked, plus 2 when new: what the status column sorts by.
int StatusWeight(const TProgram& program);

// The status column is always this wide and cannot be widened.
inline constexpr int kStatusColumnWidth = 16;

}  // namespace orv
