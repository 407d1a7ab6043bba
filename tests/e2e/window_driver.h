// Drives a running Orvalinde.exe from another process: finds its window, posts its commands,
// reads its list view across the process boundary.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace orv::e2e {

inline bool WaitUntil(const std::function<bool()>& condition, int milliseconds = 10000) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (std::chrono::steady_clock::now() < deadline) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return condition();
}

// Memory inside the target process, for messages that carry pointers.
class RemoteBuffer {
 public:
  RemoteBuffer(HANDLE process, std::size_t size) : process_(process), size_(size) {
    address_ = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
  ~RemoteBuffer() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;
  void* At(std::size_t offset) const { return static_cast<char*>(address_) + offset; }
  void Write(std::size_t offset, const void* data, std::size_t size) {
    WriteProcessMemory(process_, At(offset), data, size, nullptr);
  }
  void Read(std::size_t offset, void* data, std::size_t size) const {
    ReadProcessMemory(process_, At(offset), data, size, nullptr);
  }

 private:
  HANDLE process_;
  std::size_t size_;
  void* address_ = nullptr;
};

class AppWindow {
 public:
  // Starts the exe and waits for its main window; false when it did not appear.
  bool Start(const std::wstring& exePath, WORD show = SW_SHOWDEFAULT);
  void Attach(HWND window);
  // Asks the window to close and waits for the process to end.
  bool Close(int milliseconds = 15000);
  bool Running() const;
  HWND Handle() const { return window_; }
  HANDLE Process() const { return process_; }

  void Command(int id) const { SendMessageW(window_, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
  HWND Control(int id) const { return GetDlgItem(window_, id); }
  std::wstring Text(HWND control) const;

  int RowCount() const;
  std::wstring Cell(int row, int column) const;
  std::vector<std::wstring> Column(int column) const;
  std::vector<std::wstring> Headers() const;
  int Image(int row, int column = 0) const;
  int Selected() const;
  void Select(int row) const;
  int CurrentTab() const;

  // Enabled and checked state of a command, from the window itself.
  bool Enabled(int command) const;
  bool Checked(int command) const;
  // Whether the command is built: it has a handler (an unbuilt one stays disabled).
  bool Built(int command) const;
  // A real click on a column header, as the mouse would give it.
  void ClickHeader(int position) const;
  // The sort image on a header (-1 when it shows none).
  int HeaderImage(int position) const;
  // The process's GDI and USER object counts. Wine answers GetGuiResources with 0; there the
  // GDI count comes from the process's GDI handle table and the USER count is unknown (-1).
  struct GuiObjects {
    long gdi = -1;
    long user = -1;
    std::map<int, long> gdiByType;  // from the handle table only: its type byte, and how many
  };
  GuiObjects CountGuiObjects() const;
  // A command's menu item as the menu shows it when opened: menu 0 is the main menu, 1 the
  // list's context menu. Text "" and state -1 when the menu has no such item.
  std::wstring MenuText(int command, int menu) const;
  int MenuState(int command, int menu) const;
  // A list cell's rectangle on the screen.
  RECT CellScreenRect(int row, int subItem) const;
  // Real keystrokes to the window, as the keyboard gives them: the keys go down in order and
  // come up in reverse.
  void PressKeys(const std::vector<WORD>& keys) const;
  // A message box of the program with this caption, or null.
  HWND FindDialog(const std::wstring& caption, int milliseconds = 5000) const;
  // A visible dialog or message box of the program holding the control `controlId` (any one
  // for 0), whatever its caption; null when none appears in time.
  HWND DialogWith(int controlId, int milliseconds = 5000) const;
  // The control id of the file name box in the system's open and save dialogs.
  static constexpr int kFileNameBox = 0x47C;
  // Puts `path` into a file dialog's name box, as typing would; false when it has none.
  static bool TypeFileName(HWND fileDialog, const std::wstring& path);
  static std::wstring DialogText(HWND dialog);
  static void Answer(HWND dialog, int buttonId);

 private:
  HWND List() const;
  HWND window_ = nullptr;
  HANDLE process_ = nullptr;
  DWORD processId_ = 0;
};

// The screen's pixels in a rectangle, row by row, as 0x00RRGGBB.
std::vector<std::uint32_t> ScreenPixels(const RECT& rect);

// The exe under test, as run_e2e.sh placed it.
std::wstring ExePath();
// `folder\name`.
std::wstring InFolder(const std::wstring& folder, const wchar_t* name);
// The exe alone in `folder`, without settings or marks; its path.
std::wstring FreshCopyOfExe(const std::wstring& folder);
// The row whose program column shows `name`, or -1.
int RowOf(const AppWindow& app, const std::wstring& name);
// The INI file beside the exe.
std::wstring IniPath();
// A whole file's bytes; nothing when it cannot be opened.
std::optional<std::string> ReadBytes(const std::wstring& path);
void WriteBytes(const std::wstring& path, const std::string& bytes);

}  // namespace orv::e2e
