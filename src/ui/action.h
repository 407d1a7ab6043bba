// Commands declared once, each in one row of a table: id, caption with access key, hint,
// shortcut, where it stands in the menus, its handler, the rule that enables it and the button
// bound to it. The action list made from the table gives the menus, the accelerators, the
// buttons (with the hints as tooltips) and the enabling.
#pragma once
#include <windows.h>

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "ui/tooltips.h"

namespace orv::ui {

struct Shortcut {
  WORD key = 0;  // virtual key; 0 = none
  bool ctrl = false;
  bool shift = false;
  std::wstring Text() const;  // "Shift+Ctrl+1", "F5"
};

// Where an item stands: in which menu (0: none) and its place there. Items are ordered by
// place; a separator stands between places of different hundreds.
struct MenuSlot {
  int menu = 0;
  int place = 0;
};

// A submenu: its own menu id, its caption, and where it stands in other menus.
struct SubmenuRow {
  int menu;
  const char* caption;
  MenuSlot slots[2] = {};
};

// One command. `State` is the plain snapshot the enabling is decided from.
template <class Owner, class State>
struct CommandRow {
  int id;
  const char* caption;
  const char* hint;
  Shortcut shortcut = {};
  MenuSlot slots[2] = {};
  void (*execute)(Owner&) = nullptr;   // none: not built yet, so never enabled
  bool State::*enabledBy = nullptr;    // none: enabled whenever built
  bool State::*checkedBy = nullptr;    // a check mark that follows the state
  bool autoCheck = false;              // toggles its own check mark when executed
  int button = 0;                      // the control id of a button bound to it
};

struct Action {
  int id = 0;
  std::string caption;
  std::string hint;
  Shortcut shortcut;
  bool autoCheck = false;
  bool enabled = false;
  bool checked = false;
  std::function<void()> onExecute;
};

// A menu item as the builder takes it: a command or a submenu at its slot.
struct MenuItem {
  int menu;
  int place;
  int commandId;      // 0 for a submenu
  int submenu;        // the submenu's own menu id
  const char* caption;
};

class ActionList {
 public:
  // The table's commands, their handlers called on `owner`; enabled when built.
  template <class Owner, class State>
  void AddCommands(std::span<const CommandRow<Owner, State>> rows, Owner& owner) {
    for (const auto& row : rows) {
      Action action{row.id, row.caption, row.hint, row.shortcut, row.autoCheck, false, false, {}};
      if (row.execute) {
        action.onExecute = [&owner, execute = row.execute] { execute(owner); };
        action.enabled = true;
      }
      Add(std::move(action));
    }
  }
  // The enabling and check marks of the rows that have a rule, from one snapshot.
  template <class Owner, class State>
  void ApplyState(std::span<const CommandRow<Owner, State>> rows, const State& state) {
    for (const auto& row : rows) {
      if (row.enabledBy) SetEnabled(row.id, state.*row.enabledBy);
      if (row.checkedBy) SetChecked(row.id, state.*row.checkedBy);
    }
  }

  Action& Add(Action action);
  Action* Find(int id);
  const Action* Find(int id) const;
  // Runs the handler when the action is enabled; false when nothing ran.
  bool Execute(int id);
  void SetEnabled(int id, bool enabled);
  void SetChecked(int id, bool checked);
  bool IsChecked(int id) const;
  void SetCaption(int id, const std::string& caption);
  // A button shows its action's caption, follows its enabled state and shows its hint.
  void BindButton(int id, HWND button);
  // The buttons moved: their hints follow.
  void FollowButtons() const { hints_.Follow(); }
  // The command of a bound button's control id, or 0.
  int CommandOfButton(int controlId) const;
  // Alt plus an access key presses the visible button whose caption has it; true when one did
  // (also when its command is disabled: the key is used up).
  bool PressButtonWithAccessKey(wchar_t key);
  // Menu text: caption, a tab and the shortcut.
  std::wstring MenuText(const Action& action) const;
  HACCEL CreateAccelerators() const;
  // Brings every item of a menu about to open up to date with its action.
  void UpdateMenu(HMENU menu);

 private:
  std::vector<Action> actions_;
  std::vector<std::pair<int, HWND>> buttons_;
  Tooltips hints_;
};

// The access key of a caption ("削除(&R)" gives L'R'), upper-cased; 0 when it has none.
wchar_t AccessKey(const std::string& caption);

// The items of a command table and its submenus, as the menu builder takes them.
template <class Owner, class State>
std::vector<MenuItem> MenuItemsOf(std::span<const CommandRow<Owner, State>> rows,
                                  std::span<const SubmenuRow> submenus) {
  std::vector<MenuItem> items;
  for (const auto& row : rows)
    for (const MenuSlot& slot : row.slots)
      if (slot.menu) items.push_back({slot.menu, slot.place, row.id, 0, row.caption});
  for (const SubmenuRow& sub : submenus)
    for (const MenuSlot& slot : sub.slots)
      if (slot.menu) items.push_back({slot.menu, slot.place, 0, sub.menu, sub.caption});
  return items;
}

// Builds the menu `menu` from the items: the commands' items show their actions, submenus are
// built in turn; a menu bar when not `popup`.
HMENU BuildMenu(int menu, const std::vector<MenuItem>& items, const ActionList& actions, bool popup);

}  // namespace orv::ui
