// The application's default error box, and the guard every event handler
// runs in: an exception ends that handler, is shown, and the program goes on.
#pragma once

#include <windows.h>

#include <exception>

#include "core/errors.h"
#include "win32/wide.h"

namespace velmora::win32 {

// Caption "Velmora", error icon, one OK button. One box at a time: a message
// raised while a box is open is dropped when it repeats the one on screen,
// and otherwise the latest waits until the box is closed.
void ShowErrorBox(HWND owner, const Text& message);

template <typename F>
void RunGuarded(HWND owner, F&& handler) noexcept {
  try {
    handler();
  } catch (const Exception& e) {
    ShowErrorBox(owner, e.Message());
  } catch (const std::exception& e) {
    ShowErrorBox(owner, FromUtf8(e.what()));
  } catch (...) {
    ShowErrorBox(owner, u"Unknown error");
  }
}

}  // namespace velmora::win32
