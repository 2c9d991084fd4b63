// Libraries from the system folder only. Loaded by bare name, a library is
// also looked for in the program's folder and in the current folder, where
// whoever can drop a file (a browser's downloads, an unpacked archive) can
// plant one whose start-up code then runs inside Velmora.
#pragma once

#include <windows.h>

namespace velmora::win32 {

// From here on the process looks for libraries (and the libraries they
// need) in the system folder only, and never in the current folder. The
// first thing the program does.
void RestrictLibrarySearch();

// The library `name` from the system folder; 0 when it is not there. The
// caller owns the module it gets.
HMODULE LoadSystemLibrary(const wchar_t* name);
HMODULE LoadSystemLibraryA(const char* name);

// The function `name` of `module` as an `Fn`; nullptr when there is no
// module or no such function.
template <typename Fn>
Fn EntryOf(HMODULE module, const char* name) {
  return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name))) : nullptr;
}

}  // namespace velmora::win32
