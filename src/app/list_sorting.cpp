// Header-click sorting of the owner-data rows, the header marks, and the selected record.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "app/command_availability.h"
#include "app/command_ids.h"
#include "app/main_window.h"
#include "app/program_sort.h"
#include "dialogs/property_dialog.h"
#include "ui/colors.h"
#include "ui/gdi.h"

namespace orv {
namespace {

constexpr int kAscendingImage = 0;
constexpr int kDescendingImage = 1;
constexpr int kBlankImage = 2;

// A grey triangle, 5 wide and 3 high at 16x16, in the right half of the cell, drawn at `size`
// pixels by nearest neighbour; the blank image is the same picture with nothing drawn.
HBITMAP SortBitmap(int image, int size, HBITMAP& mask) {
  std::uint32_t* pixels = nullptr;
  HBITMAP color = ui::CreatePixelBitmap(size, pixels);
  // Monochrome rows are word-aligned, most significant bit first; 1 = transparent.
  const int stride = (size + 15) / 16 * 2;
  std::vector<std::uint8_t> maskBytes(static_cast<std::size_t>(stride * size), 0xFF);
  for (int y = 0; y < size && pixels; ++y) {
    const int fy = y * 16 / size;
    const int row = image == kAscendingImage ? fy - 7 : 7 - fy;  // down: rows 7-9, up: rows 5-7
    if (image == kBlankImage || row < 0 || row > 2) continue;
    for (int x = 0; x < size; ++x) {
      const int fx = x * 16 / size;
      if (fx < 9 + row || fx > 13 - row) continue;
      pixels[y * size + x] = ui::colors::SortMarkPixel();
      maskBytes[static_cast<std::size_t>(y * stride + x / 8)] &= static_cast<std::uint8_t>(~(0x80 >> (x % 8)));
    }
  }
  mask = CreateBitmap(size, size, 1, 1, maskBytes.data());
  return color;
}

}  // namespace

void TForm1::CreateSortImages() {
  if (sortMarks_) ImageList_Destroy(sortMarks_);
  const int size = SmallImageSize();
  sortMarks_ = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 3, 0);
  for (int image = 0; image < 3; ++image) {
    HBITMAP mask = nullptr;
    HBITMAP color = SortBitmap(image, size, mask);
    ImageList_Add(sortMarks_, color, mask);
    DeleteObject(color);
    DeleteObject(mask);
  }
}

const TProgram* TForm1::ProgramOfItem(int item) const {
  if (!programs_ || item < 0 || item >= static_cast<int>(rows_.size())) return nullptr;
  const int position = rows_[static_cast<std::size_t>(item)];
  if (position < 0 || position >= static_cast<int>(programs_->size())) return nullptr;
  return &(*programs_)[static_cast<std::size_t>(position)];
}

TProgram* TForm1::SelectedProgram() { return const_cast<TProgram*>(ProgramOfItem(List().Selected())); }

void TForm1::SelectRow(int row) {
  List().Select(row);
  List().EnsureVisible(row, true);  // a partly visible row counts as visible
}

void TForm1::ListViewColumnClick(int position) { SortByColumn(NextSortState(sortState_, position)); }

void TForm1::SortByColumn(int state) {
  state = ClampSortState(state, static_cast<int>(columnIds_.size()));
  sortState_ = state;
  // The selection belongs to a program, not a position: find it again after the move.
  const ui::ListView list = List();
  const int selected = list.Selected();
  const int selectedRow = selected >= 0 && selected < static_cast<int>(rows_.size())
                              ? rows_[static_cast<std::size_t>(selected)]
                              : -1;
  changeHandlerAttached_ = false;
  SortRows(rows_, *programs_, state, columnIds_, *tagList_, system_);
  if (selectedRow >= 0) {
    auto it = std::find(rows_.begin(), rows_.end(), selectedRow);
    list.ClearSelection();
    list.Select(static_cast<int>(it - rows_.begin()));
  }
  changeHandlerAttached_ = true;
  InvalidateRect(programList_, nullptr, FALSE);
  ProgramListChange();
  for (int i = 0; i < static_cast<int>(columnIds_.size()); ++i) SetHeaderSortImage(i, kBlankImage);
  SetHeaderSortImage(std::abs(state) - 1, state > 0 ? kAscendingImage : kDescendingImage);
}

void TForm1::SetHeaderSortImage(int position, int image) {
  HWND header = List().Header();
  if (!header) return;
  Header_SetImageList(header, sortMarks_);
  HDITEMW item{};
  item.mask = HDI_FORMAT;
  if (!Header_GetItem(header, position, &item)) return;
  item.mask = HDI_FORMAT | HDI_IMAGE;
  item.fmt |= HDF_IMAGE | HDF_BITMAP_ON_RIGHT;
  item.iImage = image;
  Header_SetItem(header, position, &item);
}

void TForm1::ProgramListChange() {
  if (!changeHandlerAttached_) return;
  const TProgram* r = SelectedProgram();
  actions_.ApplyState(Commands(), ComputeAvailability(r, system_));
  if (PropertyDialog) PropertyDialog->SetProgram(r);
}

}  // namespace orv
