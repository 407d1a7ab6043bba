#include "app/program_sort.h"

#include <algorithm>
#include <cstdlib>

#include "app/program_rows.h"
#include "catalogue/program_text.h"
#include "columns/column_model.h"

namespace orv {
namespace {

// Days since 1899-12-30 with the time of day as fraction: the value last-use times compare as.
double DateTimeValue(const CalendarTime& t) {
  // Days from civil, shifted so that 1899-12-30 is day 0.
  int y = t.year - (t.month <= 2);
  int era = (y >= 0 ? y : y - 399) / 400;
  int yoe = y - era * 400;
  int mp = (t.month + 9) % 12;
  int doy = (153 * mp + 2) / 5 + t.day - 1;
  int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  double days = era * 146097.0 + doe - 719468.0 + 25569.0;
  double fraction = (t.hour * 3600000.0 + t.minute * 60000.0 + t.second * 1000.0 + t.millisecond) /
                    86400000.0;
  return days + fraction;
}

template <typename Key>
void SortByKeys(std::vector<int>& rows, std::vector<Key> keys, bool ascending) {
  // keys[i] belongs to rows[i]; sort an index permutation, then apply it.
  std::vector<std::size_t> order(rows.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  if (ascending)
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
  else
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return keys[b] < keys[a]; });
  std::vector<int> sorted(rows.size());
  for (std::size_t i = 0; i < order.size(); ++i) sorted[i] = rows[order[i]];
  rows.swap(sorted);
}

}  // namespace

int ClampSortState(int state, int columnCount) {
  if (state == 0 || std::abs(state) > columnCount) return 1;
  return state;
}

int NextSortState(int current, int clickedPosition) {
  int p = clickedPosition + 1;
  return std::abs(current) == p ? -current : p;
}

int StatusWeight(const TProgram& program) {
  return (program.ChangeAllowed ? 0 : 1) + (program.IsNew ? 2 : 0);
}

void SortRows(std::vector<int>& rows, const ProgramList& programs, int sortState,
              const std::vector<int>& columnIds, const TTagList& tags, SystemServices& system) {
  if (sortState == 0 || rows.empty()) return;
  const std::size_t position = static_cast<std::size_t>(std::abs(sortState) - 1);
  if (position >= columnIds.size()) return;
  const int id = columnIds[position];
  const bool ascending = sortState > 0;
  auto program = [&](int row) -> const TProgram* {
    return row >= 0 && static_cast<std::size_t>(row) < programs.size()
               ? &programs[static_cast<std::size_t>(row)]
               : nullptr;
  };
  auto numeric = [&](auto keyOf) {
    using Key = decltype(keyOf(programs.front()));
    std::vector<Key> keys;
    keys.reserve(rows.size());
    for (int row : rows) {
      const TProgram* p = program(row);
      keys.push_back(p ? keyOf(*p) : Key{});
    }
    SortByKeys(rows, std::move(keys), ascending);
  };
  switch (id) {
    case kColStatus: numeric([](const TProgram& p) { return StatusWeight(p); }); return;
    case kColEstimatedSize: numeric([](const TProgram& p) { return p.EstimatedSize; }); return;
    case kColInstallSize: numeric([](const TProgram& p) { return p.InstallSize; }); return;
    case kColUsageFrequency: numeric([](const TProgram& p) { return p.UsageFrequency; }); return;
    case kColLastUsed:
      numeric([&](const TProgram& p) {
        auto time = FileTimeToDateTime(system, static_cast<std::uint32_t>(p.LastUsed),
                                       static_cast<std::uint32_t>(p.LastUsed >> 32));
        return time ? DateTimeValue(*time) : 0.0;
      });
      return;
    default: {
      std::vector<std::string> keys;
      keys.reserve(rows.size());
      for (int row : rows) {
        const TProgram* p = program(row);
        keys.push_back(p ? system.TextSortKey(CellText(*p, id, tags, system)) : std::string());
      }
      SortByKeys(rows, std::move(keys), ascending);
    }
  }
}

}  // namespace orv
