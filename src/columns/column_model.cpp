#include "columns/column_model.h"

#include <algorithm>

#include "platform/ini_codec.h"

namespace orv {

namespace {

constexpr const char* kSection = "Column";
// The name and status columns always show, first: their order and check mark are not kept.
IniSave UnlessFixed(const TLvColumn& c) { return c.Id < 2 ? IniSave::Delete : IniSave::Write; }
// The status column's width is fixed.
IniSave UnlessStatus(const TLvColumn& c) { return c.Id == kColStatus ? IniSave::Delete : IniSave::Write; }
// Each column's keys carry its identifier: "Order3", "Checked3", "Width3".
constexpr IniField<TLvColumn> kColumnKeys[] = {
    {"Order", &TLvColumn::Order, UnlessFixed},
    {"Checked", &TLvColumn::Checked, UnlessFixed},
    {"Width", &TLvColumn::Width, UnlessStatus},
};

TLvColumn DefaultColumn(int id) {
  TLvColumn column(id);
  const ColumnDef& def = Columns()[static_cast<std::size_t>(id)];
  column.Caption = def.caption;
  column.Checked = def.shown;
  column.Width = def.width;
  column.Order = id + kColumnCount;
  return column;
}

}  // namespace

TLvColumnSetting::TLvColumnSetting() {
  for (int id = 0; id < kColumnCount; ++id) {
    auto column = std::make_unique<TLvColumn>(id);
    column->Caption = Columns()[static_cast<std::size_t>(id)].caption;
    ordered_.push_back(column.get());
    columns_.push_back(std::move(column));
  }
}

void TLvColumnSetting::LoadFromFile(IniProfile& ini) {
  IniCodec codec(ini);
  for (int id = 0; id < kColumnCount; ++id)
    ReadFields<TLvColumn>(codec, kSection, kColumnKeys, Items(id), DefaultColumn(id), std::to_string(id));
  Items(kColProgram).Order = -2;
  Items(kColProgram).Checked = true;
  Items(kColStatus).Order = -1;
  Items(kColStatus).Checked = true;
  SortByOrder();
}

void TLvColumnSetting::SaveToFile(IniProfile& ini) const {
  IniCodec codec(ini);
  for (int id = 0; id < kColumnCount; ++id)
    WriteFields<TLvColumn>(codec, kSection, kColumnKeys, Items(id), std::to_string(id));
}

void TLvColumnSetting::SortByOrder() {
  // Stable, so hand-edited equal orders keep identifier order.
  std::stable_sort(ordered_.begin(), ordered_.end(),
                   [](const TLvColumn* a, const TLvColumn* b) { return a->Order < b->Order; });
}

std::vector<int> TLvColumnSetting::ShownColumnIds() const {
  std::vector<int> ids;
  for (const TLvColumn* column : ordered_)
    if (column->Checked) ids.push_back(column->Id);
  return ids;
}

}  // namespace orv
