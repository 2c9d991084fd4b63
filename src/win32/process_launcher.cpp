#include "win32/process_launcher.h"

#include <windows.h>

#include <string>

#include "win32/unique_handle.h"
#include "win32/wide.h"

namespace velmora::win32 {

bool Win32ProcessLauncher::StartProcess(const Text& commandLine, const Text& currentFolder,
                                        std::uint16_t showCommand) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  ::GetStartupInfoW(&startup);
  // Only the show command changes; without STARTF_USESHOWWINDOW from our own
  // start it has no effect, as it always had.
  startup.wShowWindow = showCommand;
  std::wstring buffer(Wide(commandLine));  // CreateProcessW may write into it
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE, nullptr,
                        currentFolder.empty() ? nullptr : Wide(currentFolder), &startup, &info)) {
    return false;
  }
  // Nothing waits for the new process: its handles go at once.
  const UniqueKernelHandle process(info.hProcess), thread(info.hThread);
  return true;
}

Text OwnProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  return FromWide(path.substr(0, path.rfind(L'\\') + 1));
}

}  // namespace velmora::win32
