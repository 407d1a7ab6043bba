// Tags, the change lock and the annotation store of the main window.
#include "annotations/tag_edit_dialog.h"
#include "app/command_ids.h"
#include "app/main_window.h"
#include "platform/win32/staged_ini.h"
#include "platform/win32/win32_ini.h"
#include "ui/window.h"

namespace orv {
namespace {

// A square of the colour in a one-pixel black frame, opaque, for a menu item.
HBITMAP Swatch(COLORREF color, int size) {
  std::uint32_t* pixels = nullptr;
  HBITMAP bitmap = ui::CreatePixelBitmap(size, pixels);
  if (!pixels) return bitmap;
  const std::uint32_t fill = 0xFF000000u | (GetRValue(color) << 16) | (GetGValue(color) << 8) |
                             GetBValue(color);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      pixels[y * size + x] =
          x == 0 || y == 0 || x == size - 1 || y == size - 1 ? 0xFF000000u : fill;
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
  ui::MessageBoxUtf8(handle_,
                     "タグと変更の禁止を読み込めません。\n" + appDataPath_ +
                         "\nこの実行中の変更は保存されません。",
                     "エラー", MB_OK | MB_ICONERROR);
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
    ui::MessageBoxUtf8(handle_, "タグと変更の禁止を保存できません。\n" + error, "エラー",
                       MB_OK | MB_ICONERROR);
  annotationSaveFailed_ = true;
}

void TForm1::BuildTagImages() {
  const int size = ui::Scale(16, ui::WindowDpi(handle_));
  std::vector<HBITMAP> swatches;
  swatches.push_back(Swatch(GetSysColor(COLOR_BTNFACE), size));
  for (int i = 0; i < kTagCount; ++i) swatches.push_back(Swatch(ui::ColorToRgb(tagList_->Items(i)->Color), size));
  // The context menu shows them; the main menu has none.
  for (int i = 0; i <= kTagCount; ++i) {
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_BITMAP;
    item.hbmpItem = swatches[static_cast<std::size_t>(i)];
    SetMenuItemInfoW(listMenu_, static_cast<UINT>(i == 0 ? kCmdTagNone : kCmdTag0 + i - 1), FALSE,
                     &item);
  }
  for (HBITMAP old : tagSwatches_) DeleteObject(old);
  tagSwatches_ = std::move(swatches);
}

void TForm1::ActTagExecute(int slot) {
  TProgram* r = SelectedProgram();
  if (!r) return;
  r->TagIndex = slot;
  ShowTab(TabCtrl_GetCurSel(tabStrip_));
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
  TTagEditDialog dialog(*tagList_, font_);
  if (dialog.ShowModal(instance_, handle_) != IDOK) return;
  // The window follows the edited tags even when the settings file refuses them.
  std::string error;
  try {
    StagedIni ini(iniPath_);
    tagList_->SaveToFile(ini);
    ini.Commit();
  } catch (const std::exception& e) {
    error = e.what();
  }
  BuildTagImages();
  for (int i = 0; i < kTagCount; ++i) actions_.SetCaption(kCmdTag0 + i, tagList_->Items(i)->Caption);
  ShowTab(TabCtrl_GetCurSel(tabStrip_));
  if (!error.empty()) ui::MessageBoxUtf8(handle_, error, "エラー", MB_OK | MB_ICONERROR);
}

}  // namespace orv
