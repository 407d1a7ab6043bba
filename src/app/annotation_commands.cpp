// Tags, the change lock and the annotation store of the main window.
#include "annotations/tag_edit_dialog.h"
#include "app/command_ids.h"
#include "app/main_window.h"
#include "ui/colors.h"
#include "ui/dpi.h"
#include "ui/gdi.h"
#include "ui/message_box.h"

namespace orv {
namespace {

// A square of the colour in a one-pixel black frame, opaque, for a menu item.
HBITMAP Swatch(COLORREF color, int size) {
  std::uint32_t* pixels = nullptr;
  HBITMAP bitmap = ui::CreatePixelBitmap(size, pixels);
  if (!pixels) return bitmap;
  const std::uint32_t fill = ui::OpaquePixel(color), frame = ui::OpaquePixel(ui::colors::SwatchFrame());
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      pixels[y * size + x] = x == 0 || y == 0 || x == size - 1 || y == size - 1 ? frame : fill;
  return bitmap;
}

}  // namespace

void TForm1::LoadAnnotations() {
  extInfoList_ = std::make_unique<TProgramExtInfoList>();
  // A file that is there but cannot be read must not be replaced by an empty store: this run
  // keeps its marks in memory only.
  if (std::optional<std::string> bytes = system_.ReadWholeFile(appDataPath_))
    extInfoList_->LoadFromBytes(*bytes, system_);
  else
    annotationFileUnreadable_ = system_.FileExists(appDataPath_);
}

void TForm1::TellUnreadableAnnotations() {
  if (!annotationFileUnreadable_) return;
  ui::ShowError(Handle(), "タグと変更の禁止を読み込めません。\n" + appDataPath_ +
                             "\nこの実行中の変更は保存されません。");
}

void TForm1::SaveAnnotations(bool tellFailure) {
  if (!extInfoList_ || !programs_ || annotationFileUnreadable_) return;
  // A list that a failed scan left short keeps the records of the programs it could not read.
  if (scanComplete_)
    RebuildFromPrograms(*extInfoList_, *programs_);
  else
    MergeFromPrograms(*extInfoList_, *programs_);
  const std::string error = extInfoList_->SaveToFile(appDataPath_, system_);
  if (error.empty()) {
    annotationSaveFailed_ = false;
    return;
  }
  if (!tellFailure) return;
  if (!annotationSaveFailed_)
    ui::ShowError(Handle(), "タグと変更の禁止を保存できません。\n" + error);
  annotationSaveFailed_ = true;
}

void TForm1::BuildTagImages() {
  const int size = ui::Scale(16, ui::WindowDpi(Handle()));
  std::vector<ui::Bitmap> swatches;
  swatches.emplace_back(Swatch(ui::colors::NoTagSwatch(), size));
  for (int i = 0; i < kTagCount; ++i) swatches.emplace_back(Swatch(ui::ColorToRgb(tagList_->Items(i)->Color), size));
  // The context menu shows them; the main menu has none.
  for (int i = 0; i <= kTagCount; ++i) {
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_BITMAP;
    item.hbmpItem = swatches[static_cast<std::size_t>(i)].Get();
    SetMenuItemInfoW(listMenu_, static_cast<UINT>(i == 0 ? kCmdTagNone : kCmdTag0 + i - 1), FALSE,
                     &item);
  }
  tagSwatches_ = std::move(swatches);  // the old ones go now that no item shows them
}

void TForm1::ShowTagCaptions() {
  for (int i = 0; i < kTagCount; ++i) actions_.SetCaption(kCmdTag0 + i, tagList_->Items(i)->Caption);
}

void TForm1::ActTagExecute(int slot) {
  TProgram* r = SelectedProgram();
  if (!r) return;
  r->TagIndex = slot;
  ShowTab(CurrentTab());
  // The row shows its new colour only when it is not highlighted.
  ListView_SetItemState(programList_, -1, 0, LVIS_SELECTED);
  SaveAnnotations(true);
}

void TForm1::ActDisableChangeExecute() {
  TProgram* r = SelectedProgram();
  if (!r) return;
  r->ChangeAllowed = !actions_.IsChecked(kCmdDisableChange);
  InvalidateRect(programList_, nullptr, FALSE);
  ProgramListChange();
  SaveAnnotations(true);
}

void TForm1::ActEditTagExecute() {
  TTagEditDialog dialog(*tagList_, font_.Get());
  if (dialog.ShowModal(instance_, Handle()) != IDOK) return;
  // The window follows the edited tags even when the settings file refuses them.
  std::string error;
  try {
    SaveSections([this](IniProfile& ini) { tagList_->SaveToFile(ini); });
  } catch (const std::exception& e) {
    error = e.what();
  }
  BuildTagImages();
  ShowTagCaptions();
  ShowTab(CurrentTab());
  if (!error.empty()) ui::ShowError(Handle(), error);
}

}  // namespace orv
