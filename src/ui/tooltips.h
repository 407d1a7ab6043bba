// Hints shown when the mouse rests on a control, also a disabled one: each tool is the
// control's rectangle in its parent, which gets the mouse messages a disabled control does not.
// One tooltip window per top-level window, which the system destroys with it.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace orv::ui {

class Tooltips {
 public:
  // The control's hint; the tooltip window is made with the first one.
  void Add(HWND control, const std::string& hint);
  // The controls moved (a layout): the tools follow them.
  void Follow() const;
  HWND Handle() const { return tooltip_; }

 private:
  HWND tooltip_ = nullptr;
  std::vector<HWND> controls_;
};

}  // namespace orv::ui
