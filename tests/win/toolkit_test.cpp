// The window toolkit against the real window manager: the lifetime rule of a window that frees
// itself, the anchored layout, link labels from the keyboard and their copy command, and
// windows kept within the work area.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/anchor_layout.h"
#include "ui/dpi.h"
#include "ui/link_label.h"
#include "ui/window.h"

namespace orv::test {
namespace {

constexpr wchar_t kClass[] = L"OrvToolkitTest";
constexpr int kLabelId = 10, kPlainLabelId = 11, kCopyCommand = 20;

// A top-level window whose messages a test looks at.
class TestWindow : public ui::Window {
 public:
  static inline int freed = 0;
  std::function<ui::Answer(UINT, WPARAM, LPARAM)> handler;
  std::vector<std::pair<int, int>> commands;  // id, notification

  static TestWindow* Make(bool freeWithWindow, int width = 300, int height = 200) {
    static bool registered = false;
    if (!registered) {
      WNDCLASSEXW wc{};
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = kClass;
      wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
      wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
      RegisterWindowClass(wc);
      registered = true;
    }
    auto* window = new TestWindow;
    if (freeWithWindow) window->FreeWithWindow();
    window->CreateFrame(kClass, L"toolkit", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, width, height,
                        nullptr, GetModuleHandleW(nullptr));
    return window;
  }
  ~TestWindow() override { ++freed; }
  bool Gone() const { return Destroyed(); }

 private:
  ui::Answer OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND) commands.emplace_back(LOWORD(wParam), HIWORD(wParam));
    return handler ? handler(message, wParam, lParam) : ui::Answer();
  }
};

void Pump(HWND dialog) {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (dialog && IsDialogMessageW(dialog, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

RECT PlaceOf(HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

TEST(WindowLifetime, AnObjectThatFreesItselfLivesUntilItsOutermostHandlerReturns) {
  TestWindow::freed = 0;
  TestWindow* window = TestWindow::Make(true);
  ASSERT_NE(window->Handle(), nullptr);
  const HWND handle = window->Handle();
  bool aliveAfterDestroy = false, goneSeen = false;
  window->handler = [&](UINT message, WPARAM, LPARAM) -> ui::Answer {
    if (message != WM_APP) return {};
    DestroyWindow(handle);  // as a box's loop may: the window goes while this handler runs
    aliveAfterDestroy = TestWindow::freed == 0;
    goneSeen = window->Gone() && window->Handle() == nullptr;
    return 7;
  };
  EXPECT_EQ(SendMessageW(handle, WM_APP, 0, 0), 7);
  EXPECT_TRUE(aliveAfterDestroy) << "the object went while its handler still ran";
  EXPECT_TRUE(goneSeen) << "the handler could not tell that the window was gone";
  EXPECT_EQ(TestWindow::freed, 1) << "the object was not freed after its handler returned";
  EXPECT_FALSE(IsWindow(handle));
}

TEST(WindowLifetime, AFailingHandlerIsToldAndAnswersTheDefault) {
  TestWindow* window = TestWindow::Make(false);
  const HWND handle = window->Handle();
  window->handler = [](UINT message, WPARAM, LPARAM) -> ui::Answer {
    if (message == WM_GETTEXTLENGTH) throw std::runtime_error("テストの失敗");
    return {};
  };
  // The box the guard shows is answered from here.
  SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (HWND box = FindWindowW(L"#32770", L"Orvalinde")) PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  // The default processing answers: the caption "toolkit" is 7 characters long.
  EXPECT_EQ(SendMessageW(handle, WM_GETTEXTLENGTH, 0, 0), 7);
  EXPECT_TRUE(IsWindow(handle));
  DestroyWindow(handle);
  delete window;
}

TEST(AnchorLayout, ControlsKeepTheirDistanceToTheEdgesTheyAreAnchoredTo) {
  TestWindow* window = TestWindow::Make(false, 400, 300);
  HWND parent = window->Handle();
  SetWindowPos(parent, nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER);
  RECT client{};
  GetClientRect(parent, &client);
  auto make = [&](int x, int y, int w, int h) {
    return CreateWindowExW(0, WC_STATICW, L"", WS_CHILD | WS_VISIBLE, x, y, w, h, parent, nullptr,
                           nullptr, nullptr);
  };
  HWND fixed = make(10, 10, 50, 20), stretched = make(10, 40, client.right - 20, 100),
       corner = make(client.right - 60, client.bottom - 30, 50, 20);
  ui::AnchorLayout layout;
  layout.Begin(parent);
  layout.Add(fixed, ui::kAnchorTopLeft);
  layout.Add(stretched, ui::kAnchorAll);
  layout.Add(corner, ui::kAnchorRight | ui::kAnchorBottom);

  for (int grow : {60, -40, -1000}) {
    SetWindowPos(parent, nullptr, 0, 0, 400 + grow, 300 + grow, SWP_NOMOVE | SWP_NOZORDER);
    layout.Apply();
    RECT now{};
    GetClientRect(parent, &now);
    const int dx = now.right - client.right, dy = now.bottom - client.bottom;
    EXPECT_EQ(PlaceOf(fixed).left, 10) << grow;
    EXPECT_EQ(PlaceOf(fixed).right, 60) << grow;
    const RECT s = PlaceOf(stretched);
    EXPECT_EQ(s.left, 10) << grow;
    EXPECT_EQ(s.right, std::max<LONG>(10, client.right - 10 + dx)) << "stretches, never inside out";
    EXPECT_EQ(s.bottom, std::max<LONG>(40, 140 + dy)) << grow;
    const RECT c = PlaceOf(corner);
    EXPECT_EQ(c.right - c.left, 50) << "a control anchored on one side keeps its size";
    EXPECT_EQ(c.right, client.right - 10 + dx) << grow;
    EXPECT_EQ(c.bottom, client.bottom - 10 + dy) << grow;
  }
  DestroyWindow(parent);
  delete window;
}

class LinkLabelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = TestWindow::Make(false);
    parent = window->Handle();
    label = CreateWindowExW(0, WC_STATICW, L"", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 10, 10, 200, 20, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kLabelId)), nullptr, nullptr);
    plain = CreateWindowExW(0, WC_STATICW, L"", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 10, 40, 200, 20, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPlainLabelId)), nullptr, nullptr);
    ok = CreateWindowExW(0, WC_BUTTONW, L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 10, 70,
                         80, 24, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDOK)), nullptr, nullptr);
    links.Attach(label);
    links.Attach(plain);
    links.Set(label, "例のページ", "https://example.invalid/", true, true);
    links.Set(plain, "ただの文字", "", false, true);
    window->handler = [this](UINT message, WPARAM wParam, LPARAM lParam) -> ui::Answer {
      if (message == WM_CONTEXTMENU && links.OnContextMenu(parent, reinterpret_cast<HWND>(wParam), lParam))
        return 0;
      if (message == WM_COMMAND && links.OnCommand(parent, LOWORD(wParam))) return 0;
      return {};
    };
  }
  void TearDown() override {
    DestroyWindow(parent);
    delete window;
  }
  void Key(HWND target, WPARAM key) {
    PostMessageW(target, WM_KEYDOWN, key, 1);
    PostMessageW(target, WM_KEYUP, key, 0xC0000001);
    Pump(parent);
  }
  bool Clicked(int id) const {
    for (auto [command, code] : window->commands)
      if (command == id && code == STN_CLICKED) return true;
    return false;
  }
  static std::wstring Clipboard() {
    std::wstring text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
      if (auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) text = chars;
      GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
  }
  TestWindow* window = nullptr;
  HWND parent = nullptr, label = nullptr, plain = nullptr, ok = nullptr;
  ui::LinkLabels links{kCopyCommand};
};

TEST_F(LinkLabelTest, OnlyALinkedLabelIsATabStopAndEnterOrSpaceActivatesIt) {
  EXPECT_TRUE(GetWindowLongW(label, GWL_STYLE) & WS_TABSTOP);
  EXPECT_FALSE(GetWindowLongW(plain, GWL_STYLE) & WS_TABSTOP);
  EXPECT_EQ(GetNextDlgTabItem(parent, ok, FALSE), label) << "Tab reaches the link";
  SetFocus(label);
  Key(label, VK_RETURN);
  EXPECT_TRUE(Clicked(kLabelId)) << "Enter did not activate the link";
  EXPECT_EQ(window->commands.size(), 1u) << "Enter also pressed the default button";
  window->commands.clear();
  Key(label, VK_SPACE);
  EXPECT_TRUE(Clicked(kLabelId)) << "Space did not activate the link";
  // A label without a target is text: Enter goes to the default button.
  window->commands.clear();
  SetFocus(plain);
  Key(plain, VK_RETURN);
  EXPECT_FALSE(Clicked(kPlainLabelId));
  // Taking the target away takes the tab stop too.
  links.Set(label, "", "", false, false);
  EXPECT_FALSE(GetWindowLongW(label, GWL_STYLE) & WS_TABSTOP);
  EXPECT_FALSE(IsWindowEnabled(label));
}

TEST_F(LinkLabelTest, TheCopyCommandCopiesTheTargetOfTheLabelLastRightClicked) {
  // Not a label of ours, or a label without a link: no menu, the owner gets it back.
  EXPECT_FALSE(links.OnContextMenu(parent, ok, MAKELPARAM(-1, -1)));
  EXPECT_FALSE(links.OnContextMenu(parent, plain, MAKELPARAM(-1, -1)));
  // The menu runs its own loop: leave it at once.
  SetTimer(parent, 1, 200, [](HWND owner, UINT, UINT_PTR id, DWORD) {
    KillTimer(owner, id);
    EndMenu();
  });
  EXPECT_TRUE(links.OnContextMenu(parent, label, MAKELPARAM(-1, -1)));
  links.OnCommand(parent, kCopyCommand);
  EXPECT_EQ(Clipboard(), L"https://example.invalid/");
  // Another button forgets the label: the command then copies nothing.
  OpenClipboard(parent);
  EmptyClipboard();
  CloseClipboard();
  SendMessageW(label, WM_MBUTTONUP, 0, MAKELPARAM(2, 2));
  EXPECT_TRUE(links.OnCommand(parent, kCopyCommand));
  EXPECT_EQ(Clipboard(), L"");
  EXPECT_FALSE(links.OnCommand(parent, kCopyCommand + 1)) << "another command is the owner's";
}

TEST(WorkArea, AWindowLargerThanItsMonitorIsMadeToFitAndMayKeepThatSize) {
  const RECT work = ui::WorkAreaOf(nullptr);
  const int workWidth = work.right - work.left, workHeight = work.bottom - work.top;
  TestWindow* window = TestWindow::Make(false, workWidth + 300, workHeight + 200);
  HWND handle = window->Handle();
  const SIZE design{workWidth + 300, workHeight + 200};
  window->handler = [&](UINT message, WPARAM, LPARAM lParam) -> ui::Answer {
    if (message != WM_GETMINMAXINFO) return {};
    ui::SetMinimumTrackSize(handle, lParam, design);
    return 0;
  };
  SetWindowPos(handle, nullptr, work.left - 50, work.top - 40, design.cx, design.cy, SWP_NOZORDER);
  RECT r{};
  GetWindowRect(handle, &r);
  ASSERT_GT(r.bottom - r.top, workHeight) << "the window could not be made too large to begin with";
  ui::FitToWorkArea(handle, nullptr);
  GetWindowRect(handle, &r);
  EXPECT_GE(r.left, work.left);
  EXPECT_GE(r.top, work.top);
  EXPECT_LE(r.right, work.right);
  EXPECT_LE(r.bottom, work.bottom);
  EXPECT_EQ(r.right - r.left, workWidth) << "the minimum size of the design held it larger";
  EXPECT_EQ(r.bottom - r.top, workHeight);
  DestroyWindow(handle);
  delete window;
}

}  // namespace
}  // namespace orv::test
