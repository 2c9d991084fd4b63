// One instance per logon session: the mutex "Velmora/Orvane", and the
// request a second start hands to the running instance.
#pragma once

#include <windows.h>

#include "win32/unique_handle.h"

namespace velmora::win32 {

inline constexpr wchar_t kInstanceMutexName[] = L"Velmora/Orvane";

// True when another instance holds the mutex.
bool AnotherInstanceRuns();

// Creates the mutex for this first instance. `alreadyExisted` is true when
// another start created it in the same instant; that start wins.
UniqueKernelHandle CreateInstanceMutex(bool& alreadyExisted);

// Sends the ShowRequest to the running instance's main window, wParam our
// own application window; false when no main window was found.
bool SendShowRequest(HWND ownApplicationWindow, ULONG_PTR argumentCount);

}  // namespace velmora::win32
