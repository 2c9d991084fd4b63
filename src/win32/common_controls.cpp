#include "win32/common_controls.h"

#include <windows.h>

#include <commctrl.h>

#include "win32/system_library.h"
#include "win32/unique_handle.h"

namespace velmora::win32 {

bool InitCommonControlsOnce() {
  static const UniqueModule library(LoadSystemLibrary(L"comctl32.dll"));
  static const bool ready = [] {
    const auto init = EntryOf<BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*)>(library.get(), "InitCommonControlsEx");
    const INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    return init != nullptr && init(&icc) != FALSE;
  }();
  return ready;
}

}  // namespace velmora::win32
