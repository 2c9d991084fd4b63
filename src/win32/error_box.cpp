#include "win32/error_box.h"

namespace velmora::win32 {

void ShowErrorBox(HWND owner, const Text& message) {
  const Text text = ErrorBoxText(message);
  ::MessageBoxW(owner, Wide(text), L"Velmora", MB_OK | MB_ICONERROR);
}

}  // namespace velmora::win32
