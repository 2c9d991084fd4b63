// Saves the settings over and over into FOLDER (no trailing backslash), alternating between two
// states, until it is killed: velmora_saver.exe FOLDER. Each finished save
// is counted in the shared counter "VelmoraSaverCount" (pid-independent).
#include <windows.h>

#include "core/settings_storage.h"
#include "saver_states.h"
#include "win32/settings_files.h"
#include "win32/wide.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  using namespace velmora;
  win32::Win32SettingsFiles files;
  win32::Win32CodePage ansi;
  SettingsStorage storage(files, ansi, win32::FromWide(argv[1]) + u"\\");

  HANDLE mapping = ::OpenFileMappingW(FILE_MAP_WRITE, FALSE, L"VelmoraSaverCount");
  auto* counter = mapping ? static_cast<volatile LONG*>(::MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0)) : nullptr;
  if (!counter) return 3;

  const TSettings states[2] = {SaverState(0), SaverState(1)};
  for (unsigned i = 0;; ++i) {
    storage.SaveSettings(states[i % 2]);
    storage.SavePrefs(states[i % 2]);
    ::InterlockedIncrement(counter);
  }
}
