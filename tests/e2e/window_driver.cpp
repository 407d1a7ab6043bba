#include "window_driver.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/command_ids.h"

namespace orv::e2e {

bool AppWindow::Start(const std::wstring& exePath, WORD show) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  if (show != SW_SHOWDEFAULT) {
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = show;
  }
  PROCESS_INFORMATION pi{};
  std::wstring commandLine = L"\"" + exePath + L"\"";
  // An exe copied a moment ago may still be held by the process that used it before.
  bool started = false;
  for (int attempt = 0; attempt < 3 && !started; ++attempt) {
    if (attempt) Sleep(500);
    started = CreateProcessW(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                             nullptr, nullptr, &si, &pi) != FALSE;
    if (!started) std::fprintf(stderr, "CreateProcess failed: %lu\n", GetLastError());
  }
  if (!started) return false;
  CloseHandle(pi.hThread);
  process_ = pi.hProcess;
  processId_ = pi.dwProcessId;
  WaitUntil([&] {
    HWND found = nullptr;
    while ((found = FindWindowExW(nullptr, found, L"TForm1", L"Orvalinde")) != nullptr) {
      DWORD pid = 0;
      GetWindowThreadProcessId(found, &pid);
      if (pid == processId_) {
        window_ = found;
        return true;
      }
    }
    return false;
  }, 20000);
  // The first scan runs inside window creation: once the count shows, the list is filled.
  return window_ &&
         WaitUntil([&] { return Text(Control(kIdCountPanel)).find(L"個のプログラム") != std::wstring::npos; });
}

void AppWindow::Attach(HWND window) {
  window_ = window;
  GetWindowThreadProcessId(window, &processId_);
  process_ = OpenProcess(PROCESS_ALL_ACCESS, FALSE, processId_);
}

bool AppWindow::Running() const {
  return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool AppWindow::Close(int milliseconds) {
  if (!process_) return true;
  PostMessageW(window_, WM_COMMAND, MAKEWPARAM(kCmdExit, 0), 0);
  bool ended = WaitForSingleObject(process_, static_cast<DWORD>(milliseconds)) == WAIT_OBJECT_0;
  if (!ended) TerminateProcess(process_, 1);
  CloseHandle(process_);
  process_ = nullptr;
  return ended;
}

std::wstring AppWindow::Text(HWND control) const {
  wchar_t buffer[512] = {};
  SendMessageTimeoutW(control, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG,
                      5000, nullptr);
  return buffer;
}

HWND AppWindow::List() const { return Control(kIdProgramList); }

int AppWindow::RowCount() const {
  return static_cast<int>(SendMessageW(List(), LVM_GETITEMCOUNT, 0, 0));
}

namespace {

// One cell's text through a buffer inside the target process, which is made once per reading:
// a column of 20,000 rows is read through one.
std::wstring ReadCell(HWND list, RemoteBuffer& remote, int row, int column) {
  constexpr std::size_t kChars = 1024;
  LVITEMW item{};
  item.iSubItem = column;
  item.cchTextMax = kChars;
  item.pszText = static_cast<wchar_t*>(remote.At(sizeof(LVITEMW)));
  remote.Write(0, &item, sizeof item);
  SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
               reinterpret_cast<LPARAM>(remote.At(0)));
  std::wstring text(kChars, L'\0');
  remote.Read(sizeof(LVITEMW), text.data(), kChars * sizeof(wchar_t));
  text.resize(wcslen(text.c_str()));
  return text;
}

constexpr std::size_t kCellBuffer = sizeof(LVITEMW) + 1024 * sizeof(wchar_t);

}  // namespace

std::wstring AppWindow::Cell(int row, int column) const {
  RemoteBuffer remote(process_, kCellBuffer);
  return ReadCell(List(), remote, row, column);
}

std::vector<std::wstring> AppWindow::Column(int column) const {
  RemoteBuffer remote(process_, kCellBuffer);
  std::vector<std::wstring> cells;
  for (int row = 0, n = RowCount(); row < n; ++row) cells.push_back(ReadCell(List(), remote, row, column));
  return cells;
}

std::vector<std::wstring> AppWindow::Headers() const {
  HWND header = reinterpret_cast<HWND>(SendMessageW(List(), LVM_GETHEADER, 0, 0));
  int count = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
  std::vector<std::wstring> captions;
  constexpr std::size_t kChars = 256;
  RemoteBuffer remote(process_, sizeof(HDITEMW) + kChars * sizeof(wchar_t));
  for (int i = 0; i < count; ++i) {
    HDITEMW item{};
    item.mask = HDI_TEXT;
    item.cchTextMax = kChars;
    item.pszText = static_cast<wchar_t*>(remote.At(sizeof(HDITEMW)));
    remote.Write(0, &item, sizeof item);
    std::wstring empty(kChars, L'\0');
    remote.Write(sizeof(HDITEMW), empty.data(), kChars * sizeof(wchar_t));
    SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(i),
                 reinterpret_cast<LPARAM>(remote.At(0)));
    std::wstring text(kChars, L'\0');
    remote.Read(sizeof(HDITEMW), text.data(), kChars * sizeof(wchar_t));
    text.resize(wcslen(text.c_str()));
    captions.push_back(text);
  }
  return captions;
}

int AppWindow::Image(int row, int column) const {
  RemoteBuffer remote(process_, sizeof(LVITEMW));
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  item.iSubItem = column;
  item.iImage = -7;
  remote.Write(0, &item, sizeof item);
  SendMessageW(List(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote.At(0)));
  remote.Read(0, &item, sizeof item);
  return item.iImage;
}

int AppWindow::Selected() const {
  return static_cast<int>(SendMessageW(List(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void AppWindow::Select(int row) const {
  RemoteBuffer remote(process_, sizeof(LVITEMW));
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  remote.Write(0, &item, sizeof item);
  SendMessageW(List(), LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote.At(0)));
}

bool AppWindow::Enabled(int command) const {
  return (SendMessageW(window_, WM_APP + 1, static_cast<WPARAM>(command), 0) & 1) != 0;
}

bool AppWindow::Built(int command) const {
  const LRESULT state = SendMessageW(window_, WM_APP + 1, static_cast<WPARAM>(command), 0);
  return state >= 0 && (state & 4) != 0;
}

bool AppWindow::Checked(int command) const {
  return (SendMessageW(window_, WM_APP + 1, static_cast<WPARAM>(command), 0) & 2) != 0;
}

void AppWindow::ClickHeader(int position) const {
  HWND header = reinterpret_cast<HWND>(SendMessageW(List(), LVM_GETHEADER, 0, 0));
  RemoteBuffer remote(process_, sizeof(RECT));
  SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(position),
               reinterpret_cast<LPARAM>(remote.At(0)));
  RECT rect{};
  remote.Read(0, &rect, sizeof rect);
  LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(header, WM_LBUTTONUP, 0, at);
}

int AppWindow::HeaderImage(int position) const {
  HWND header = reinterpret_cast<HWND>(SendMessageW(List(), LVM_GETHEADER, 0, 0));
  RemoteBuffer remote(process_, sizeof(HDITEMW));
  HDITEMW item{};
  item.mask = HDI_FORMAT | HDI_IMAGE;
  remote.Write(0, &item, sizeof item);
  SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(position),
               reinterpret_cast<LPARAM>(remote.At(0)));
  remote.Read(0, &item, sizeof item);
  return (item.fmt & HDF_IMAGE) ? item.iImage : -1;
}

HWND AppWindow::FindDialog(const std::wstring& caption, int milliseconds) const {
  HWND found = nullptr;
  WaitUntil([&] {
    HWND candidate = nullptr;
    while ((candidate = FindWindowExW(nullptr, candidate, L"#32770", caption.c_str())) != nullptr) {
      DWORD pid = 0;
      GetWindowThreadProcessId(candidate, &pid);
      if (pid == processId_ && IsWindowVisible(candidate)) {
        found = candidate;
        return true;
      }
    }
    return false;
  }, milliseconds);
  return found;
}

HWND AppWindow::DialogWith(int controlId, int milliseconds) const {
  struct Search {
    DWORD process;
    int control;
    HWND found;
  } search{processId_, controlId, nullptr};
  WaitUntil([&] {
    EnumWindows([](HWND window, LPARAM value) -> BOOL {
      auto* s = reinterpret_cast<Search*>(value);
      DWORD process = 0;
      GetWindowThreadProcessId(window, &process);
      wchar_t name[16] = {};
      GetClassNameW(window, name, 16);
      if (process != s->process || !IsWindowVisible(window) || std::wstring(name) != L"#32770" ||
          (s->control != 0 && !GetDlgItem(window, s->control)))
        return TRUE;
      s->found = window;
      return FALSE;
    }, reinterpret_cast<LPARAM>(&search));
    return search.found != nullptr;
  }, milliseconds);
  return search.found;
}

bool AppWindow::TypeFileName(HWND fileDialog, const std::wstring& path) {
  // The name box is a combo box in the explorer style; the edit inside takes the text.
  HWND nameBox = GetDlgItem(fileDialog, kFileNameBox);
  HWND combo = FindWindowExW(nameBox, nullptr, L"ComboBox", nullptr);
  HWND edit = FindWindowExW(combo ? combo : nameBox, nullptr, L"Edit", nullptr);
  return edit && SetWindowTextW(edit, path.c_str());
}

std::wstring AppWindow::DialogText(HWND dialog) {
  // The message text of a message box is its static control 0xFFFF.
  wchar_t text[1024] = {};
  GetDlgItemTextW(dialog, 0xFFFF, text, 1024);
  return text;
}

void AppWindow::Answer(HWND dialog, int buttonId) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, buttonId)));
}

AppWindow::GuiObjects AppWindow::CountGuiObjects() const {
  GuiObjects counts;
  DWORD gdi = GetGuiResources(process_, GR_GDIOBJECTS);
  DWORD user = GetGuiResources(process_, GR_USEROBJECTS);
  if (gdi || user) {
    counts.gdi = static_cast<long>(gdi);
    counts.user = static_cast<long>(user);
    return counts;
  }
  using QueryFn = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
  auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  struct BasicInformation {
    void* reserved1;
    void* pebBaseAddress;
    void* reserved2[2];
    ULONG_PTR uniqueProcessId;
    void* reserved3;
  } info{};
  if (!query || query(process_, 0, &info, sizeof info, nullptr) != 0) return counts;
  // The 64-bit PEB keeps GdiSharedHandleTable at 0xF8; entries are 24 bytes, the type at 14.
  void* table = nullptr;
  if (!ReadProcessMemory(process_, static_cast<char*>(info.pebBaseAddress) + 0xF8, &table,
                         sizeof table, nullptr) ||
      !table)
    return counts;
  constexpr std::size_t kEntries = 65536, kEntrySize = 24;
  std::vector<unsigned char> entries(kEntries * kEntrySize);
  SIZE_T read = 0;
  ReadProcessMemory(process_, table, entries.data(), entries.size(), &read);
  long live = 0;
  for (std::size_t i = 0; i + 1 <= read / kEntrySize; ++i)
    if (const unsigned char type = entries[i * kEntrySize + 14]; type != 0) {
      ++live;
      ++counts.gdiByType[type];
    }
  counts.gdi = live;
  return counts;
}

std::wstring AppWindow::MenuText(int command, int menu) const {
  const auto atom = static_cast<ATOM>(SendMessageW(
      window_, WM_APP + 2, MAKEWPARAM(command, menu), 0));
  if (!atom) return L"";
  wchar_t text[256] = {};
  GlobalGetAtomNameW(atom, text, 256);
  GlobalDeleteAtom(atom);
  return text;
}

int AppWindow::MenuState(int command, int menu) const {
  return static_cast<int>(SendMessageW(window_, WM_APP + 3, MAKEWPARAM(command, menu), 0));
}

RECT AppWindow::CellScreenRect(int row, int subItem) const {
  RemoteBuffer remote(process_, sizeof(RECT));
  RECT rect{LVIR_BOUNDS, subItem, 0, 0};
  remote.Write(0, &rect, sizeof rect);
  SendMessageW(List(), LVM_GETSUBITEMRECT, static_cast<WPARAM>(row),
               reinterpret_cast<LPARAM>(remote.At(0)));
  remote.Read(0, &rect, sizeof rect);
  MapWindowPoints(List(), nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void AppWindow::PressKeys(const std::vector<WORD>& keys) const {
  SetForegroundWindow(window_);
  std::vector<INPUT> inputs;
  for (WORD key : keys) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    inputs.push_back(input);
  }
  for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = *it;
    input.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(input);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  // The keys are handled once the window has answered a message sent after them.
  Sleep(300);
  SendMessageW(window_, WM_NULL, 0, 0);
}

std::vector<std::uint32_t> ScreenPixels(const RECT& rect) {
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  std::vector<std::uint32_t> pixels;
  if (width <= 0 || height <= 0) return pixels;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  GdiFlush();
  const auto* p = static_cast<const std::uint32_t*>(bits);
  pixels.reserve(static_cast<std::size_t>(width) * height);
  for (int i = 0; i < width * height; ++i) pixels.push_back(p[i] & 0x00FFFFFFu);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

int AppWindow::CurrentTab() const {
  return static_cast<int>(SendMessageW(Control(kIdTabStrip), TCM_GETCURSEL, 0, 0));
}

std::wstring ExePath() {
  const wchar_t* path = _wgetenv(L"ORV_E2E_EXE");
  return path ? path : L"C:\\OrvE2E\\Orvalinde.exe";
}

std::wstring IniPath() {
  std::wstring ini = ExePath();
  return ini.replace(ini.size() - 4, 4, L".ini");
}

std::wstring InFolder(const std::wstring& folder, const wchar_t* name) { return folder + L"\\" + name; }

std::wstring FreshCopyOfExe(const std::wstring& folder) {
  CreateDirectoryW(folder.c_str(), nullptr);
  for (const wchar_t* name : {L"Orvalinde.ini", L"appdata", L"appdata.new"})
    DeleteFileW(InFolder(folder, name).c_str());
  const std::wstring exe = InFolder(folder, L"Orvalinde.exe");
  CopyFileW(ExePath().c_str(), exe.c_str(), FALSE);
  return exe;
}

int RowOf(const AppWindow& app, const std::wstring& name) {
  auto names = app.Column(0);
  auto it = std::find(names.begin(), names.end(), name);
  return it == names.end() ? -1 : static_cast<int>(it - names.begin());
}

std::optional<std::string> ReadBytes(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  std::ofstream(std::filesystem::path(path), std::ios::binary | std::ios::trunc) << bytes;
}

}  // namespace orv::e2e
