#include "ui/action.h"

#include <algorithm>
#include <cwctype>

#include "platform/win32/wide.h"

namespace orv::ui {

std::wstring Shortcut::Text() const {
  if (!key) return L"";
  std::wstring text;
  if (shift) text += L"Shift+";
  if (ctrl) text += L"Ctrl+";
  if (key >= VK_F1 && key <= VK_F24) return text + L"F" + std::to_wstring(key - VK_F1 + 1);
  if (key == VK_TAB) return text + L"Tab";
  if (key == VK_DELETE) return text + L"Del";
  return text + static_cast<wchar_t>(key);
}

Action& ActionList::Add(Action action) {
  actions_.push_back(std::move(action));
  return actions_.back();
}

Action* ActionList::Find(int id) {
  auto it = std::find_if(actions_.begin(), actions_.end(), [&](auto& a) { return a.id == id; });
  return it == actions_.end() ? nullptr : &*it;
}

const Action* ActionList::Find(int id) const {
  auto it = std::find_if(actions_.begin(), actions_.end(), [&](auto& a) { return a.id == id; });
  return it == actions_.end() ? nullptr : &*it;
}

bool ActionList::Execute(int id) {
  Action* action = Find(id);
  if (!action || !action->enabled) return false;
  if (action->autoCheck) action->checked = !action->checked;
  // Copy: a handler may rebuild the action list's vector.
  auto handler = action->onExecute;
  if (handler) handler();
  return true;
}

void ActionList::SetEnabled(int id, bool enabled) {
  Action* action = Find(id);
  if (!action) return;
  enabled = enabled && action->onExecute;  // a command not built yet stays disabled
  if (action->enabled == enabled) return;
  action->enabled = enabled;
  for (auto& [buttonId, button] : buttons_)
    if (buttonId == id) EnableWindow(button, enabled);
}

void ActionList::SetChecked(int id, bool checked) {
  if (Action* action = Find(id)) action->checked = checked;
}

bool ActionList::IsChecked(int id) const {
  const Action* action = Find(id);
  return action && action->checked;
}

void ActionList::SetCaption(int id, const std::string& caption) {
  Action* action = Find(id);
  if (!action) return;
  action->caption = caption;
  for (auto& [buttonId, button] : buttons_)
    if (buttonId == id) SetWindowTextW(button, Widen(caption).c_str());
}

void ActionList::BindButton(int id, HWND button) {
  buttons_.emplace_back(id, button);
  if (Action* action = Find(id)) {
    SetWindowTextW(button, Widen(action->caption).c_str());
    EnableWindow(button, action->enabled);
    hints_.Add(button, action->hint);
  }
}

int ActionList::CommandOfButton(int controlId) const {
  for (const auto& [id, button] : buttons_)
    if (GetDlgCtrlID(button) == controlId) return id;
  return 0;
}

bool ActionList::PressButtonWithAccessKey(wchar_t key) {
  for (const auto& [id, button] : buttons_) {
    const Action* action = Find(id);
    if (!action || !IsWindowVisible(button) || AccessKey(action->caption) != key) continue;
    Execute(id);  // nothing runs when it is disabled
    return true;
  }
  return false;
}

std::wstring ActionList::MenuText(const Action& action) const {
  std::wstring text = Widen(action.caption);
  std::wstring shortcut = action.shortcut.Text();
  if (!shortcut.empty()) text += L"\t" + shortcut;
  return text;
}

HACCEL ActionList::CreateAccelerators() const {
  std::vector<ACCEL> table;
  for (const Action& a : actions_) {
    if (!a.shortcut.key) continue;
    BYTE flags = FVIRTKEY;
    if (a.shortcut.ctrl) flags |= FCONTROL;
    if (a.shortcut.shift) flags |= FSHIFT;
    table.push_back(ACCEL{flags, a.shortcut.key, static_cast<WORD>(a.id)});
  }
  return table.empty() ? nullptr : CreateAcceleratorTableW(table.data(), static_cast<int>(table.size()));
}

void ActionList::UpdateMenu(HMENU menu) {
  int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    UINT id = GetMenuItemID(menu, i);
    if (id == static_cast<UINT>(-1) || id == 0) continue;  // submenu or separator
    Action* action = Find(static_cast<int>(id));
    if (!action) continue;
    EnableMenuItem(menu, id, MF_BYCOMMAND | (action->enabled ? MF_ENABLED : MF_GRAYED));
    CheckMenuItem(menu, id, MF_BYCOMMAND | (action->checked ? MF_CHECKED : MF_UNCHECKED));
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    std::wstring text = MenuText(*action);
    info.dwTypeData = text.data();
    SetMenuItemInfoW(menu, id, FALSE, &info);
  }
}

wchar_t AccessKey(const std::string& caption) {
  const std::wstring text = Widen(caption);
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != L'&') continue;
    if (text[i + 1] != L'&') return static_cast<wchar_t>(towupper(static_cast<wint_t>(text[i + 1])));
    ++i;  // "&&" is a plain ampersand
  }
  return 0;
}

HMENU BuildMenu(int menuId, const std::vector<MenuItem>& items, const ActionList& actions, bool popup) {
  std::vector<const MenuItem*> own;
  for (const MenuItem& item : items)
    if (item.menu == menuId) own.push_back(&item);
  std::stable_sort(own.begin(), own.end(),
                   [](const MenuItem* a, const MenuItem* b) { return a->place < b->place; });
  HMENU menu = popup ? CreatePopupMenu() : CreateMenu();
  int group = own.empty() ? 0 : own.front()->place / 100;
  for (const MenuItem* item : own) {
    if (item->place / 100 != group) AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    group = item->place / 100;
    if (!item->commandId) {
      HMENU sub = BuildMenu(item->submenu, items, actions, true);
      AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), Widen(item->caption).c_str());
      continue;
    }
    const Action* action = actions.Find(item->commandId);
    if (!action) continue;
    const UINT flags = MF_STRING | (action->enabled ? 0u : MF_GRAYED) | (action->checked ? MF_CHECKED : 0u);
    AppendMenuW(menu, flags, static_cast<UINT_PTR>(action->id), actions.MenuText(*action).c_str());
  }
  return menu;
}

}  // namespace orv::ui
