// The application's default error box, and the guard every event handler
// runs in: an exception ends that handler, is shown, and the program goes on.
#pragma once

#include <windows.h>

#include <exception>

#include "core/errors.h"
#include "win32/wide.h"

namespace velmora::win32 {

// Caption "Velmora", error icon, one OK button. One box at a time: a message
// raised while a box is open is dropped when it is on screen or waiting
// already, and otherwise waits its turn (ErrorBoxGate).
void ShowErrorBox(HWND owner, const Text& message);

template <typename F>
void RunGuarded(HWND owner, F&& handler) noexcept {
  try {
    handler();
  } catch (...) {
    // A box that cannot even be made (no memory left at all) is lost; the
    // program goes on all the same.
    try {
      ShowErrorBox(owner, ErrorMessageOf(std::current_exception()));
    } catch (...) {
    }
  }
}

}  // namespace velmora::win32
