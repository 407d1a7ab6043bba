// Which of the 22 list columns are shown, in which order and how wide.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "columns/column_table.h"
#include "platform/ini_profile.h"

namespace orv {

struct TLvColumn {
  explicit TLvColumn(int id) : Id(id) {}
  std::int32_t Id;
  std::int32_t Order = 0;
  bool Checked = true;
  std::int32_t Width = 20;
  std::string Caption;
};

class TLvColumnSetting {
 public:
  TLvColumnSetting();
  void LoadFromFile(IniProfile& ini);
  void SaveToFile(IniProfile& ini) const;
  void SortByOrder();
  int Count() const { return kColumnCount; }
  TLvColumn& Items(int id) { return *columns_[static_cast<std::size_t>(id)]; }
  const TLvColumn& Items(int id) const { return *columns_[static_cast<std::size_t>(id)]; }
  TLvColumn& OrderedItems(int i) { return *ordered_[static_cast<std::size_t>(i)]; }
  const TLvColumn& OrderedItems(int i) const { return *ordered_[static_cast<std::size_t>(i)]; }
  // Identifiers of the shown columns in display order: what the list's columns become.
  std::vector<int> ShownColumnIds() const;

 private:
  std::vector<std::unique_ptr<TLvColumn>> columns_;
  std::vector<TLvColumn*> ordered_;
};

}  // namespace orv
