// What the display-item dialog edits: the optional columns in display order with their check
// marks, moved row by row, written into the column model on OK.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "columns/column_model.h"

namespace orv {

struct DisplayItemRow {
  int id;
  std::string caption;
  bool checked;
};

class DisplayItemList {
 public:
  // The optional columns (all but the program name and the status) in display order.
  explicit DisplayItemList(const TLvColumnSetting& setting);
  const std::vector<DisplayItemRow>& Rows() const { return rows_; }
  void SetChecked(int index, bool checked);
  // Swap the row with its neighbour; answer the moved row's new index, or `index` itself
  // when nothing moved (no row, first row up, last row down).
  int MoveUp(int index);
  int MoveDown(int index);
  // Order 0, 1, ... in row order and the check marks; the fixed columns stay in front.
  void ApplyTo(TLvColumnSetting& setting) const;

 private:
  bool Valid(int index) const { return index >= 0 && index < static_cast<int>(rows_.size()); }
  std::vector<DisplayItemRow> rows_;
};

// A column width typed by the user: decimal 0 to 32767, blanks around it allowed. Anything
// else (letters, a sign, the list control's negative "auto size" values, widths the header
// cannot hold) is no width.
std::optional<int> ParseColumnWidth(std::string_view text);

}  // namespace orv
