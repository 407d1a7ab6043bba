// The one base of the program's windows: the main window, the modal dialogs, the modeless
// property window and its pages.
//
// One procedure for windows of a class and one for dialogs of a template find the object from
// the handle (stored at WM_NCCREATE or WM_INITDIALOG), run its handler inside Guarded, and give
// what it answers to Windows.
//
// One lifetime rule: an object outlives its window. At WM_NCDESTROY the base forgets the handle
// and calls OnDestroyed; a handler that runs a box or a menu may find the window gone when it
// returns (Destroyed()) and must then touch nothing of it. A modeless window's object is made
// with new and frees itself (FreeWithWindow) once its window is gone and no handler of it, nor
// of a window that belongs to it (BelongTo), is still running.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace orv::ui {

// What a handler answers: a result, or nothing for the default processing.
using Answer = std::optional<LRESULT>;

class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND Handle() const { return handle_; }
  HWND Item(int id) const { return GetDlgItem(handle_, id); }
  std::string ItemText(int id) const;
  void SetItemText(int id, const std::string& text) const;

  // The keyboard of a program window before dispatch (accelerators, dialog navigation); true
  // when the message was used.
  virtual bool PreTranslateMessage(MSG& message);
  // Offers a message of the main loop to every program window, in the order they were made.
  static bool PreTranslateForProgramWindows(MSG& message);

 protected:
  // Every message of the window, guarded.
  virtual Answer OnMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // The window is gone: Handle() is null from here on.
  virtual void OnDestroyed() {}

  // A window of a class registered with RegisterWindowClass; WM_CREATE runs inside.
  HWND CreateFrame(const wchar_t* className, const wchar_t* caption, DWORD style, int x, int y,
                   int width, int height, HWND owner, HINSTANCE instance);
  static void RegisterWindowClass(WNDCLASSEXW windowClass);
  // A modeless or child dialog from a template; WM_INITDIALOG runs inside.
  HWND CreateFromTemplate(HINSTANCE instance, int templateId, HWND parent);
  // A modal dialog from a template; answers what it ended with, -1 when it could not be shown.
  INT_PTR RunModalTemplate(HINSTANCE instance, int templateId, HWND owner);

  // A top-level window of the program: disabled by modal boxes, offered the loop's messages.
  void RegisterProgramWindow();
  void FreeWithWindow() { freeWithWindow_ = true; }
  // This window's object lives as long as `holder` (a page of a window): a handler of it keeps
  // the holder alive.
  void BelongTo(Window& holder) { holder_ = &holder; }
  bool Destroyed() const { return destroyed_; }

 private:
  friend class HandlerRunning;
  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static Window* Find(HWND window);
  void Attach(HWND window);
  // Runs the handler and the lifetime rule; `window` is the handle the message came to.
  Answer Receive(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND handle_ = nullptr;
  Window* holder_ = nullptr;
  int running_ = 0;  // handlers of this object (and of those belonging to it) on the stack
  bool destroyed_ = false;
  bool freeWithWindow_ = false;
  bool programWindow_ = false;
};

// A modal dialog from a template, centred on its owner and kept within the owner's monitor.
class ModalDialog : public Window {
 public:
  // Shows the template inside a ModalScope; answers the id the dialog closed with (IDOK,
  // IDCANCEL). Throws when the dialog cannot be shown.
  INT_PTR ShowModal(HINSTANCE instance, int templateId, HWND owner);

 protected:
  HWND Owner() const { return owner_; }
  void End(INT_PTR result) { EndDialog(Handle(), result); }

  virtual void OnInit() {}
  // A button or control notification; IDOK and IDCANCEL close the dialog unless handled.
  virtual bool OnCommand(int id, int code) {
    (void)id;
    (void)code;
    return false;
  }
  // Every other message.
  virtual Answer OnDialogMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    (void)message;
    (void)wParam;
    (void)lParam;
    return {};
  }

 private:
  Answer OnMessage(UINT message, WPARAM wParam, LPARAM lParam) final;
  HWND owner_ = nullptr;
};

// A dialog that lives inside another window (a page): its object belongs to that window's.
class ChildDialog : public Window {
 public:
  explicit ChildDialog(Window& holder) { BelongTo(holder); }
  bool Create(HINSTANCE instance, int templateId, HWND parent, int controlId);
};

// Answers WM_GETMINMAXINFO with `minimum` (outer pixels; nothing while it is zero) as the
// smallest size to drag `window` to, but never more than its monitor's work area, so that a
// window made to fit a small screen can keep that size.
void SetMinimumTrackSize(HWND window, LPARAM minMaxInfo, SIZE minimum);

}  // namespace orv::ui
