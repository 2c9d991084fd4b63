// Velmora: writes the date, the time and the machine's load into the title of
// the foreground window.
#include <windows.h>

#include <shellapi.h>

#include "core/settings.h"
#include "core/settings_storage.h"
#include "win32/application_window.h"
#include "win32/config_form.h"
#include "win32/error_box.h"
#include "win32/main_form.h"
#include "win32/message_loop.h"
#include "win32/settings_files.h"
#include "win32/single_instance.h"
#include "win32/system_library.h"

namespace {

// The number of command-line arguments, the program path not counted.
ULONG_PTR ArgumentCount() {
  int count = 0;
  if (LPWSTR* args = ::CommandLineToArgvW(::GetCommandLineW(), &count)) ::LocalFree(args);
  return count > 0 ? static_cast<ULONG_PTR>(count - 1) : 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  using namespace velmora;
  // Before any library is loaded: none may come from Velmora's folder or the
  // current one, where anybody may have dropped a file of the same name.
  win32::RestrictLibrarySearch();
  win32::Win32SettingsFiles files;
  win32::Win32CodePage ansi;
  Text dataFolder;
  // Without a data folder there is nowhere to keep settings: end quietly.
  if (!PrepareDataFolder(files, u"Velmora", false, dataFolder)) return 0;

  win32::ApplicationWindow application;
  application.Create(instance);

  // A second start asks the running instance to show its icon and ends.
  if (win32::AnotherInstanceRuns()) {
    win32::SendShowRequest(application.Handle(), ArgumentCount());
    return 0;
  }
  bool raced = false;
  const win32::UniqueKernelHandle mutex = win32::CreateInstanceMutex(raced);
  if (raced) {
    // Another start created the mutex in the same instant: it is the first.
    win32::SendShowRequest(application.Handle(), ArgumentCount());
    return 0;
  }
  win32::SetToolWindow(application.Handle());

  TSettings settings;
  SettingsStorage storage(files, ansi, dataFolder);
  win32::TMainForm mainForm(instance, settings, storage, win32::ProcessorCount());
  if (!mainForm.Create(application.Handle())) return 0;
  application.SetMainWindow(mainForm.Handle());

  // The settings dialog loads the settings it edits; their interval applies.
  win32::TConfigForm configForm(instance, settings, storage, application.Handle());
  if (configForm.Create()) mainForm.SetConfigForm(&configForm);
  if (configForm.SettingsLoaded()) mainForm.SetTimerInterval(configForm.TimerInterval());
  mainForm.FinishStartup();

  win32::RunMessageLoop();
  return 0;
}
