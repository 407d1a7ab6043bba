#include "columns/column_model.h"

#include <algorithm>

#include "platform/ini_codec.h"

namespace orv {

const std::array<ColumnDefault, kColumnCount> kColumnDefaults = {{
    {"プログラム", true, 300},
    {"ステータス", true, 16},
    {"発行元", true, 130},
    {"バージョン", false, 50},
    {"予想サイズ", false, 80},
    {"サポート情報", false, 150},
    {"製品情報", false, 150},
    {"アップデート情報", false, 150},
    {"電話番号", false, 150},
    {"問い合わせ先", false, 150},
    {"説明ファイル", false, 150},
    {"メモ", false, 150},
    {"インストール日", true, 80},
    {"リリースタイプ", false, 100},
    {"インストール場所", false, 150},
    {"インストール元", false, 150},
    {"サイズ", true, 80},
    {"使用頻度", false, 80},
    {"最終使用", true, 120},
    {"ファイル名", true, 150},
    {"タグ", true, 80},
    {"レジストリ", false, 80},
}};

namespace {
constexpr const char* kSection = "Column";
std::string KeyOf(const char* word, int id) { return word + std::to_string(id); }
}  // namespace

TLvColumnSetting::TLvColumnSetting() {
  for (int id = 0; id < kColumnCount; ++id) {
    auto column = std::make_unique<TLvColumn>(id);
    column->Caption = kColumnDefaults[static_cast<std::size_t>(id)].caption;
    ordered_.push_back(column.get());
    columns_.push_back(std::move(column));
  }
}

void TLvColumnSetting::LoadFromFile(IniProfile& ini) {
  IniCodec codec(ini);
  for (int id = 0; id < kColumnCount; ++id) {
    TLvColumn& e = Items(id);
    const ColumnDefault& d = kColumnDefaults[static_cast<std::size_t>(id)];
    e.Checked = codec.ReadBool(kSection, KeyOf("Checked", id), d.shown);
    e.Width = codec.ReadInteger(kSection, KeyOf("Width", id), d.width);
    e.Order = codec.ReadInteger(kSection, KeyOf("Order", id), id + 22);
  }
  Items(kColProgram).Order = -2;
  Items(kColProgram).Checked = true;
  Items(kColStatus).Order = -1;
  Items(kColStatus).Checked = true;
  SortByOrder();
}

void TLvColumnSetting::SaveToFile(IniProfile& ini) const {
  IniCodec codec(ini);
  for (int id = 0; id < kColumnCount; ++id) {
    const TLvColumn& e = Items(id);
    if (id >= 2) {
      codec.WriteInteger(kSection, KeyOf("Order", id), e.Order);
      codec.WriteBool(kSection, KeyOf("Checked", id), e.Checked);
    } else {
      codec.DeleteKey(kSection, KeyOf("Order", id));
      codec.DeleteKey(kSection, KeyOf("Checked", id));
    }
    if (id == kColStatus)
      codec.DeleteKey(kSection, KeyOf("Width", id));
    else
      codec.WriteInteger(kSection, KeyOf("Width", id), e.Width);
  }
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
