// The list's own commands: find, the CSV export, the display-item dialog and the version dialog.
#include "app/main_window.h"

#include <commdlg.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "app/command_ids.h"
#include "app/csv_export.h"
#include "app/program_rows.h"
#include "columns/display_item_dialog.h"
#include "dialogs/about_dialog.h"
#include "dialogs/find_dialog.h"
#include "platform/win32/file_output.h"
#include "platform/win32/system_error.h"
#include "platform/win32/wide.h"
#include "text/find_matcher.h"
#include "ui/modal_scope.h"

namespace orv {

std::string TForm1::ShownCellText(int item, int position) {
  const TProgram* program = ProgramOfItem(item);
  if (!program || position < 0 || position >= static_cast<int>(columnIds_.size())) return {};
  const int id = columnIds_[static_cast<std::size_t>(position)];
  if (id == kColStatus) return {};
  return CellText(*program, id, *tagList_, system_);
}

void TForm1::ActFindExecute() {
  TFindDataDialog dialog(font_.Get(), findText_, findMatchCase_);
  if (!dialog.Execute(instance_, Handle())) return;
  findText_ = dialog.Text();
  findMatchCase_ = dialog.MatchCase();
  actions_.Execute(kCmdFindNext);
}

void TForm1::ActFindNextExecute() { FindFrom(FindDirection::Next); }

void TForm1::ActFindPrevExecute() { FindFrom(FindDirection::Previous); }

void TForm1::FindFrom(FindDirection direction) {
  const int count = static_cast<int>(rows_.size());
  const int columns = static_cast<int>(columnIds_.size());
  auto rowMatches = [&](int row) {
    for (int position = 0; position < columns; ++position)
      if (FindTextMatches(ShownCellText(row, position), findText_, findMatchCase_)) return true;
    return false;
  };
  const int found = FindRow(count, List().Selected(), direction, rowMatches);
  if (found >= 0) SelectRow(found);
}

void TForm1::ActSaveProgListExecute() {
  if (!programList_) return;
  std::wstring file(32768, L'\0');
  const wchar_t filter[] = L"csvファイル(*.csv)\0*.csv\0すべてのファイル\0*.*\0";
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = Handle();
  dialog.lpstrFilter = filter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrDefExt = L"csv";
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_ENABLESIZING |
                 OFN_EXPLORER;
  {
    ui::ModalScope modal(Handle());
    if (!GetSaveFileNameW(&dialog)) return;
  }
  file.resize(wcslen(file.c_str()));

  // The view as it stands: shown columns left to right, rows top to bottom.
  std::string text;
  std::vector<std::string> fields;
  for (int id : columnIds_) fields.push_back(id == kColStatus ? std::string() : columnSetting_->Items(id).Caption);
  text += CsvLine(fields);
  for (int row = 0, rows = static_cast<int>(rows_.size()); row < rows; ++row) {
    for (std::size_t position = 0; position < fields.size(); ++position)
      fields[position] = ShownCellText(row, static_cast<int>(position));
    text += CsvLine(fields);
  }
  const std::optional<std::string> bytes = Utf8ToCodePage932(text);
  if (!bytes)
    throw std::runtime_error("ファイル \"" + Narrow(file) + "\" に書き込めません。" +
                             SystemErrorText(GetLastError()));
  ReplaceFileContents(Narrow(file), *bytes);
}

void TForm1::ActDispItemSettingExecute() {
  ReadColumnWidths();
  TDispItemSettingDialog dialog(*columnSetting_);
  if (!dialog.Execute(instance_, Handle())) return;
  // The choice is applied even when the settings file refuses it; the refusal is told after.
  std::exception_ptr saveError;
  try {
    SaveSections([this](IniProfile& ini) { columnSetting_->SaveToFile(ini); });
  } catch (...) {
    saveError = std::current_exception();
  }
  ApplyColumnSetting();
  actions_.Execute(kCmdRefresh);
  if (saveError) std::rethrow_exception(saveError);
}

void TForm1::ActVersionExecute() {
  TAboutDialog dialog(font_.Get());
  dialog.Execute(instance_, Handle());
}

}  // namespace orv
