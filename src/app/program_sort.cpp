#include "app/program_sort.h"

#include <algorithm>
#include <cstdlib>

#include "columns/column_table.h"

namespace orv {
namespace {

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
  const ColumnDef* column = ColumnOf(id);
  if (column && column->number) {
    std::vector<std::int64_t> keys;
    keys.reserve(rows.size());
    for (int row : rows) {
      const TProgram* p = program(row);
      keys.push_back(p ? column->number(*p, system) : 0);
    }
    SortByKeys(rows, std::move(keys), ascending);
    return;
  }
  std::vector<std::string> keys;
  keys.reserve(rows.size());
  for (int row : rows) {
    const TProgram* p = program(row);
    keys.push_back(p ? system.TextSortKey(CellText(*p, id, tags, system)) : std::string());
  }
  SortByKeys(rows, std::move(keys), ascending);
}

}  // namespace orv
