// Velmora: writes the date, the time and the machine's load into the title of
// the foreground window.
#include <windows.h>

#include "core/settings.h"
#include "core/settings_storage.h"
#include "win32/error_box.h"
#include "win32/main_form.h"
#include "win32/settings_files.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  using namespace velmora;
  win32::Win32SettingsFiles files;
  win32::Win32CodePage ansi;
  Text dataFolder;
  // Without a data folder there is nowhere to keep settings: end quietly.
  if (!PrepareDataFolder(files, u"Velmora", false, dataFolder)) return 0;

  TSettings settings;
  SettingsStorage storage(files, ansi, dataFolder);
  win32::TMainForm mainForm(instance, settings, storage);
  if (!mainForm.Create()) return 1;

  // The settings the dialog edits, and the interval they choose.
  win32::RunGuarded(nullptr, [&] {
    storage.LoadSettings(settings);
    mainForm.SetTimerInterval(settings.TimerIntervalMs());
  });

  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
