// The floor a tick cannot go below: a hidden window whose timer makes only
// the platform calls every tick needs (the foreground window, a title read
// and written, the memory load, one processor counter). Built a second time
// without the timer (BENCH_IDLE) as the smallest resident program.
// Usage: velmora_bench_floor <interval ms> <window whose title it rewrites>
#include <windows.h>
#include <pdh.h>

#include <cwchar>
#include <string>

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
  MEMORYSTATUSEX memory{};
  memory.dwLength = sizeof memory;
  ::GlobalMemoryStatusEx(&memory);
  if (g.query) {
    PDH_FMT_COUNTERVALUE value{};
    g.collect(g.query);
    g.formatted(g.counter, PDH_FMT_DOUBLE, nullptr, &value);
  }
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) {
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

// Bound at run time, as Velmora binds it.
void OpenCounter() {
  HMODULE pdh = ::LoadLibraryW(L"pdh.dll");
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
#else
  (void)interval;
#endif
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}
