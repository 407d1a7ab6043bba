// Static controls (SS_NOTIFY) shown as links: underlined in the link colour, another colour
// under the mouse, the hand cursor, a tab stop that Enter or Space activates like a click, and
// a pop-up menu whose one command copies the link's target. A click or an activation reaches
// the label's parent as WM_COMMAND with STN_CLICKED; what it opens is the parent's decision.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "ui/gdi.h"

namespace orv::ui {

class LinkLabels {
 public:
  // `copyCommand` is the id the pop-up menu's item "リンクをコピー(&C)" sends to the window that
  // opened the menu; that window hands it to OnCommand.
  explicit LinkLabels(int copyCommand) : copyCommand_(copyCommand) {}
  ~LinkLabels();
  LinkLabels(const LinkLabels&) = delete;
  LinkLabels& operator=(const LinkLabels&) = delete;

  void Attach(HWND label);
  // What the label shows and what it stands for. A label that is not linked shows plain text,
  // and a disabled one greyed text; neither is a tab stop.
  void Set(HWND label, const std::string& text, const std::string& target, bool linked, bool enabled);
  bool Contains(HWND label) const { return Find(label) != nullptr; }
  bool Linked(HWND label) const;
  // The target of a label ("" for none).
  std::string Target(HWND label) const;

  // The owner's share: WM_CONTEXTMENU that a linked label passed to its parent opens the menu,
  // owned by `owner`, and remembers the label; true when it was such a label.
  bool OnContextMenu(HWND owner, HWND label, LPARAM screenPoint);
  // The menu's command: copies the remembered label's target; true when it was that command.
  bool OnCommand(HWND owner, int id);

 private:
  struct Label {
    HWND window = nullptr;
    std::string target;
    bool linked = false;
    bool hot = false;  // under the mouse
  };
  static LRESULT CALLBACK LabelProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR id, DWORD_PTR group);
  Label* Find(HWND label);
  const Label* Find(HWND label) const;
  void Paint(HWND window, const Label& label);
  HFONT UnderlinedFont(HFONT base);

  int copyCommand_;
  std::vector<Label> labels_;
  HWND remembered_ = nullptr;  // the label last right-clicked, for the copy command
  HMENU menu_ = nullptr;
  HFONT underlinedBase_ = nullptr;
  Font underlined_;
};

}  // namespace orv::ui
