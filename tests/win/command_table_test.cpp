// The main window's command table: every row whole and reachable, ids and shortcuts once each,
// the menus it makes reading as the program's menus are laid out, the accelerators and the
// enabling following the rows.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/command_availability.h"
#include "app/command_ids.h"
#include "app/main_window.h"
#include "platform/win32/wide.h"
#include "ui/action.h"

namespace orv::test {
namespace {

// A menu as text: one line per item, submenus indented, "-" for a separator, "\t" and the
// shortcut as the item shows it.
std::string MenuText(HMENU menu, int depth = 0) {
  std::string text;
  for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
    wchar_t caption[256] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = caption;
    info.cch = 256;
    GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
    text += std::string(static_cast<std::size_t>(depth) * 2, ' ');
    text += (info.fType & MFT_SEPARATOR) ? "-" : Narrow(caption);
    text += "\n";
    if (info.hSubMenu) text += MenuText(info.hSubMenu, depth + 1);
  }
  return text;
}

class CommandTable : public ::testing::Test {
 protected:
  CommandTable() {
    actions.AddCommands(TForm1::Commands(), form);
    items = ui::MenuItemsOf(TForm1::Commands(), TForm1::Submenus());
  }
  std::string Menu(int id, bool popup) {
    HMENU menu = ui::BuildMenu(id, items, actions, popup);
    std::string text = MenuText(menu);
    DestroyMenu(menu);
    return text;
  }
  TForm1 form;  // no window: only the table's handlers are bound to it
  ui::ActionList actions;
  std::vector<ui::MenuItem> items;
};

TEST_F(CommandTable, EveryRowIsWholeReachableAndHasItsIdShortcutAndButtonAlone) {
  std::set<int> ids, buttons, menus{kMenuBar, kMenuList, kMenuHeader};
  std::set<std::wstring> shortcuts;
  for (const ui::SubmenuRow& sub : TForm1::Submenus()) menus.insert(sub.menu);
  for (const TForm1::Command& row : TForm1::Commands()) {
    SCOPED_TRACE(row.caption);
    EXPECT_TRUE(ids.insert(row.id).second) << "the id stands in two rows";
    EXPECT_GE(row.id, 200);
    EXPECT_LT(row.id, 300) << "command ids lie from 200 on, apart from the controls' ids";
    EXPECT_TRUE(row.caption && *row.caption && row.hint && *row.hint);
    EXPECT_NE(row.execute, nullptr) << "every command of the window is built";
    bool placed = row.shortcut.key != 0 || row.button != 0;
    for (const ui::MenuSlot& slot : row.slots) {
      if (!slot.menu) continue;
      placed = true;
      EXPECT_TRUE(menus.count(slot.menu)) << "a slot names a menu that does not exist";
    }
    EXPECT_TRUE(placed) << "nothing reaches the command";
    if (row.shortcut.key) {
      EXPECT_TRUE(shortcuts.insert(row.shortcut.Text()).second) << "shortcut twice";
    }
    if (row.button) {
      EXPECT_TRUE(buttons.insert(row.button).second) << "one button, two commands";
    }
    // A check mark that follows the state belongs to a check command.
    if (row.checkedBy) {
      EXPECT_TRUE(row.autoCheck);
    }
  }
  // The commands the test drivers post are all in the table.
  for (int id : std::initializer_list<int>{kCmdRemoveProgram, kCmdModifyProgram, kCmdRepairProgram, kCmdSaveProgList, kCmdOpenFolder,
                 kCmdOpenURLInfoAbout, kCmdExecuteProgram, kCmdDisableChange, kCmdProperty, kCmdExit,
                 kCmdTagNone, kCmdTag0, kCmdTag0 + 4, kCmdEditTag, kCmdFind, kCmdFindNext, kCmdFindPrev,
                 kCmdCopyAppName, kCmdRename, kCmdEditComment, kCmdRemoveRegEntry,
                 kCmdDeleteSlowInfoCache, kCmdStngLoadIcon, kCmdStngGridLine, kCmdStngStripe,
                 kCmdStngSysComp, kCmdDispItemSetting, kCmdGoNextTab, kCmdGoPrevTab, kCmdRefresh,
                 kCmdHomePage, kCmdVersion})
    EXPECT_TRUE(ids.count(id)) << id;
  EXPECT_EQ(buttons, (std::set<int>{kIdModifyButton, kIdRemoveButton}));
}

TEST_F(CommandTable, TheMenusReadAsTheWindowLaysThemOut) {
  EXPECT_EQ(Menu(kMenuBar, false),
            "プログラム(&P)\n"
            "  削除(&R)\n  変更(&M)\n  修復(&E)\n  -\n"
            "  一覧を保存(&S)...\tCtrl+S\n  -\n"
            "  インストール先を開く(&O)...\tCtrl+O\n  発行元のウェブページを開く(&A)...\n"
            "  プログラムを実行(&C)...\n  -\n"
            "  変更を禁止(&D)\n"
            "  タグ(&T)\n"
            "    なし(&N)\tShift+Ctrl+0\n    -\n"
            "    Tag1\tShift+Ctrl+1\n    Tag2\tShift+Ctrl+2\n    Tag3\tShift+Ctrl+3\n"
            "    Tag4\tShift+Ctrl+4\n    Tag5\tShift+Ctrl+5\n    -\n    編集(&E)...\n"
            "  -\n  プロパティ(&P)...\n  -\n  終了(&X)\n"
            "編集(&E)\n"
            "  検索(&S)...\tCtrl+F\n  次を検索(&N)\tF3\n  前を検索(&P)\tShift+F3\n  -\n"
            "  プログラム名をコピー(&C)\n  -\n"
            "  高度な操作(&A)\n"
            "    プログラム名を変更(&R)...\n    メモを編集(&E)...\n    -\n"
            "    レジストリ情報を削除(&M)\n    SlowInfoCacheを削除(&L)\n"
            "表示(&V)\n"
            "  アイコンを読み込む(&L)\n  グリッドを表示(&G)\n  ストライプ表示(&S)\n  -\n"
            "  システムコンポーネントを表示(&H)\n  -\n  表示項目の設定(&D)...\n  -\n"
            "  移動(&O)\n    次のタブ(&N)\tCtrl+Tab\n    前のタブ(&P)\tShift+Ctrl+Tab\n"
            "  最新の情報に更新(&R)\tF5\n"
            "ヘルプ(&H)\n"
            "  ホームページ(&H)...\n  -\n  バージョン情報(&A)...\n");
  EXPECT_EQ(Menu(kMenuList, true),
            "削除(&R)\n修復(&E)\n変更(&M)\n-\n最新の情報に更新(&R)\tF5\n-\n"
            "インストール先を開く(&O)...\tCtrl+O\n発行元のウェブページを開く(&A)...\n"
            "プログラムを実行(&C)...\n-\n変更を禁止(&D)\nタグ(&T)\n"
            "  なし(&N)\tShift+Ctrl+0\n  -\n  Tag1\tShift+Ctrl+1\n  Tag2\tShift+Ctrl+2\n"
            "  Tag3\tShift+Ctrl+3\n  Tag4\tShift+Ctrl+4\n  Tag5\tShift+Ctrl+5\n  -\n  編集(&E)...\n"
            "-\nプロパティ(&P)...\n");
  EXPECT_EQ(Menu(kMenuHeader, true), "表示項目の設定(&D)...\n");
}

TEST_F(CommandTable, EachMainMenuGivesEveryAccessKeyOnce) {
  // The list's context menu repeats R ("削除(&R)", "最新の情報に更新(&R)") as the window's
  // captions have it; the main menu's levels do not.
  std::map<int, std::set<wchar_t>> keys;
  for (const ui::MenuItem& item : items) {
    if (item.menu == kMenuList || item.menu == kMenuHeader) continue;
    const wchar_t key = ui::AccessKey(item.caption);
    if (key) {
      EXPECT_TRUE(keys[item.menu].insert(key).second) << item.caption;
    }
  }
}

TEST_F(CommandTable, TheAcceleratorsAreTheRowsShortcuts) {
  HACCEL table = actions.CreateAccelerators();
  ASSERT_NE(table, nullptr);
  std::vector<ACCEL> entries(static_cast<std::size_t>(CopyAcceleratorTableW(table, nullptr, 0)));
  CopyAcceleratorTableW(table, entries.data(), static_cast<int>(entries.size()));
  DestroyAcceleratorTable(table);
  std::map<int, ACCEL> byCommand;
  for (const ACCEL& entry : entries) byCommand[entry.cmd] = entry;
  std::size_t withShortcut = 0;
  for (const TForm1::Command& row : TForm1::Commands()) {
    if (!row.shortcut.key) continue;
    ++withShortcut;
    ASSERT_TRUE(byCommand.count(row.id)) << row.caption;
    const ACCEL& entry = byCommand[row.id];
    EXPECT_EQ(entry.key, row.shortcut.key) << row.caption;
    EXPECT_EQ((entry.fVirt & FCONTROL) != 0, row.shortcut.ctrl) << row.caption;
    EXPECT_EQ((entry.fVirt & FSHIFT) != 0, row.shortcut.shift) << row.caption;
  }
  EXPECT_EQ(entries.size(), withShortcut);
}

TEST_F(CommandTable, NothingSelectedTurnsOffEveryCommandThatNeedsAProgram) {
  TProgram unlocked;
  unlocked.UninstallString = "C:\\x\\uninstall.exe";
  Win32System system;
  actions.ApplyState(TForm1::Commands(), ComputeAvailability(&unlocked, system));
  EXPECT_TRUE(actions.Find(kCmdRemoveProgram)->enabled);
  EXPECT_TRUE(actions.Find(kCmdProperty)->enabled);
  actions.ApplyState(TForm1::Commands(), ComputeAvailability(nullptr, system));
  for (const TForm1::Command& row : TForm1::Commands())
    EXPECT_EQ(actions.Find(row.id)->enabled, row.enabledBy == nullptr) << row.caption;
  // The lock's check mark follows the selected program.
  unlocked.ChangeAllowed = false;
  actions.ApplyState(TForm1::Commands(), ComputeAvailability(&unlocked, system));
  EXPECT_TRUE(actions.IsChecked(kCmdDisableChange));
  EXPECT_FALSE(actions.Find(kCmdRemoveProgram)->enabled) << "a locked program cannot be removed";
}

struct Counter {
  int runs = 0;
};
struct Snapshot {
  bool on = true;
};

TEST(ActionList, ACommandNotBuiltYetStaysDisabledWhateverItsRuleSays) {
  using Row = ui::CommandRow<Counter, Snapshot>;
  const Row rows[] = {
      {.id = 1, .caption = "作った(&B)", .hint = "作った", .execute = [](Counter& c) { ++c.runs; },
       .enabledBy = &Snapshot::on},
      {.id = 2, .caption = "まだ(&N)", .hint = "まだ", .enabledBy = &Snapshot::on},
  };
  Counter counter;
  ui::ActionList list;
  list.AddCommands(std::span<const Row>(rows), counter);
  list.ApplyState(std::span<const Row>(rows), Snapshot{true});
  EXPECT_TRUE(list.Find(1)->enabled);
  EXPECT_FALSE(list.Find(2)->enabled);
  EXPECT_TRUE(list.Execute(1));
  EXPECT_FALSE(list.Execute(2));
  EXPECT_EQ(counter.runs, 1);
  list.ApplyState(std::span<const Row>(rows), Snapshot{false});
  EXPECT_FALSE(list.Execute(1)) << "a disabled command ran";
  EXPECT_EQ(counter.runs, 1);
}

}  // namespace
}  // namespace orv::test
