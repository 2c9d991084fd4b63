#include "win32/single_instance.h"

#include "core/show_request.h"
#include "win32/main_form.h"

namespace velmora::win32 {

bool AnotherInstanceRuns() {
  UniqueKernelHandle mutex(::OpenMutexW(MUTEX_ALL_ACCESS, FALSE, kInstanceMutexName));
  return static_cast<bool>(mutex);
}

UniqueKernelHandle CreateInstanceMutex(bool& alreadyExisted) {
  UniqueKernelHandle mutex(::CreateMutexW(nullptr, FALSE, kInstanceMutexName));
  alreadyExisted = mutex && ::GetLastError() == ERROR_ALREADY_EXISTS;
  return mutex;
}

bool SendShowRequest(HWND ownApplicationWindow, ULONG_PTR argumentCount) {
  const HWND target = ::FindWindowW(kMainFormClass, kMainFormTitle);
  if (!target) return false;
  auto payload = ShowRequestPayload();
  COPYDATASTRUCT data{};
  data.dwData = argumentCount;
  data.cbData = static_cast<DWORD>(payload.size());
  data.lpData = payload.data();
  // Bounded: a first instance that hangs must not hang this start too.
  DWORD_PTR result = 0;
  ::SendMessageTimeoutW(target, WM_COPYDATA, reinterpret_cast<WPARAM>(ownApplicationWindow),
                        reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG | SMTO_BLOCK, 200, &result);
  return true;
}

}  // namespace velmora::win32
