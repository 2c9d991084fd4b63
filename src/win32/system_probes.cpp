#include "win32/system_probes.h"

#include <imm.h>

#include "win32/window_manager.h"

namespace velmora::win32 {

namespace {

constexpr WPARAM kImcGetOpenStatus = 0x0005;  // IMC_GETOPENSTATUS of WM_IME_CONTROL

}  // namespace

std::int32_t Win32SystemProbes::MemoryStatusLoad() {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof(status);
  if (!::GlobalMemoryStatusEx(&status)) return 0;
  return static_cast<std::int32_t>(status.dwMemoryLoad);
}

WindowHandle Win32SystemProbes::DefaultImeWindow(WindowHandle w) {
  return ToHandle(::ImmGetDefaultIMEWnd(ToHwnd(w)));
}

SendResult Win32SystemProbes::QueryImeOpenStatus(WindowHandle imeWindow, std::intptr_t& answer) {
  if (imeWindow == 0) return SendResult::Failed;
  DWORD_PTR result = 0;
  ::SetLastError(ERROR_SUCCESS);
  if (!::SendMessageTimeoutW(ToHwnd(imeWindow), WM_IME_CONTROL, kImcGetOpenStatus, 0,
                             SMTO_ABORTIFHUNG | SMTO_NORMAL, kImeTimeoutMs, &result)) {
    // A program that is busy or hung: the send times out (SMTO_ABORTIFHUNG
    // gives up at once and reports a time-out as well).
    return ::GetLastError() == ERROR_TIMEOUT ? SendResult::NoAnswer : SendResult::Failed;
  }
  answer = static_cast<std::intptr_t>(result);
  return SendResult::Answered;
}

std::uint32_t ProcessorCount() {
  SYSTEM_INFO info{};
  ::GetSystemInfo(&info);
  return info.dwNumberOfProcessors;
}

}  // namespace velmora::win32
