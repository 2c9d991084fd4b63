// Velmora: writes the date, the time and the machine's load into the title of
// the foreground window.
#include <windows.h>

#include "core/settings.h"
#include "win32/main_form.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  velmora::TSettings settings;
  velmora::win32::TMainForm mainForm(instance, settings);
  if (!mainForm.Create()) return 1;
  mainForm.SetTimerInterval(settings.TimerIntervalMs());

  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
