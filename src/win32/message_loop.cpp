#include "win32/message_loop.h"

namespace velmora::win32 {

bool NextMessage(MSG& msg) {
  for (;;) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got != -1) return got != 0;
  }
}

void RunMessageLoop() {
  MSG msg;
  while (NextMessage(msg)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

bool RunModalLoop(HWND dialog, const std::function<bool()>& done, const std::function<bool(const MSG&)>& preview) {
  MSG msg;
  while (!done()) {
    if (!NextMessage(msg)) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    if (preview && preview(msg)) continue;
    if (!::IsDialogMessageW(dialog, &msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
  return true;
}

}  // namespace velmora::win32
