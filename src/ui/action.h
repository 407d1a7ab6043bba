// Commands declared once: caption with access key, hint, shortcut, enabled and checked state.
// Menu items, buttons and accelerators all follow their action.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace orv::ui {

struct Shortcut {
  WORD key = 0;  // virtual key; 0 = none
  bool ctrl = false;
  bool shift = false;
  std::wstring Text() const;  // "Shift+Ctrl+1", "F5"
};

struct Action {
  int id = 0;
  std::string caption;
  std::string hint;
  Shortcut shortcut;
  bool autoCheck = false;  // toggles its own check state when executed
  bool enabled = false;
  bool checked = false;
  std::function<void()> onExecute;
};

class ActionList {
 public:
  Action& Add(Action action);
  Action* Find(int id);
  const Action* Find(int id) const;
  // Runs the handler when the action is enabled; false when nothing ran.
  bool Execute(int id);
  void SetEnabled(int id, bool enabled);
  void SetChecked(int id, bool checked);
  bool IsChecked(int id);
  void SetCaption(int id, const std::string& caption);
  // A button shows its action's caption and follows its enabled state.
  void BindButton(int id, HWND button);
  // Menu text: caption, a tab and the shortcut.
  std::wstring MenuText(const Action& action) const;
  HACCEL CreateAccelerators() const;
  // Brings every item of a menu about to open up to date with its action.
  void UpdateMenu(HMENU menu);

 private:
  std::vector<Action> actions_;
  std::vector<std::pair<int, HWND>> buttons_;
};

// A menu declared as data: an action's item, a separator, or a submenu.
struct MenuEntry {
  enum Kind { Item, Separator, Submenu } kind;
  int actionId = 0;
  std::string caption;  // submenus only
  std::vector<MenuEntry> children;
  static MenuEntry Of(int id) { return {Item, id, {}, {}}; }
  static MenuEntry Sep() { return {Separator, 0, {}, {}}; }
  static MenuEntry Sub(std::string caption, std::vector<MenuEntry> children) {
    return {Submenu, 0, std::move(caption), std::move(children)};
  }
};

// The access key of a caption ("削除(&R)" gives L'R'), upper-cased; 0 when it has none.
wchar_t AccessKey(const std::string& caption);

HMENU BuildMenu(const std::vector<MenuEntry>& entries, const ActionList& actions, bool popup);

}  // namespace orv::ui
