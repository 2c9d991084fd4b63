#include "win32/error_box.h"

#include "win32/message_box.h"

namespace velmora::win32 {

void ShowErrorBox(HWND owner, const Text& message) {
  // The box's message loop keeps dispatching timer ticks; a tick that fails
  // while it is open must not put a second box on top of it.
  thread_local ErrorBoxGate gate;
  if (!gate.Offer(message)) return;
  for (std::optional<Text> next = message; next; next = gate.Closed()) {
    ShowMessageBox(owner, Wide(ErrorBoxText(*next)), L"Velmora", MB_OK | MB_ICONERROR);
  }
}

}  // namespace velmora::win32
