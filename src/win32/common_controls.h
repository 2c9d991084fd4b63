// The common controls library (up-downs among them), loaded from the system
// folder when the settings dialog is first made, and then kept. Loaded with
// the program it would cost the resident program memory all day (under Wine
// about 1.7 MB) for a dialog most sessions never open. The program's
// manifest makes this the version 6 library.
#pragma once

namespace velmora::win32 {

// True once the library is loaded and its classes are registered.
bool InitCommonControlsOnce();

}  // namespace velmora::win32
