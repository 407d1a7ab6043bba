#include "ui/window.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "ui/dpi.h"
#include "ui/guarded.h"
#include "ui/modal_scope.h"
#include "ui/text.h"

namespace orv::ui {
namespace {

// The UI thread's only, in the order the windows were made.
std::vector<Window*> programWindows;

// Dialog messages whose answer is the procedure's return value, not DWLP_MSGRESULT.
bool AnswersDirectly(UINT message) {
  return message == WM_INITDIALOG || message == WM_CHARTOITEM || message == WM_COMPAREITEM ||
         message == WM_VKEYTOITEM || message == WM_QUERYDRAGICON ||
         (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC);
}

}  // namespace

// Marks a handler of `window` on the stack; the last one out frees an object whose window is
// gone and that frees itself.
class HandlerRunning {
 public:
  explicit HandlerRunning(Window& window) : root_(window.holder_ ? *window.holder_ : window) {
    ++root_.running_;
  }
  ~HandlerRunning() {
    if (--root_.running_ == 0 && root_.destroyed_ && root_.freeWithWindow_) delete &root_;
  }
  HandlerRunning(const HandlerRunning&) = delete;
  HandlerRunning& operator=(const HandlerRunning&) = delete;

 private:
  Window& root_;
};

Window::~Window() {
  if (handle_) SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);  // no message finds us again
  programWindows.erase(std::remove(programWindows.begin(), programWindows.end(), this),
                       programWindows.end());
}

std::string Window::ItemText(int id) const { return WindowTextUtf8(Item(id)); }

void Window::SetItemText(int id, const std::string& text) const { SetWindowTextUtf8(Item(id), text); }

bool Window::PreTranslateMessage(MSG&) { return false; }

bool Window::PreTranslateForProgramWindows(MSG& message) {
  // By index: a window may be destroyed, and leave the list, while it handles the message.
  for (std::size_t i = 0; i < programWindows.size(); ++i) {
    Window* window = programWindows[i];
    HandlerRunning running(*window);
    if (window->handle_ && window->PreTranslateMessage(message)) return true;
  }
  return false;
}

Window* Window::Find(HWND window) {
  return reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void Window::Attach(HWND window) {
  handle_ = window;
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Answer Window::Receive(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  HandlerRunning running(*this);
  // Two plain values, not an optional: unwinding under Wine may not restore the vector
  // registers an optional can live in (seen: a failed handler's answer came back as garbage).
  bool answered = false;
  LRESULT result = 0;
  Guarded(window, [&] {
    const Answer answer = OnMessage(message, wParam, lParam);
    answered = answer.has_value();
    result = answer.value_or(0);
  });
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    if (programWindow_) {
      ModalScope::RemoveProgramWindow(window);
      programWindows.erase(std::remove(programWindows.begin(), programWindows.end(), this),
                           programWindows.end());
    }
    handle_ = nullptr;
    destroyed_ = true;
    Guarded(window, [&] { OnDestroyed(); });
  }
  return answered ? Answer(result) : Answer();
}

LRESULT CALLBACK Window::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* self = Find(window);
  if (!self && message == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    if (self) self->Attach(window);
  }
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  const Answer answer = self->Receive(window, message, wParam, lParam);  // may free self
  return answer ? *answer : DefWindowProcW(window, message, wParam, lParam);
}

INT_PTR CALLBACK Window::DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* self = Find(window);
  if (!self && message == WM_INITDIALOG) {
    self = reinterpret_cast<Window*>(lParam);
    if (self) self->Attach(window);
  }
  if (!self) return FALSE;
  const Answer answer = self->Receive(window, message, wParam, lParam);  // may free self
  if (!answer) return message == WM_INITDIALOG ? TRUE : FALSE;
  if (AnswersDirectly(message)) return static_cast<INT_PTR>(*answer);
  SetWindowLongPtrW(window, DWLP_MSGRESULT, *answer);
  return TRUE;
}

void Window::RegisterWindowClass(WNDCLASSEXW windowClass) {
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProcedure;
  RegisterClassExW(&windowClass);
}

HWND Window::CreateFrame(const wchar_t* className, const wchar_t* caption, DWORD style, int x, int y,
                         int width, int height, HWND owner, HINSTANCE instance) {
  return CreateWindowExW(0, className, caption, style, x, y, width, height, owner, nullptr, instance,
                         this);
}

HWND Window::CreateFromTemplate(HINSTANCE instance, int templateId, HWND parent) {
  return CreateDialogParamW(instance, MAKEINTRESOURCEW(templateId), parent, DialogProcedure,
                            reinterpret_cast<LPARAM>(this));
}

INT_PTR Window::RunModalTemplate(HINSTANCE instance, int templateId, HWND owner) {
  return DialogBoxParamW(instance, MAKEINTRESOURCEW(templateId), owner, DialogProcedure,
                         reinterpret_cast<LPARAM>(this));
}

void Window::RegisterProgramWindow() {
  if (!handle_ || programWindow_) return;
  programWindow_ = true;
  ModalScope::AddProgramWindow(handle_);
  programWindows.push_back(this);
}

INT_PTR ModalDialog::ShowModal(HINSTANCE instance, int templateId, HWND owner) {
  owner_ = owner;
  ModalScope modal(owner);
  const INT_PTR result = RunModalTemplate(instance, templateId, owner);
  if (result == -1) throw std::runtime_error("ダイアログを表示できません");
  return result;
}

Answer ModalDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInit();
      CenterOnOwner(Handle(), owner_);
      return TRUE;
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (OnCommand(id, HIWORD(wParam))) return TRUE;
      if (id == IDOK || id == IDCANCEL) {
        End(id);
        return TRUE;
      }
      return {};
    }
    default: return OnDialogMessage(message, wParam, lParam);
  }
}

bool ChildDialog::Create(HINSTANCE instance, int templateId, HWND parent, int controlId) {
  HWND page = CreateFromTemplate(instance, templateId, parent);
  if (!page) return false;
  SetWindowLongPtrW(page, GWLP_ID, controlId);
  return true;
}

void SetMinimumTrackSize(HWND window, LPARAM minMaxInfo, SIZE minimum) {
  if (minimum.cx <= 0 || minimum.cy <= 0) return;
  const RECT work = WorkAreaOf(window);
  auto* info = reinterpret_cast<MINMAXINFO*>(minMaxInfo);
  info->ptMinTrackSize = {std::min<LONG>(minimum.cx, work.right - work.left),
                          std::min<LONG>(minimum.cy, work.bottom - work.top)};
}

}  // namespace orv::ui
