// What each platform call of a tick costs under Wine, against a window of
// another program in front: this program's own CPU time and the
// wineserver's (from their schedstat files in /proc) and wall time per call,
// then one whole tick through the real seams. Answers which calls to save.
// Usage: velmora_bench_calls [rounds] [ticks]   (beside velmora_testwin.exe)
//   ticks: only the whole ticks, e.g. to count their server requests with
//   WINEDEBUG=+server
#include <windows.h>
#include <imm.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <functional>
#include <string>

#include "core/alerts.h"
#include "core/decoration_cycle.h"
#include "support.h"
#include "win32/platform.h"

namespace {

using velmora::testing::NoCpu;
using velmora::testing::TestWindow;

// CPU time in ns of a thread, from its schedstat file; 0 when unreadable.
unsigned long long CpuNs(const std::wstring& schedstat) {
  return std::strtoull(velmora::testing::ReadBytes(schedstat).c_str(), nullptr, 10);
}

// This program's main thread, and the wineserver (Z:\proc\self is the
// process that opens the file: the wineserver opens files for its clients).
unsigned long long OwnCpuNs() { return CpuNs(velmora::testing::OwnProcFolder() + L"schedstat"); }
unsigned long long ServerCpuNs() { return CpuNs(L"Z:\\proc\\self\\schedstat"); }

void Measure(const char* name, long rounds, const std::function<void()>& call) {
  // The name as a marker in a server trace (WINEDEBUG=+server).
  const std::wstring marker(name, name + std::strlen(name));
  ::GlobalFindAtomW(marker.c_str());
  LARGE_INTEGER frequency, start, end;
  ::QueryPerformanceFrequency(&frequency);
  const unsigned long long cpu0 = OwnCpuNs(), server0 = ServerCpuNs();
  ::QueryPerformanceCounter(&start);
  for (long i = 0; i < rounds; ++i) call();
  ::QueryPerformanceCounter(&end);
  const unsigned long long cpu1 = OwnCpuNs(), server1 = ServerCpuNs();
  const double wallUs = 1e6 * static_cast<double>(end.QuadPart - start.QuadPart) /
                        static_cast<double>(frequency.QuadPart) / static_cast<double>(rounds);
  std::printf("%-40s cpu %8.2f us  wineserver %8.2f us  wall %8.2f us\n", name,
              static_cast<double>(cpu1 - cpu0) / 1e3 / static_cast<double>(rounds),
              static_cast<double>(server1 - server0) / 1e3 / static_cast<double>(rounds), wallUs);
  std::fflush(stdout);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const long rounds = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 2000;
  TestWindow front(L"Calls bench");
  if (!front.Hwnd() || !front.Activate()) {
    std::fprintf(stderr, "the helper window did not come up\n");
    return 1;
  }
  const HWND w = front.Hwnd();
  const bool ticksOnly = argc > 2 && std::wstring(argv[2]) == L"ticks";
  wchar_t buf[512];
  if (!ticksOnly) {
  Measure("GetForegroundWindow", rounds, [] { ::GetForegroundWindow(); });
  Measure("GetWindowThreadProcessId", rounds, [&] {
    DWORD pid;
    ::GetWindowThreadProcessId(w, &pid);
  });
  Measure("GetWindowTextW 512", rounds, [&] { ::GetWindowTextW(w, buf, 512); });
  Measure("GetWindowTextW 260", rounds, [&] { ::GetWindowTextW(w, buf, 260); });
  Measure("GetClassNameW", rounds, [&] { ::GetClassNameW(w, buf, 260); });
  Measure("IsWindowVisible", rounds, [&] { ::IsWindowVisible(w); });
  Measure("IsIconic", rounds, [&] { ::IsIconic(w); });
  Measure("IsZoomed", rounds, [&] { ::IsZoomed(w); });
  Measure("GetWindowLongPtrW GWL_STYLE", rounds, [&] { ::GetWindowLongPtrW(w, GWL_STYLE); });
  Measure("GetWindowRect", rounds, [&] {
    RECT r;
    ::GetWindowRect(w, &r);
  });
  Measure("MonitorFromPoint", rounds, [] { ::MonitorFromPoint(POINT{10, 10}, MONITOR_DEFAULTTONULL); });
  Measure("MonitorFromRect", rounds, [] {
    RECT r{10, 10, 300, 300};
    ::MonitorFromRect(&r, MONITOR_DEFAULTTONULL);
  });
  Measure("GetGUIThreadInfo", rounds, [] {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ::GetGUIThreadInfo(0, &info);
  });
  Measure("ImmGetDefaultIMEWnd", rounds, [&] { ::ImmGetDefaultIMEWnd(w); });
  const HWND ime = ::ImmGetDefaultIMEWnd(w);
  Measure("SendMessageTimeoutW WM_IME_CONTROL", rounds, [&] {
    DWORD_PTR r;
    ::SendMessageTimeoutW(ime, WM_IME_CONTROL, 5, 0, SMTO_ABORTIFHUNG, 50, &r);
  });
  Measure("SendMessageTimeoutW WM_SETTEXT", rounds, [&] {
    DWORD_PTR r;
    ::SendMessageTimeoutW(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Calls bench"), SMTO_ABORTIFHUNG, 150, &r);
  });
  Measure("GlobalMemoryStatusEx", rounds, [] {
    MEMORYSTATUSEX m{};
    m.dwLength = sizeof m;
    ::GlobalMemoryStatusEx(&m);
  });
  Measure("GetLocalTime", rounds, [] {
    SYSTEMTIME t;
    ::GetLocalTime(&t);
  });
  Measure("the measurement itself", rounds / 10, [] {
    OwnCpuNs();
    ServerCpuNs();
  });

  // A tray icon of a window of ours, changed between two icons.
  const HWND owner = ::CreateWindowExW(0, L"STATIC", L"calls bench tray", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                       nullptr, nullptr);
  const HICON icons[2] = {::LoadIconW(nullptr, IDI_APPLICATION), ::LoadIconW(nullptr, IDI_INFORMATION)};
  NOTIFYICONDATAW data{};
  data.cbSize = NOTIFYICONDATAW_V2_SIZE;
  data.hWnd = owner;
  data.uID = 1;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = WM_APP;
  data.hIcon = icons[0];
  std::wcscpy(data.szTip, L"Velmora");
  Measure("  its parts: FindWindowExW Shell_TrayWnd", rounds / 10,
          [] { ::FindWindowExW(nullptr, nullptr, L"Shell_TrayWnd", nullptr); });
  Measure("  its parts: the icon's bits", rounds / 10, [&] {
    ICONINFO info{};
    if (!::GetIconInfo(icons[0], &info)) return;
    BITMAP bm{};
    ::GetObjectW(info.hbmColor, sizeof bm, &bm);
    static char bits[65536];
    ::GetBitmapBits(info.hbmColor, sizeof bits, bits);
    ::GetBitmapBits(info.hbmMask, sizeof bits, bits);
    ::DeleteObject(info.hbmMask);
    ::DeleteObject(info.hbmColor);
  });
  if (::Shell_NotifyIconW(NIM_ADD, &data)) {
    int frame = 0;
    Measure("Shell_NotifyIconW NIM_MODIFY icon+tip", rounds / 10, [&] {
      data.hIcon = icons[frame ^= 1];
      ::Shell_NotifyIconW(NIM_MODIFY, &data);
    });
    data.uFlags = NIF_ICON;
    Measure("Shell_NotifyIconW NIM_MODIFY icon only", rounds / 10, [&] {
      data.hIcon = icons[frame ^= 1];
      ::Shell_NotifyIconW(NIM_MODIFY, &data);
    });
    ::Shell_NotifyIconW(NIM_DELETE, &data);
  } else {
    std::printf("no notification area\n");
  }
  ::DestroyWindow(owner);
  }

  NoCpu cpu;
  velmora::testing::RealCycle real{cpu};
  velmora::DecorationCycle& cycle = real.cycle;
  cycle.Tick();
  Measure("whole tick (real seams, no counters)", ticksOnly ? rounds : rounds / 4, [&] { cycle.Tick(); });
  ::GlobalFindAtomW(L"end");
  cycle.RestoreLastTitle();
  return 0;
}
