// The settings dialog on its own, for the screenshots in docs/. Arguments:
// a file to create once the dialog shows, and the data folder to use (with
// a trailing backslash; the user's own settings are never touched).
#include <windows.h>

#include <shellapi.h>

#include <string>

#include "core/settings_storage.h"
#include "win32/config_form.h"
#include "win32/settings_files.h"
#include "win32/unique_handle.h"
#include "win32/wide.h"

namespace {

std::wstring g_readyFile;

void CALLBACK Shown(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  velmora::win32::UniqueKernelHandle file(::CreateFileW(g_readyFile.c_str(), GENERIC_WRITE, 0, nullptr,
                                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  using namespace velmora;
  int argc = 0;
  wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  if (!argv || argc < 3) return 2;
  g_readyFile = argv[1];
  const Text folder = win32::FromWide(argv[2]);
  ::LocalFree(argv);

  win32::Win32SettingsFiles files;
  win32::Win32CodePage ansi;
  SettingsStorage storage(files, ansi, folder);
  TSettings settings;
  settings.SeenPrograms = {u"NOTEPAD.EXE", u"EXPLORER.EXE", u"WINEFILE.EXE"};
  win32::TConfigForm form(instance, settings, storage);
  if (!form.Create()) return 1;
  if (!g_readyFile.empty()) ::SetTimer(nullptr, 0, 700, &Shown);
  form.ShowModal();
  return 0;
}
