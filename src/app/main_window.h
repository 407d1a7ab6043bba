// The main window: the program list in two tabs, its menus, buttons and status panel.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "annotations/tag_list.h"
#include "catalogue/program.h"
#include "columns/column_model.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_system.h"
#include "ui/action.h"

namespace orv {

class TForm1 {
 public:
  static constexpr const wchar_t* kClassName = L"TForm1";

  TForm1();
  ~TForm1();
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  // Creates the window; start-up runs inside. Throws what start-up throws.
  void Create(HINSTANCE instance);
  HWND Handle() const { return handle_; }
  // Accelerators for the main window and its children only.
  bool TranslateAccelerator(MSG& message);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleNotify(NMHDR* header);

  // Lifecycle (main_window.cpp).
  void FormCreate();
  void FormClose();
  void FormDestroy();
  void CreateControls();
  void LayoutControls();
  void ApplySystemFont();
  void ApplyFont(HFONT font);

  // Actions and menus (main_actions.cpp).
  void CreateActions();
  void CreateMenus();
  void ShowListContextMenu(POINT screen);
  void ListView1ColumnRightClick();

  // List population (program_list_view.cpp).
  void ActRefreshExecute();
  void ShowTab(int tab);
  void ShowPrograms(const ProgramList* programs, int tab);
  void UpdateProgramCount();
  void ApplyColumnSetting();
  void ReadColumnWidths();
  void ReloadStatusImages();
  void FillDisplayInfo(NMLVDISPINFOW& info);
  void TabSet1Change(int newTab);
  void SelectTab(int tab);

  HWND handle_ = nullptr;
  std::exception_ptr startupError_;
  HINSTANCE instance_ = nullptr;
  HWND ListView1 = nullptr;
  HWND TabSet1 = nullptr;
  HWND Panel5 = nullptr;
  HWND modifyButton_ = nullptr;
  HWND removeButton_ = nullptr;
  bool listPanelVisible_ = true;
  HIMAGELIST ImageList1 = nullptr;
  HMENU MainMenu1 = nullptr;
  HMENU PopupMenu1 = nullptr;
  HMENU PopupMenu2 = nullptr;
  HACCEL accelerators_ = nullptr;
  HFONT font_ = nullptr;

  Win32Registry registry_;
  Win32System system_;
  ui::ActionList ActionList1;

  std::string IniPath;
  std::string AppDataPath;
  TColor StripeColor = 15790320;
  std::string FindText;
  bool FindMatchCase = false;
  std::unique_ptr<TTagList> TagList;
  std::unique_ptr<TLvColumnSetting> ColumnSetting;
  std::unique_ptr<ProgramList> Programs;
  std::int32_t HkcuKeyCount = -1;
  std::int32_t HklmKeyCount = -1;
  std::int32_t Hklm32KeyCount = -1;

  // The list's rows: positions in Programs, for the owner-data list view.
  std::vector<int> rows_;
  std::vector<int> columnIds_;  // the list's columns, left to right, by identifier
  int shownTab_ = 0;            // the tab whose rows the list holds
  int sortState_ = 0;           // the list's sort state: +-(position + 1), 0 = none
  std::wstring cellBuffer_;
};

}  // namespace orv
