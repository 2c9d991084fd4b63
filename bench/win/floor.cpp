// The floor a tick cannot go below: a hidden window whose timer makes only
// the platform calls every tick of the default tag needs (the foreground
// window, a title read and written, the input method's state, the local
// time, the memory load, one processor counter). Built a second time
// without the timer (BENCH_IDLE) as the smallest resident program, and a
// third time (BENCH_ICON) with a tray icon that shows Velmora's two frames in
// turn once a second, as Velmora's animation does: the floor of Velmora as
// installed.
// Usage: velmora_bench_floor <interval ms> <window whose title it rewrites>
#include <windows.h>
#include <imm.h>
#include <pdh.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

#ifdef BENCH_ICON
#include "win32/heart_icons.h"
#endif

namespace {

using OpenQuery = PDH_STATUS(WINAPI*)(LPCWSTR, DWORD_PTR, PDH_HQUERY*);
using AddCounter = PDH_STATUS(WINAPI*)(PDH_HQUERY, LPCWSTR, DWORD_PTR, PDH_HCOUNTER*);
using Collect = PDH_STATUS(WINAPI*)(PDH_HQUERY);
using Formatted = PDH_STATUS(WINAPI*)(PDH_HCOUNTER, DWORD, LPDWORD, PPDH_FMT_COUNTERVALUE);

struct Floor {
  HWND target = nullptr;
  std::wstring base;  // the target's own title
  unsigned long ticks = 0;
  PDH_HQUERY query = nullptr;
  PDH_HCOUNTER counter = nullptr;
  Collect collect = nullptr;
  Formatted formatted = nullptr;
  HWND focus = nullptr, ime = nullptr;  // the focus window's input-method window
} g;

void Tick() {
  // The foreground window is read as a tick reads it; the title read and
  // written is that of a window of our own, so as not to fight Velmora over
  // the foreground window's title.
  volatile HWND front = ::GetForegroundWindow();
  (void)front;
  wchar_t title[512];
  ::GetWindowTextW(g.target, title, 512);
  if (g.base.empty()) g.base = title;
  ++g.ticks;
  const std::wstring next = g.base + L" #" + std::to_wstring(g.ticks);
  DWORD_PTR result = 0;
  ::SendMessageTimeoutW(g.target, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(next.c_str()), SMTO_ABORTIFHUNG, 200,
                        &result);
  // The input method of the focus window, asked for its window again only
  // when the focus moves.
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  ::GetGUIThreadInfo(0, &info);
#ifndef BENCH_IDLE  // which never ticks, and links nothing it does not need
  if (info.hwndFocus != g.focus) {
    g.focus = info.hwndFocus;
    g.ime = ::ImmGetDefaultIMEWnd(g.focus);
  }
#endif
  if (g.ime) {
    DWORD_PTR open = 0;
    ::SendMessageTimeoutW(g.ime, WM_IME_CONTROL, 5 /* IMC_GETOPENSTATUS */, 0, SMTO_ABORTIFHUNG | SMTO_NORMAL, 50,
                          &open);
  }
  SYSTEMTIME now{};
  ::GetLocalTime(&now);  // the date and the time of the tag
  MEMORYSTATUSEX memory{};
  memory.dwLength = sizeof memory;
  ::GlobalMemoryStatusEx(&memory);
  if (g.query) {
    PDH_FMT_COUNTERVALUE value{};
    g.collect(g.query);
    g.formatted(g.counter, PDH_FMT_DOUBLE, nullptr, &value);
  }
}

#ifdef BENCH_ICON
NOTIFYICONDATAW g_icon{};
velmora::win32::UniqueIcon g_frames[2];
int g_frame = 0;

// Velmora's own two frames, at the size it gives the notification area.
void AddIcon(HWND hwnd) {
  using velmora::HeartPicture;
  g_frames[0] = velmora::win32::MakeHeartIcon(HeartPicture::Frame0, velmora::win32::TrayIconSize());
  g_frames[1] = velmora::win32::MakeHeartIcon(HeartPicture::Frame1, velmora::win32::TrayIconSize());
  g_icon.cbSize = sizeof(g_icon);
  g_icon.hWnd = hwnd;
  g_icon.uID = 1;
  g_icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  g_icon.uCallbackMessage = WM_APP;
  g_icon.hIcon = g_frames[0].get();
  std::wcscpy(g_icon.szTip, L"Floor");
  ::Shell_NotifyIconW(NIM_ADD, &g_icon);
  ::SetTimer(hwnd, 2, 1000, nullptr);
}

void StepIcon() {
  g_frame = 1 - g_frame;
  g_icon.hIcon = g_frames[g_frame].get();
  ::Shell_NotifyIconW(NIM_MODIFY, &g_icon);
}
#endif

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) {
#ifdef BENCH_ICON
    if (wParam == 2) {
      StepIcon();
      return 0;
    }
#endif
    Tick();
    return 0;
  }
  return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

#ifndef BENCH_IDLE
template <typename T>
T Entry(HMODULE module, const char* name) {
  return reinterpret_cast<T>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

// Bound at run time from the system folder, as Velmora binds it.
void OpenCounter() {
  HMODULE pdh = ::LoadLibraryExW(L"pdh.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (!pdh) return;
  auto open = Entry<OpenQuery>(pdh, "PdhOpenQueryW");
  auto add = Entry<AddCounter>(pdh, "PdhAddCounterW");
  g.collect = Entry<Collect>(pdh, "PdhCollectQueryData");
  g.formatted = Entry<Formatted>(pdh, "PdhGetFormattedCounterValue");
  if (!open || !add || !g.collect || !g.formatted) return;
  if (open(nullptr, 0, &g.query) != 0) return;
  if (add(g.query, L"\\Processor(_Total)\\% Processor Time", 0, &g.counter) != 0) g.query = nullptr;
}
#endif

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const UINT interval = argc > 1 ? static_cast<UINT>(std::wcstoul(argv[1], nullptr, 10)) : 1000;
  WNDCLASSW wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = L"VelmoraBenchFloor";
  if (!::RegisterClassW(&wc)) return 1;
  HWND hwnd = ::CreateWindowExW(0, wc.lpszClassName, L"Floor", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                wc.hInstance, nullptr);
  if (!hwnd) return 1;
#ifndef BENCH_IDLE
  if (argc < 3) return 2;
  g.target = reinterpret_cast<HWND>(static_cast<INT_PTR>(std::wcstoll(argv[2], nullptr, 10)));
  OpenCounter();
  if (!g.query) return 3;
  ::SetTimer(hwnd, 1, interval, nullptr);
#ifdef BENCH_ICON
  AddIcon(hwnd);
#endif
#else
  (void)interval;
#endif
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
#ifdef BENCH_ICON
  ::Shell_NotifyIconW(NIM_DELETE, &g_icon);
#endif
  return 0;
}
