#include "columns/display_items.h"

#include <utility>

namespace orv {

DisplayItemList::DisplayItemList(const TLvColumnSetting& setting) {
  for (int i = 0; i < setting.Count(); ++i) {
    const TLvColumn& column = setting.OrderedItems(i);
    if (column.Id == kColProgram || column.Id == kColStatus) continue;
    rows_.push_back({column.Id, column.Caption, column.Checked});
  }
}

void DisplayItemList::SetChecked(int index, bool checked) {
  if (Valid(index)) rows_[static_cast<std::size_t>(index)].checked = checked;
}

int DisplayItemList::MoveUp(int index) {
  if (!Valid(index) || index == 0) return index;
  std::swap(rows_[static_cast<std::size_t>(index)], rows_[static_cast<std::size_t>(index - 1)]);
  return index - 1;
}

int DisplayItemList::MoveDown(int index) {
  if (!Valid(index) || index + 1 == static_cast<int>(rows_.size())) return index;
  std::swap(rows_[static_cast<std::size_t>(index)], rows_[static_cast<std::size_t>(index + 1)]);
  return index + 1;
}

void DisplayItemList::ApplyTo(TLvColumnSetting& setting) const {
  for (std::size_t k = 0; k < rows_.size(); ++k) {
    TLvColumn& column = setting.Items(rows_[k].id);
    column.Checked = rows_[k].checked;
    column.Order = static_cast<std::int32_t>(k);
  }
  setting.SortByOrder();
}

std::optional<int> ParseColumnWidth(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (text.empty() || text.size() > 5) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value > 32767) return std::nullopt;
  return value;
}

}  // namespace orv
