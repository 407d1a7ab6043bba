// No exception crosses into Windows: a handler that fails is told in the application's general
// error box and the window keeps running.
#pragma once
#include <windows.h>

#include <exception>

#include "ui/message_box.h"

namespace orv::ui {

template <typename F>
void Guarded(HWND owner, F&& body) noexcept {
  try {
    body();
  } catch (const std::exception& e) {
    ShowFailure(owner, e.what());
  } catch (...) {
    ShowFailure(owner, "");
  }
}

}  // namespace orv::ui
