#include "app/main_window.h"

#include <windowsx.h>

#include <algorithm>
#include <stdexcept>
#include <system_error>
#include <utility>

#include <shellapi.h>

#include "app/command_ids.h"
#include "app/data_files.h"
#include "app/program_rows.h"
#include "app/startup_profile.h"
#include "catalogue/uninstall_scan.h"
#include "platform/win32/file_version.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_ini.h"
#include "ui/colors.h"
#include "ui/dpi.h"
#include "ui/message_box.h"

namespace orv {
namespace {

// The bars below the list, at 96 DPI: the buttons above, the count and the tabs below.
struct Bars {
  int buttonBarHeight, buttonWidth, buttonHeight, statusBarHeight, countPanelWidth;
};
constexpr Bars kBars{34, 88, 26, 24, 155};

}  // namespace

TForm1::TForm1() = default;

TForm1::~TForm1() {
  if (accelerators_) DestroyAcceleratorTable(accelerators_);
  if (listMenu_) DestroyMenu(listMenu_);
  if (headerMenu_) DestroyMenu(headerMenu_);
}

void TForm1::Create(HINSTANCE instance, int show) {
  instance_ = instance;
  // Taken before the first scan; only the watch changes them afterwards.
  keyCounts_ = CountAllUninstallKeys(registry_);
  // The first scan's reads need no window: they run while it is being built.
  try {
    firstReads_ = std::async(std::launch::async, [this] {
      return ReadUninstallEntries(registry_, system_, 0,
                                  {std::begin(kAllRegistryRoots), std::end(kAllRegistryRoots)},
                                  nullptr);
    });
  } catch (const std::system_error&) {
    // No thread to start: the first refresh reads on this one.
  }
  StartupMark("first scan started");
  WNDCLASSEXW wc{};
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, L"MAINICON");
  wc.hIconSm = static_cast<HICON>(LoadImageW(instance, L"MAINICON", IMAGE_ICON, 16, 16, 0));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  RegisterWindowClass(wc);
  // Placed and sized from the settings during start-up.
  const ViewSettings design;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - design.width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - design.height) / 2;
  // WM_CREATE runs start-up; a failure there is carried out of CreateWindowEx.
  HWND window = CreateFrame(kClassName, L"Orvalinde", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, x, y,
                            design.width, design.height, nullptr, instance);
  if (startupError_) std::rethrow_exception(std::exchange(startupError_, nullptr));
  if (!window) throw std::runtime_error("ウィンドウを作成できません");
  // A shortcut set to "minimised" or "maximised" wins over the stored state; a minimised start
  // still restores to the stored one.
  const bool minimized = show == SW_SHOWMINIMIZED || show == SW_MINIMIZE ||
                         show == SW_SHOWMINNOACTIVE || show == SW_FORCEMINIMIZE;
  if (minimized) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(window, &placement);
    placement.showCmd = show == SW_SHOWMINNOACTIVE ? SW_SHOWMINNOACTIVE : SW_SHOWMINIMIZED;
    if (startMaximized_) placement.flags |= WPF_RESTORETOMAXIMIZED;
    SetWindowPlacement(window, &placement);
  } else {
    ShowWindow(window, show == SW_SHOWMAXIMIZED || startMaximized_ ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
  }
  UpdateWindow(window);
  SetFocus(programList_);
  StartupMark("window shown and painted");
  WriteStartupProfile();
  TellUnreadableAnnotations();
}

bool TForm1::PreTranslateMessage(MSG& message) {
  HWND window = Handle();
  if (!window) return false;
  if (message.hwnd != window && !IsChild(window, message.hwnd)) return false;
  if (accelerators_ && ::TranslateAcceleratorW(window, accelerators_, &message)) return true;
  const bool ctrl = GetKeyState(VK_CONTROL) < 0, alt = GetKeyState(VK_MENU) < 0;
  if (message.message == WM_KEYDOWN && message.wParam == VK_TAB && !ctrl && !alt) {
    if (HWND next = GetNextDlgTabItem(window, GetFocus(), GetKeyState(VK_SHIFT) < 0)) SetFocus(next);
    return true;
  }
  if (message.message == WM_SYSCHAR)
    return actions_.PressButtonWithAccessKey(static_cast<wchar_t>(towupper(static_cast<wint_t>(message.wParam))));
  return false;
}

ui::Answer TForm1::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      // Start-up failures end the program: carry them to the entry instead of showing them here.
      try {
        FormCreate();
        return 0;
      } catch (...) {
        startupError_ = std::current_exception();
        return -1;
      }
    case WM_COMMAND: {
      // Menus and accelerators send a command id, buttons their control id.
      const int command = lParam == 0 ? LOWORD(wParam) : actions_.CommandOfButton(LOWORD(wParam));
      if (!command) return {};
      actions_.Execute(command);
      return 0;
    }
    case WM_NOTIFY: return HandleNotify(reinterpret_cast<NMHDR*>(lParam));
    case WM_INITMENUPOPUP: actions_.UpdateMenu(reinterpret_cast<HMENU>(wParam)); return 0;
    case WM_CONTEXTMENU: return ContextMenu(reinterpret_cast<HWND>(wParam), lParam);
    case WM_DROPFILES: FilesDropped(reinterpret_cast<HDROP>(wParam)); return 0;
    case WM_SIZE: LayoutControls(); return 0;
    case WM_TIMER:
      if (wParam == kWatchTimerId) WatchTimerTick();
      return 0;
    case kMsgQueryCommand: {
      const ui::Action* action = actions_.Find(static_cast<int>(wParam));
      return action ? (action->enabled ? 1 : 0) | (action->checked ? 2 : 0) | (action->onExecute ? 4 : 0)
                    : -1;
    }
    case WM_DPICHANGED: DpiChanged(HIWORD(wParam), *reinterpret_cast<RECT*>(lParam)); return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(Handle(), focus)) lastFocus_ = focus;
      } else {
        SetFocus(Handle());  // WM_SETFOCUS passes it on
      }
      return 0;
    case WM_SETFOCUS: {
      HWND target = lastFocus_ && IsWindow(lastFocus_) && IsWindowVisible(lastFocus_) &&
                            IsWindowEnabled(lastFocus_)
                        ? lastFocus_
                        : programList_;
      if (target && IsWindowVisible(target)) SetFocus(target);
      return 0;
    }
    case kMsgQueryMenuText: return QueryMenuText(wParam);
    case kMsgQueryMenuState: return QueryMenuState(wParam);
    case WM_CLOSE:
      FormClose();
      DestroyWindow(Handle());
      return 0;
    case WM_QUERYENDSESSION:
      // The session may end without a WM_CLOSE: the marks are kept now.
      SaveAnnotations(false);
      return TRUE;
    case WM_ENDSESSION:
      if (wParam) FormClose(true);
      return 0;
    case WM_DESTROY:
      SetWatchTimer(false);
      FormDestroy();
      PostQuitMessage(0);
      return 0;
    default: return {};
  }
}

ui::Answer TForm1::ContextMenu(HWND source, LPARAM screenPoint) {
  if (source != programList_) return {};
  POINT at{GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
  if (at.x == -1 && at.y == -1) {  // from the keyboard: at the selected row
    RECT row{};
    const int item = List().Selected();
    at = {0, 0};
    if (item >= 0 && ListView_GetItemRect(programList_, item, &row, LVIR_BOUNDS))
      at = {row.left + 16, row.bottom};
    ClientToScreen(programList_, &at);
  }
  ShowListContextMenu(at);
  return 0;
}

void TForm1::FormCreate() {
  dpi_ = ui::WindowDpi(Handle());
  RegisterProgramWindow();
  DragAcceptFiles(Handle(), TRUE);  // files and shortcuts dropped select their program
  SetWatchTimer(false);
  iniPath_.clear();
  stripeColor_ = ViewSettings{}.stripeColor;
  findText_.clear();
  findMatchCase_ = false;
  StartupMark("window created");

  // Beside the exe, or in the per-user folder where the exe's folder cannot be written.
  std::string perUserFolder = system_.ExpandEnvironment("%APPDATA%");
  perUserFolder = perUserFolder.find('%') == std::string::npos && !perUserFolder.empty()
                      ? perUserFolder + "\\Orvalinde"
                      : std::string();
  const DataFiles files = ChooseDataFiles(system_, Narrow(ExecutablePath()), perUserFolder);
  iniPath_ = files.iniPath;
  appDataPath_ = files.appDataPath;

  actions_.AddCommands(Commands(), *this);
  accelerators_ = actions_.CreateAccelerators();
  CreateControls();
  ApplySystemFont();
  StartupMark("actions, controls and font");

  Win32Ini ini(iniPath_);
  columnSetting_ = std::make_unique<TLvColumnSetting>();
  columnSetting_->LoadFromFile(ini);
  ApplyColumnSetting();
  StartupMark("columns read and made");

  tagList_ = std::make_unique<TTagList>([](TColor color) { return ui::ColorToRgb(color); });
  tagList_->LoadFromFile(ini);
  ShowTagCaptions();
  StartupMark("tags read");
  CreateMenus();
  StartupMark("menus");
  BuildTagImages();
  StartupMark("tag swatches");

  LoadSettings(iniPath_);
  programs_ = std::make_unique<ProgramList>();
  LoadAnnotations();
  StartupMark("settings and annotations read");

  CreateListImages();
  SelectTab(kTabApplications);
  StartupMark("images and first tab");
  // By name: the first fill sorts once.
  sortState_ = 1;
  actions_.Execute(kCmdRefresh);
  StartupMark("first scan: reads waited for, hooks, rows sorted");
  SetWatchTimer(true);
}

void TForm1::FormClose(bool sessionEnding) {
  // The marks go first and on their own: a failed settings write must not lose them, nor
  // they the settings. Nothing that fails here keeps the window from closing.
  try {
    SaveAnnotations(!sessionEnding);
  } catch (...) {
  }
  try {
    SaveSettings();
    ReadColumnWidths();
    SaveSections([this](IniProfile& ini) { columnSetting_->SaveToFile(ini); });
  } catch (...) {
  }
}

void TForm1::FormDestroy() {
  programs_.reset();
  columnSetting_.reset();
  tagList_.reset();
  extInfoList_.reset();
  if (listMenu_) DestroyMenu(std::exchange(listMenu_, nullptr));  // before its swatches go
  tagSwatches_.clear();
  for (HIMAGELIST* list : {&listImages_, &sortMarks_}) {
    if (*list) ImageList_Destroy(*list);
    *list = nullptr;
  }
}

void TForm1::CreateControls() {
  const DWORD child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  auto control = [&](DWORD exStyle, const wchar_t* className, DWORD style, int id) {
    return CreateWindowExW(exStyle, className, L"", child | style, 0, 0, 0, 0, Handle(),
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
  };
  programList_ = control(WS_EX_CLIENTEDGE, WC_LISTVIEWW,
                         WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDATA | LVS_SINGLESEL |
                             LVS_SHAREIMAGELISTS,
                         kIdProgramList);
  List().SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_SUBITEMIMAGES,
                          LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_SUBITEMIMAGES);
  SetWindowSubclass(List().Header(), StatusColumnGuard, 1, reinterpret_cast<DWORD_PTR>(this));
  // The button bar holds the buttons of the command table, the first row's rightmost. They are
  // made left to right, which is their tab order.
  std::vector<const Command*> buttonRows;
  for (const Command& command : Commands())
    if (command.button) buttonRows.insert(buttonRows.begin(), &command);
  for (const Command* command : buttonRows) {
    HWND button = control(0, WC_BUTTONW, WS_TABSTOP | BS_PUSHBUTTON, command->button);
    actions_.BindButton(command->id, button);
    buttons_.insert(buttons_.begin(), button);
  }
  countPanel_ = control(0, WC_STATICW, SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX, kIdCountPanel);
  tabStrip_ = control(0, WC_TABCONTROLW, WS_TABSTOP | TCS_BOTTOM, kIdTabStrip);
  const wchar_t* captions[] = {L"アプリケーション", L"更新プログラム"};
  for (int i = 0; i < 2; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(captions[i]);
    TabCtrl_InsertItem(tabStrip_, i, &item);
  }
  LayoutControls();
}

void TForm1::LayoutControls() {
  if (!programList_) return;
  RECT client;
  GetClientRect(Handle(), &client);
  const UINT dpi = ui::WindowDpi(Handle());
  const int w = client.right, h = client.bottom;
  const int status = ui::Scale(kBars.statusBarHeight, dpi);
  const int bar = ui::Scale(kBars.buttonBarHeight, dpi);
  const int bw = ui::Scale(kBars.buttonWidth, dpi), bh = ui::Scale(kBars.buttonHeight, dpi);
  const int gap = ui::Scale(4, dpi);
  const int listHeight = std::max(0, h - status - bar);
  const int show = listPanelVisible_ ? SW_SHOW : SW_HIDE;
  MoveWindow(programList_, 0, 0, w, listHeight, TRUE);
  ShowWindow(programList_, show);
  const int buttonTop = listHeight + (bar - bh) / 2;
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    const int right = w - static_cast<int>(i) * (gap + bw) - gap;
    MoveWindow(buttons_[i], right - bw, buttonTop, bw, bh, TRUE);
    ShowWindow(buttons_[i], show);
  }
  const int count = ui::Scale(kBars.countPanelWidth, dpi);
  MoveWindow(countPanel_, 0, h - status, count, status, TRUE);
  MoveWindow(tabStrip_, count, h - status, std::max(0, w - count), status, TRUE);
  actions_.FollowButtons();
}

void TForm1::ApplySystemFont() {
  // When the system cannot be asked, the controls keep the font they have.
  HFONT font = ui::CreateSystemMenuFont(dpi_);
  if (!font) return;
  font_.Reset(font);
  for (HWND control : {programList_, tabStrip_, countPanel_})
    if (control) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  for (HWND button : buttons_) SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void TForm1::DpiChanged(UINT dpi, const RECT& suggested) {
  if (dpi == 0 || dpi == dpi_) {
    SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  ReadColumnWidths();  // at the old DPI, into 96-DPI values
  dpi_ = dpi;
  SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  ApplySystemFont();
  CreateListImages();
  ApplyColumnSetting();
  if (sortState_ != 0) SortByColumn(sortState_);
  BuildTagImages();
  LayoutControls();
  // Program icons are read by a scan only: rescan at the new size.
  actions_.Execute(kCmdRefresh);
}

void TForm1::ReportDrawingFailure() {
  if (drawingFailureShown_) return;
  drawingFailureShown_ = true;  // before the box: its own painting may fail again
  std::string message;
  try {
    throw;
  } catch (const std::exception& e) {
    message = e.what();
  } catch (...) {
  }
  ui::ShowFailure(Handle(), message.c_str());
}

}  // namespace orv
