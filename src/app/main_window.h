// The main window: the program list in two tabs, its menus, buttons and status panel.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <exception>
#include <functional>
#include <future>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "annotations/annotation_store.h"
#include "annotations/tag_list.h"
#include "app/command_availability.h"
#include "app/view_settings.h"
#include "catalogue/program.h"
#include "catalogue/registry_watch.h"
#include "catalogue/uninstall_scan.h"
#include "columns/column_model.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_system.h"
#include "text/find_matcher.h"
#include "ui/action.h"
#include "ui/gdi.h"
#include "ui/list_view.h"
#include "ui/window.h"

namespace orv {

struct CommandPlan;
enum class CleanupCommand;
struct EntryIdentity;

// Window messages a test driver or an accessibility tool may send. Answers the state of the
// command whose id is wParam: bit 0 enabled, bit 1 checked, bit 2 built (it has a handler),
// -1 for an unknown id.
inline constexpr UINT kMsgQueryCommand = WM_APP + 1;
// The text of a command's menu item as the menu shows it when opened, as a global atom that the
// asker deletes: LOWORD(wParam) is the command id, HIWORD(wParam) 0 for the main menu and 1 for
// the list's context menu. 0 when that menu has no such item.
inline constexpr UINT kMsgQueryMenuText = WM_APP + 2;
// The state flags (MF_GRAYED, MF_CHECKED) of that item as the menu shows it when opened, with
// the same wParam; -1 when the menu has no such item.
inline constexpr UINT kMsgQueryMenuState = WM_APP + 3;

// The menus the command table places its commands in.
enum MenuId : int {
  kMenuBar = 1,   // the main menu's bar
  kMenuProgram,   // "プログラム(&P)"
  kMenuTags,      // "タグ(&T)", in the program menu and in the list's context menu
  kMenuEdit,      // "編集(&E)"
  kMenuAdvanced,  // "高度な操作(&A)"
  kMenuView,      // "表示(&V)"
  kMenuMove,      // "移動(&O)"
  kMenuHelp,      // "ヘルプ(&H)"
  kMenuList,      // the list's context menu
  kMenuHeader,    // the column headers' context menu
};

class TForm1 : public ui::Window {
 public:
  static constexpr const wchar_t* kClassName = L"TForm1";
  using Command = ui::CommandRow<TForm1, CommandAvailability>;

  TForm1();
  ~TForm1() override;

  // Creates the window and shows it as `show` asks (the show command Windows passed at start);
  // start-up runs inside. Throws what start-up throws.
  void Create(HINSTANCE instance, int show);
  // The main window's keyboard before dispatch: accelerators, Tab between the controls and
  // the buttons' access keys, for the main window and its children only. True when handled.
  bool PreTranslateMessage(MSG& message) override;

  // Every command of the window, one row each, and the submenus they stand in.
  static std::span<const Command> Commands();
  static std::span<const ui::SubmenuRow> Submenus();

 private:
  template <int Slot>
  static constexpr Command TagCommand();
  ui::Answer OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  ui::Answer HandleNotify(NMHDR* header);
  ui::Answer ContextMenu(HWND source, LPARAM screenPoint);

  // Lifecycle (main_window.cpp).
  void FormCreate();
  // `sessionEnding`: Windows is ending the session, so no box may hold it up.
  void FormClose(bool sessionEnding = false);
  void FormDestroy();
  void CreateControls();
  void LayoutControls();
  void ApplySystemFont();
  void DpiChanged(UINT dpi, const RECT& suggested);
  // One box for the first failure while painting or answering a cell; the window goes on.
  void ReportDrawingFailure();
  ui::ListView List() const { return ui::ListView(programList_); }

  // Menus (main_actions.cpp, with the command table).
  void CreateMenus();
  void ShowListContextMenu(POINT screen);
  // Brings the menu a query names up to date, as opening it would.
  HMENU QueriedMenu(WPARAM wParam);
  LRESULT QueryMenuText(WPARAM wParam);
  LRESULT QueryMenuState(WPARAM wParam);
  void HeaderRightClick();
  void ActGoNextTabExecute();
  void ActGoPrevTabExecute();

  // List population (program_list_view.cpp).
  void ActRefreshExecute();
  // F5 rereads every entry; the watch's refresh keeps the records of unchanged entries.
  void RefreshPrograms(bool rereadAll);
  void ShowTab(int tab);
  void ShowPrograms(const ProgramList* programs, int tab);
  void UpdateProgramCount();
  void ApplyColumnSetting();
  void ReadColumnWidths();
  void ReloadStatusImages();
  // The list's small images and the header's sort marks, at the window's DPI.
  void CreateListImages();
  int SmallImageSize() const;
  // The row at or after `start`, wrapping once, whose name starts with `prefix`; -1 for none.
  int FindRowByPrefix(const std::wstring& prefix, int start) const;
  bool IsStatusColumn(int position) const;
  static LRESULT CALLBACK StatusColumnGuard(HWND header, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR id, DWORD_PTR data);
  void FillDisplayInfo(NMLVDISPINFOW& info);
  void TabStripChange(int newTab);
  void SelectTab(int tab);
  int CurrentTab() const { return TabCtrl_GetCurSel(tabStrip_); }

  // Tags, the change lock and the annotation store (annotation_commands.cpp).
  void ActTagExecute(int slot);
  void ActEditTagExecute();
  void ActDisableChangeExecute();
  void BuildTagImages();
  void ShowTagCaptions();
  void LoadAnnotations();
  // Once the window is on screen: its marks could not be read and will not be saved.
  void TellUnreadableAnnotations();
  // Rebuilds the store from the records and writes "appdata"; a failure is told once, and
  // again only after a save has worked in between.
  void SaveAnnotations(bool tellFailure);

  // Sorting and selection (list_sorting.cpp).
  void ListViewColumnClick(int position);
  void SortByColumn(int state);
  void SetHeaderSortImage(int position, int image);
  void CreateSortImages();
  const TProgram* ProgramOfItem(int item) const;
  TProgram* SelectedProgram();
  // Selects, focuses and scrolls to one row.
  void SelectRow(int row);
  void ProgramListChange();

  // Drawing (list_drawing.cpp).
  LRESULT ListViewCustomDraw(NMLVCUSTOMDRAW& draw);
  void ApplyGridLines();

  // Settings (main_settings.cpp).
  void LoadSettings(const std::string& path);
  // The view options and the window size.
  void SaveSettings();
  // Writes sections through a staged copy of the settings file, which then replaces it whole;
  // throws what the writes throw.
  void SaveSections(const std::function<void(IniProfile&)>& save) const;

  // Uninstall, modify, repair (program_commands.cpp) and the registry watch.
  void ActRemoveProgramExecute();
  void ActModifyProgramExecute();
  void ActRepairProgramExecute();
  void RunPlan(const CommandPlan& plan);
  bool LaunchCommand(const std::string& commandLine);
  void WatchTimerTick();
  void SetWatchTimer(bool enabled);

  // Find, list export, display items, version dialog (list_commands.cpp).
  void ActFindExecute();
  void ActFindNextExecute();
  void ActFindPrevExecute();
  void FindFrom(FindDirection direction);
  void ActSaveProgListExecute();
  void ActDispItemSettingExecute();
  void ActVersionExecute();
  // The text a shown cell displays, by row and display position; the status cell is empty.
  std::string ShownCellText(int item, int position);
  // Registry clean-up (cleanup_commands.cpp), shell actions (shell_commands.cpp) and the
  // shortcut drop (files_dropped.cpp).
  void ActRemoveRegEntryExecute();
  void ActDeleteSlowInfoCacheExecute();
  void RunCleanupCommand(CleanupCommand command);
  void ActOpenFolderExecute();
  void ActOpenURLInfoAboutExecute();
  void ActExecuteProgramExecute();
  void ActCopyAppNameExecute();
  void ActHomePageExecute();
  void FilesDropped(HDROP drop);

  // Properties, rename and comment (entry_commands.cpp).
  void ActPropertyExecute();
  void ActRenameExecute();
  void ActEditCommentExecute();
  void EditComment(const EntryIdentity& entry);

  UINT dpi_ = 96;                // the DPI the layout, columns and images are made for
  HWND lastFocus_ = nullptr;     // the control to give the focus back to on activation
  bool drawingFailureShown_ = false;
  std::exception_ptr startupError_;
  HINSTANCE instance_ = nullptr;
  HWND programList_ = nullptr;
  HWND tabStrip_ = nullptr;
  HWND countPanel_ = nullptr;
  std::vector<HWND> buttons_;  // of the command table's rows, right to left
  bool listPanelVisible_ = true;
  HIMAGELIST listImages_ = nullptr;
  HMENU mainMenu_ = nullptr;
  HMENU listMenu_ = nullptr;
  HMENU headerMenu_ = nullptr;
  HACCEL accelerators_ = nullptr;
  ui::Font font_;

  Win32Registry registry_;
  RegistryWatch watch_{registry_};
  Win32System system_;
  ui::ActionList actions_;

  std::string iniPath_;
  std::string appDataPath_;
  TColor stripeColor_ = ViewSettings{}.stripeColor;
  std::string findText_;
  bool findMatchCase_ = false;
  std::unique_ptr<TTagList> tagList_;
  std::unique_ptr<TLvColumnSetting> columnSetting_;
  std::unique_ptr<ProgramList> programs_;
  std::unique_ptr<TProgramExtInfoList> extInfoList_;
  bool scanComplete_ = false;          // programs_ holds a whole scan, fit to rebuild the store
  bool annotationFileUnreadable_ = false;  // "appdata" is there but could not be read: keep it
  bool annotationSaveFailed_ = false;  // the last save failed and was told
  // The tag swatches beside the context menu's tag items: "なし(&N)" first, then slot 0 to 4.
  std::vector<ui::Bitmap> tagSwatches_;
  // Last seen Uninstall subkey counts of the three roots, taken at start-up and by the watch.
  UninstallKeyCounts keyCounts_{-1, -1, -1};
  HIMAGELIST sortMarks_ = nullptr;  // header sort marks: ascending, descending, blank

  // The list's rows: positions in programs_, for the owner-data list view.
  std::vector<int> rows_;
  std::vector<int> columnIds_;  // the list's columns, left to right, by identifier
  int shownTab_ = 0;            // the tab whose rows the list holds
  int sortState_ = 0;           // the list's sort state: +-(position + 1), 0 = none
  bool changeHandlerAttached_ = true;
  bool startMaximized_ = false;
  static constexpr UINT_PTR kWatchTimerId = 1;
  std::wstring cellBuffer_;
  // The first scan's registry reads, started before the window is built (declared last: it
  // is waited for before the registry and the services it reads through go).
  std::future<ScanReads> firstReads_;
};

}  // namespace orv
