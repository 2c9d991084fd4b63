// Velmora.exe decorating a real window, side by side with the floor program
// (the platform calls a tick cannot avoid) and an idle hidden-window program,
// all running at once; with Velmora's icon animated, also a floor program
// that animates a tray icon. Prints "key value" lines for scripts/bench:
// each process's CPU time and memory from GetProcessTimes and
// GetProcessMemoryInfo after start and at the end (Wine 8 answers only the
// working set for another process; scripts/bench reads the rest from /proc
// at the "mark" lines).
// Usage: velmora_bench_tick <ticks> <interval ms> [ack folder]   (beside Velmora.exe,
// velmora_bench_floor.exe, velmora_bench_floor_icon.exe, velmora_bench_idle.exe
// and velmora_testwin.exe; with the scripted pdh.dll in the system folder)
#include <windows.h>
#include <psapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <memory>
#include <string>

#include "support.h"

namespace {

using velmora::testing::BinDir;
using velmora::testing::ChildProcess;
using velmora::testing::Narrow;
using velmora::testing::DataFolder;
using velmora::testing::ReadBytes;
using velmora::testing::TestWindow;
using velmora::testing::WaitFor;
using velmora::testing::WriteBytes;

struct Sample {
  double cpuMs = 0;  // kernel + user
  double privateKiB = 0, workingSetKiB = 0;
};

double Ms(const FILETIME& t) {
  return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e4;
}

Sample Take(HANDLE process) {
  Sample s;
  FILETIME created, exited, kernel, user;
  if (::GetProcessTimes(process, &created, &exited, &kernel, &user)) s.cpuMs = Ms(kernel) + Ms(user);
  PROCESS_MEMORY_COUNTERS_EX memory{};
  if (::GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory)) {
    s.privateKiB = static_cast<double>(memory.PrivateUsage) / 1024;
    s.workingSetKiB = static_cast<double>(memory.WorkingSetSize) / 1024;
  }
  return s;
}

// The floor's own tick count, which it writes after "#" into its window's title.
unsigned long FloorTicks(HWND target) {
  const std::wstring title = velmora::testing::TitleOf(target);
  const auto hash = title.rfind(L'#');
  return hash == std::wstring::npos ? 0 : std::wcstoul(title.c_str() + hash + 1, nullptr, 10);
}

// Tells scripts/bench to sample the processes from outside and waits until
// it has (it creates <ack folder>\<what>.done).
void Mark(const std::wstring& ackFolder, const char* what) {
  std::printf("mark %s\n", what);
  std::fflush(stdout);
  if (ackFolder.empty()) return;
  const std::wstring done = ackFolder + L"\\" + std::wstring(what, what + std::strlen(what)) + L".done";
  if (!WaitFor([&] { return ::GetFileAttributesW(done.c_str()) != INVALID_FILE_ATTRIBUTES; },
               std::chrono::seconds(60))) {
    std::fprintf(stderr, "no answer to mark %s\n", what);
  }
}

void Print(const char* key, double value) {
  std::printf("%s %.3f\n", key, value);
  std::fflush(stdout);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const long ticks = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 200;
  const long interval = argc > 2 ? std::wcstol(argv[2], nullptr, 10) : 500;
  const std::wstring ackFolder = argc > 3 ? argv[3] : L"";
  if (ticks <= 0 || (interval != 500 && interval != 1000)) return 2;

  velmora::testing::DataFolderGuard guard{L".bench-backup"};
  // VELMORA_BENCH_STILL_ICON=1: the tray icon's animation stopped, to tell
  // its cost from the tick's.
  const char* still = std::getenv("VELMORA_BENCH_STILL_ICON");
  const bool animated = !(still && std::string(still) == "1");
  const std::string disp = animated ? "" : "[Disp]\r\nAnime=1\r\n";
  if (!WriteBytes(DataFolder() + L"Velmora.ini",
                  "[Format]\r\nUpdate=" + std::to_string(interval / 500 - 1) + "\r\n" + disp)) {
    std::fprintf(stderr, "cannot write Velmora.ini\n");
    return 1;
  }

  TestWindow floorTarget(L"Floor target");
  TestWindow iconFloorTarget(L"Icon floor target");
  TestWindow front(L"Bench editor");
  if (!floorTarget.Hwnd() || !iconFloorTarget.Hwnd() || !front.Hwnd() || !front.Activate()) {
    std::fprintf(stderr, "the helper windows did not come up\n");
    return 1;
  }
  ChildProcess idle(BinDir() + L"velmora_bench_idle.exe", L"");
  ChildProcess floor(BinDir() + L"velmora_bench_floor.exe",
                     std::to_wstring(interval) + L" " +
                         std::to_wstring(reinterpret_cast<INT_PTR>(floorTarget.Hwnd())));
  // With Velmora's icon animated, a second floor also animates a tray icon.
  std::unique_ptr<ChildProcess> iconFloor;
  if (animated) {
    iconFloor = std::make_unique<ChildProcess>(
        BinDir() + L"velmora_bench_floor_icon.exe",
        std::to_wstring(interval) + L" " + std::to_wstring(reinterpret_cast<INT_PTR>(iconFloorTarget.Hwnd())));
  }
  ChildProcess velmora(BinDir() + L"Velmora.exe", L"");
  if (!idle.Started() || !floor.Started() || !velmora.Started() || (iconFloor && !iconFloor->Started())) {
    std::fprintf(stderr, "a program did not start\n");
    return 1;
  }
  const auto decorated = [&] { return front.Title().find(L"】") != std::wstring::npos; };
  const auto floorsTick = [&] {
    return FloorTicks(floorTarget.Hwnd()) > 0 && (!iconFloor || FloorTicks(iconFloorTarget.Hwnd()) > 0);
  };
  if (!WaitFor(decorated, std::chrono::seconds(30)) || !WaitFor(floorsTick)) {
    std::fprintf(stderr, "Velmora or the floor does not tick: \"%s\"\n", Narrow(front.Title()).c_str());
    return 1;
  }
  ::Sleep(2000);  // past start-up work

  const Sample v0 = Take(velmora.Process()), f0 = Take(floor.Process()), i0 = Take(idle.Process());
  const unsigned long floorStart = FloorTicks(floorTarget.Hwnd());
  const unsigned long iconFloorStart = FloorTicks(iconFloorTarget.Hwnd());
  Mark(ackFolder, "start");
  LARGE_INTEGER frequency, start, now;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&start);
  long reactivations = 0, lastReport = 0;
  double elapsedMs = 0;
  while (elapsedMs < static_cast<double>(ticks * interval)) {
    ::Sleep(250);
    if (::GetForegroundWindow() != front.Hwnd()) {
      ++reactivations;
      front.Activate();
    }
    ::QueryPerformanceCounter(&now);
    elapsedMs = 1e3 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    if (elapsedMs / 1000 >= lastReport + 30) {
      lastReport = static_cast<long>(elapsedMs / 1000);
      std::fprintf(stderr, "  %ld s, about %ld ticks\n", lastReport, static_cast<long>(elapsedMs) / interval);
    }
  }
  const Sample v1 = Take(velmora.Process()), f1 = Take(floor.Process()), i1 = Take(idle.Process());
  const unsigned long floorTicks = FloorTicks(floorTarget.Hwnd()) - floorStart;
  const unsigned long iconFloorTicks = FloorTicks(iconFloorTarget.Hwnd()) - iconFloorStart;
  Mark(ackFolder, "end");
  const double velmoraTicks = elapsedMs / static_cast<double>(interval);
  const bool stillDecorated = decorated();

  Print("interval_ms", interval);
  Print("elapsed_s", elapsedMs / 1000);
  Print("velmora_ticks", velmoraTicks);
  Print("floor_ticks", floorTicks);
  if (iconFloor) Print("floor_icon_ticks", iconFloorTicks);
  Print("reactivations", reactivations);
  Print("still_decorated", stillDecorated ? 1 : 0);
  Print("velmora_cpu_ms", v1.cpuMs - v0.cpuMs);
  Print("floor_cpu_ms", f1.cpuMs - f0.cpuMs);
  Print("idle_cpu_ms", i1.cpuMs - i0.cpuMs);
  Print("velmora_private_kib_start", v0.privateKiB);
  Print("velmora_private_kib_end", v1.privateKiB);
  Print("velmora_ws_kib_start", v0.workingSetKiB);
  Print("velmora_ws_kib_end", v1.workingSetKiB);
  Print("idle_private_kib_start", i0.privateKiB);
  Print("idle_private_kib_end", i1.privateKiB);
  Print("idle_ws_kib_start", i0.workingSetKiB);
  Print("idle_ws_kib_end", i1.workingSetKiB);
  Print("floor_private_kib_end", f1.privateKiB);
  Print("floor_ws_kib_end", f1.workingSetKiB);
  std::printf("velmora_title %s\n", Narrow(front.Title()).c_str());
  return stillDecorated && floorTicks > 0 ? 0 : 1;
}
