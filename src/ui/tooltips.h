// Hints shown when the mouse rests on a control: one tooltip window per top-level window, which
// the system destroys with it.
#pragma once
#include <windows.h>

#include <string>

namespace orv::ui {

class Tooltips {
 public:
  // The control's hint; the tooltip window is made with the first one.
  void Add(HWND control, const std::string& hint);
  HWND Handle() const { return tooltip_; }

 private:
  HWND tooltip_ = nullptr;
};

}  // namespace orv::ui
