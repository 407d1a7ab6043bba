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
#include "platform/win32/wide.h"
#include "platform/win32/staged_ini.h"
#include "platform/win32/win32_ini.h"
#include "ui/window.h"

namespace orv {
namespace {

constexpr int kDesignWidth = 720;
constexpr int kDesignHeight = 500;
constexpr int kCountPanelWidth = 155;
constexpr int kButtonBarHeight = 34;
constexpr int kStatusBarHeight = 24;
constexpr int kButtonWidth = 88;
constexpr int kButtonHeight = 26;

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}


}  // namespace

TForm1::TForm1() = default;

TForm1::~TForm1() {
  if (accelerators_) DestroyAcceleratorTable(accelerators_);
  if (listMenu_) DestroyMenu(listMenu_);
  if (headerMenu_) DestroyMenu(headerMenu_);
  if (font_) DeleteObject(font_);
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
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, L"MAINICON");
  wc.hIconSm = static_cast<HICON>(LoadImageW(instance, L"MAINICON", IMAGE_ICON, 16, 16, 0));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  RegisterClassExW(&wc);
  int x = (GetSystemMetrics(SM_CXSCREEN) - kDesignWidth) / 2;
  int y = (GetSystemMetrics(SM_CYSCREEN) - kDesignHeight) / 2;
  // WM_CREATE runs start-up; a failure there is carried out of CreateWindowEx.
  HWND window = CreateWindowExW(0, kClassName, L"Orvalinde", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                x, y, kDesignWidth, kDesignHeight, nullptr, nullptr, instance, this);
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
  if (!handle_) return false;
  if (message.hwnd != handle_ && !IsChild(handle_, message.hwnd)) return false;
  if (accelerators_ && ::TranslateAcceleratorW(handle_, accelerators_, &message)) return true;
  const bool ctrl = GetKeyState(VK_CONTROL) < 0, alt = GetKeyState(VK_MENU) < 0;
  if (message.message == WM_KEYDOWN && message.wParam == VK_TAB && !ctrl && !alt) {
    if (HWND next = GetNextDlgTabItem(handle_, GetFocus(), GetKeyState(VK_SHIFT) < 0)) SetFocus(next);
    return true;
  }
  if (message.message == WM_SYSCHAR) {
    const wchar_t key = static_cast<wchar_t>(towupper(static_cast<wint_t>(message.wParam)));
    for (auto [button, command] : {std::pair{removeButton_, static_cast<int>(kCmdRemoveProgram)},
                                   std::pair{modifyButton_, static_cast<int>(kCmdModifyProgram)}}) {
      const ui::Action* action = actions_.Find(command);
      if (!action || !IsWindowVisible(button) || ui::AccessKey(action->caption) != key) continue;
      if (action->enabled) actions_.Execute(command);
      return true;
    }
  }
  return false;
}

LRESULT CALLBACK TForm1::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  TForm1* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<TForm1*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->handle_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<TForm1*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_CREATE) {
    // Start-up failures end the program: carry them to the entry instead of showing them here.
    try {
      self->FormCreate();
      return 0;
    } catch (...) {
      self->startupError_ = std::current_exception();
      return -1;
    }
  }
  LRESULT result = 0;  // what a message whose handler failed answers
  ui::Guarded(window, [&] { result = self->HandleMessage(message, wParam, lParam); });
  if (message == WM_NCDESTROY) {
    ui::ModalScope::RemoveProgramWindow(window);
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->handle_ = nullptr;
  }
  return result;
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (lParam == 0 || LOWORD(wParam) == kIdModifyButton || LOWORD(wParam) == kIdRemoveButton) {
        int id = LOWORD(wParam);
        if (id == kIdModifyButton) id = kCmdModifyProgram;
        if (id == kIdRemoveButton) id = kCmdRemoveProgram;
        actions_.Execute(id);
        return 0;
      }
      break;
    case WM_NOTIFY: return HandleNotify(reinterpret_cast<NMHDR*>(lParam));
    case WM_INITMENUPOPUP: actions_.UpdateMenu(reinterpret_cast<HMENU>(wParam)); return 0;
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wParam) == programList_) {
        POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (at.x == -1 && at.y == -1) {  // from the keyboard: at the selected row
          RECT row{};
          int item = ListView_GetNextItem(programList_, -1, LVNI_SELECTED);
          at = {0, 0};
          if (item >= 0 && ListView_GetItemRect(programList_, item, &row, LVIR_BOUNDS))
            at = {row.left + 16, row.bottom};
          ClientToScreen(programList_, &at);
        }
        ShowListContextMenu(at);
        return 0;
      }
      break;
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
        if (focus && IsChild(handle_, focus)) lastFocus_ = focus;
      } else {
        SetFocus(handle_);  // WM_SETFOCUS passes it on
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
      DestroyWindow(handle_);
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
    default: break;
  }
  return DefWindowProcW(handle_, message, wParam, lParam);
}

void TForm1::FormCreate() {
  dpi_ = ui::WindowDpi(handle_);
  ui::ModalScope::AddProgramWindow(handle_);
  DragAcceptFiles(handle_, TRUE);  // files and shortcuts dropped select their program
  SetWatchTimer(false);
  iniPath_.clear();
  stripeColor_ = 15790320;
  findText_.clear();
  findMatchCase_ = false;
  StartupMark("window created");

  // Beside the exe, or in the per-user folder where the exe's folder cannot be written.
  std::string perUserFolder = system_.ExpandEnvironment("%APPDATA%");
  perUserFolder = perUserFolder.find('%') == std::string::npos && !perUserFolder.empty()
                      ? perUserFolder + "\\Orvalinde"
                      : std::string();
  const DataFiles files = ChooseDataFiles(system_, Narrow(ModulePath()), perUserFolder);
  iniPath_ = files.iniPath;
  appDataPath_ = files.appDataPath;

  CreateActions();
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
  for (int i = 0; i < kTagCount; ++i)
    actions_.SetCaption(kCmdTag0 + i, tagList_->Items(i)->Caption);
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
    SaveSettings(iniPath_);
    ReadColumnWidths();
    StagedIni ini(iniPath_);
    columnSetting_->SaveToFile(ini);
    ini.Commit();
  } catch (...) {
  }
}

void TForm1::FormDestroy() {
  programs_.reset();
  columnSetting_.reset();
  tagList_.reset();
  extInfoList_.reset();
  if (listMenu_) DestroyMenu(std::exchange(listMenu_, nullptr));  // before its swatches go
  for (HBITMAP swatch : tagSwatches_) DeleteObject(swatch);
  tagSwatches_.clear();
  for (HIMAGELIST* list : {&listImages_, &sortMarks_}) {
    if (*list) ImageList_Destroy(*list);
    *list = nullptr;
  }
}

void TForm1::CreateControls() {
  const DWORD child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  programList_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                              child | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDATA |
                                  LVS_SINGLESEL | LVS_SHAREIMAGELISTS,
                              0, 0, 0, 0, handle_,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdProgramList)),
                              instance_, nullptr);
  ListView_SetExtendedListViewStyle(programList_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER |
                                                   LVS_EX_SUBITEMIMAGES);
  SetWindowSubclass(ListView_GetHeader(programList_), StatusColumnGuard, 1,
                    reinterpret_cast<DWORD_PTR>(this));
  modifyButton_ = CreateWindowExW(0, WC_BUTTONW, L"", child | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0,
                                  0, handle_,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdModifyButton)),
                                  instance_, nullptr);
  removeButton_ = CreateWindowExW(0, WC_BUTTONW, L"", child | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0,
                                  0, handle_,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdRemoveButton)),
                                  instance_, nullptr);
  actions_.BindButton(kCmdModifyProgram, modifyButton_);
  actions_.BindButton(kCmdRemoveProgram, removeButton_);
  countPanel_ = CreateWindowExW(0, WC_STATICW, L"", child | SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX, 0,
                           0, 0, 0, handle_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdCountPanel)), instance_,
                           nullptr);
  tabStrip_ = CreateWindowExW(0, WC_TABCONTROLW, L"", child | WS_TABSTOP | TCS_BOTTOM, 0, 0, 0, 0,
                            handle_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdTabStrip)),
                            instance_, nullptr);
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
  GetClientRect(handle_, &client);
  const UINT dpi = ui::WindowDpi(handle_);
  const int w = client.right, h = client.bottom;
  const int status = ui::Scale(kStatusBarHeight, dpi);
  const int bar = ui::Scale(kButtonBarHeight, dpi);
  const int bw = ui::Scale(kButtonWidth, dpi), bh = ui::Scale(kButtonHeight, dpi);
  const int gap = ui::Scale(4, dpi);
  const int listHeight = std::max(0, h - status - bar);
  const int show = listPanelVisible_ ? SW_SHOW : SW_HIDE;
  MoveWindow(programList_, 0, 0, w, listHeight, TRUE);
  const int buttonTop = listHeight + (bar - bh) / 2;
  MoveWindow(removeButton_, w - gap - bw, buttonTop, bw, bh, TRUE);
  MoveWindow(modifyButton_, w - 2 * (gap + bw), buttonTop, bw, bh, TRUE);
  ShowWindow(programList_, show);
  ShowWindow(removeButton_, show);
  ShowWindow(modifyButton_, show);
  const int count = ui::Scale(kCountPanelWidth, dpi);
  MoveWindow(countPanel_, 0, h - status, count, status, TRUE);
  MoveWindow(tabStrip_, count, h - status, std::max(0, w - count), status, TRUE);
}

void TForm1::ApplySystemFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  // The font of the window's monitor where the system can tell it (Windows 10 1607 on).
  using ForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
  static auto forDpi = reinterpret_cast<ForDpiFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "SystemParametersInfoForDpi")));
  const bool read = forDpi ? forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi_) != FALSE
                           : SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0) != FALSE;
  if (!read) return;
  HFONT font = CreateFontIndirectW(&metrics.lfMenuFont);
  if (font) ApplyFont(font);
}

void TForm1::ApplyFont(HFONT font) {
  if (font_ && font_ != font) DeleteObject(font_);
  font_ = font;
  for (HWND control : {programList_, tabStrip_, countPanel_, modifyButton_, removeButton_})
    if (control) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void TForm1::DpiChanged(UINT dpi, const RECT& suggested) {
  if (dpi == 0 || dpi == dpi_) {
    SetWindowPos(handle_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  ReadColumnWidths();  // at the old DPI, into 96-DPI values
  dpi_ = dpi;
  SetWindowPos(handle_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
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
  ui::ShowFailure(handle_, message.c_str());
}

}  // namespace orv
