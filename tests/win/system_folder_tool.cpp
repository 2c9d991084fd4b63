// velmora_system_folder install LIBRARY | restore NAME: puts a stand-in
// library of ours into the system folder of Wine's prefix, or the system's
// own copy back (the set-up and clean-up of the tests that need it). A
// relative LIBRARY is taken from this program's folder.
#include <windows.h>

#include <cstdio>
#include <string>

#include "support.h"
#include "system_folder.h"

int wmain(int argc, wchar_t** argv) {
  using namespace velmora::testing;
  if (!RunningUnderWine()) {
    std::fprintf(stderr, "stand-in libraries go only into a Wine prefix's system folder\n");
    return 2;
  }
  const std::wstring command = argc == 3 ? argv[1] : L"";
  if (command == L"install") {
    std::wstring library = argv[2];
    if (library.size() < 2 || (library[1] != L':' && library[0] != L'\\')) library = BinDir() + library;
    if (InstallInSystemFolder(library)) return 0;
    std::fprintf(stderr, "could not install %ls into %ls\n", library.c_str(), SystemFolder().c_str());
    return 1;
  }
  if (command == L"restore") {
    if (RestoreSystemFolder(argv[2])) return 0;
    std::fprintf(stderr, "could not put back the system's own %ls\n", argv[2]);
    return 1;
  }
  std::fprintf(stderr, "usage: velmora_system_folder install LIBRARY | restore NAME\n");
  return 2;
}
