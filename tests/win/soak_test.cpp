// Soak: many ticks of the real cycle (Win32 seams, Wine's own counter
// library, the real alerts) against real windows that come and go, called
// directly rather than by the timer. The process's handles, GDI and USER
// objects and private memory must not grow. Ticks: VELMORA_SOAK_TICKS
// (default 3000; scripts/bench --long runs 20,000).
//
// Wine 8 answers GetProcessHandleCount, GetGuiResources and PrivateUsage with
// zeros; a zero counts as "not measurable" and that figure is skipped with a
// note, while the figures Wine can give stand in: the handles of this
// process in the system's handle list, its top-level windows, its open file
// descriptors and its anonymous resident memory (RssAnon), the last two from
// its folder in /proc.
#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/alerts.h"
#include "core/decoration_cycle.h"
#include "core/pdh_binding.h"
#include "core/processor_sampler.h"
#include "support.h"
#include "win32/pdh_library.h"
#include "win32/platform.h"

namespace velmora::win32 {
namespace {

using velmora::testing::Narrow;
using velmora::testing::RealCycle;
using velmora::testing::TestWindow;
using velmora::testing::WaitFor;

// --- the figures ---------------------------------------------------------------

// -1: the platform cannot tell.
using Figure = double;
constexpr Figure kUnknown = -1;

Figure NonZero(double v) { return v > 0 ? v : kUnknown; }

// Entries of this process in the system's handle list
// (NtQuerySystemInformation, SystemHandleInformation).
Figure HandlesInSystemList() {
  using Query = LONG(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
  const auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
  if (!query) return kUnknown;
  struct Entry {
    ULONG pid;
    BYTE type, flags;
    USHORT value;
    PVOID object;
    ULONG access;
  };
  std::vector<char> buffer(1 << 16);
  for (int i = 0; i < 12; ++i) {
    ULONG needed = 0;
    const LONG status = query(16, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
    if (status == static_cast<LONG>(0xC0000004)) {  // STATUS_INFO_LENGTH_MISMATCH
      buffer.resize(std::max<size_t>(buffer.size() * 2, needed + 4096));
      continue;
    }
    if (status != 0) return kUnknown;
    const ULONG count = *reinterpret_cast<const ULONG*>(buffer.data());
    const auto* entries = reinterpret_cast<const Entry*>(buffer.data() + sizeof(ULONG_PTR));
    const ULONG self = ::GetCurrentProcessId();
    double own = 0;
    for (ULONG k = 0; k < count; ++k) own += entries[k].pid == self ? 1 : 0;
    return NonZero(own);
  }
  return kUnknown;
}

Figure OpenFileDescriptors() {
  if (velmora::testing::OwnProcFolder().empty()) return kUnknown;
  WIN32_FIND_DATAW found{};
  const HANDLE search = ::FindFirstFileW((velmora::testing::OwnProcFolder() + L"fd\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return kUnknown;
  double n = 0;
  do {
    if (found.cFileName[0] != L'.') ++n;
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  return NonZero(n);
}

// A "Name:   123 kB" line of this process's /proc status.
Figure ProcStatusKiB(const char* name) {
  if (velmora::testing::OwnProcFolder().empty()) return kUnknown;
  const std::string status = velmora::testing::ReadBytes(velmora::testing::OwnProcFolder() + L"status");
  const std::string key = std::string("\n") + name + ":";
  const auto at = status.find(key);
  if (at == std::string::npos) return kUnknown;
  return NonZero(std::strtod(status.c_str() + at + key.size(), nullptr));
}

// Top-level windows of this process (USER objects that Wine can count).
struct WindowCount {
  DWORD pid;
  double n;
};

BOOL CALLBACK CountOwnWindow(HWND w, LPARAM lParam) {
  auto* c = reinterpret_cast<WindowCount*>(lParam);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(w, &pid);
  if (pid == c->pid) ++c->n;
  return TRUE;
}

Figure OwnTopLevelWindows() {
  WindowCount count{::GetCurrentProcessId(), 0};
  ::EnumWindows(CountOwnWindow, reinterpret_cast<LPARAM>(&count));
  return count.n;  // counted here: no window is a real zero
}

struct FigureSource {
  const char* name;
  Figure (*read)();
  double tolerance;  // growth allowed from the early samples to the late ones
};

const FigureSource kFigures[] = {
    {"handles (GetProcessHandleCount)",
     [] {
       DWORD n = 0;
       return ::GetProcessHandleCount(::GetCurrentProcess(), &n) ? NonZero(n) : kUnknown;
     },
     4},
    {"handles (system handle list)", HandlesInSystemList, 4},
    {"open file descriptors (/proc/<pid>/fd)", OpenFileDescriptors, 4},
    {"GDI objects (GetGuiResources)", [] { return NonZero(::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS)); },
     4},
    {"USER objects (GetGuiResources)",
     [] { return NonZero(::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS)); }, 4},
    {"top-level windows (EnumWindows)", OwnTopLevelWindows, 2},
    {"private bytes, KiB (PrivateUsage)",
     [] {
       PROCESS_MEMORY_COUNTERS_EX m{};
       m.cb = sizeof m;
       if (!::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&m), sizeof m))
         return kUnknown;
       return NonZero(static_cast<double>(m.PrivateUsage) / 1024);
     },
     512},
    {"anonymous resident memory, KiB (RssAnon)", [] { return ProcStatusKiB("RssAnon"); }, 512},
};

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

// --- the run -------------------------------------------------------------------

// A top-level window of this process, as a program with its own window in
// front: titled, visible, destroyed with the object.
class OwnWindow {
 public:
  explicit OwnWindow(const wchar_t* title) {
    static const ATOM cls = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = ::DefWindowProcW;
      wc.hInstance = ::GetModuleHandleW(nullptr);
      wc.lpszClassName = L"VelmoraSoakWindow";
      return ::RegisterClassW(&wc);
    }();
    (void)cls;
    hwnd_ = ::CreateWindowExW(0, L"VelmoraSoakWindow", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 80, 80, 400, 300,
                              nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  }
  ~OwnWindow() {
    if (hwnd_) ::DestroyWindow(hwnd_);
  }
  OwnWindow(const OwnWindow&) = delete;
  OwnWindow& operator=(const OwnWindow&) = delete;
  HWND Hwnd() const { return hwnd_; }
  bool Activate() {
    return WaitFor([&] {
      ::SetForegroundWindow(hwnd_);
      return ::GetForegroundWindow() == hwnd_;
    });
  }

 private:
  HWND hwnd_ = nullptr;
};

void PumpMessages() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
}

struct SoakResult {
  long ticks = 0;
  int phases = 0;
  std::vector<std::vector<double>> samples;  // [figure][phase]
  std::vector<std::string> problems;
};

long SoakTicks() {
  const char* env = std::getenv("VELMORA_SOAK_TICKS");
  const long n = env ? std::strtol(env, nullptr, 10) : 0;
  return n > 0 ? n : 3000;
}

SoakResult RunSoak() {
  SoakResult r;
  r.ticks = SoakTicks();
  r.phases = static_cast<int>(std::max(16L, r.ticks / 250));
  const long ticksPerPhase = std::max(1L, r.ticks / r.phases);
  r.samples.resize(std::size(kFigures));

  Win32ModuleLoader loader;
  Win32PdhEntryPoints entryPoints;
  PdhBinding pdh{loader, entryPoints};
  ProcessorSampler cpu{pdh};
  cpu.Open(true);  // Wine's counter library has the total only
  RealCycle real{cpu};
  DecorationCycle& cycle = real.cycle;
  cycle.State().FSingleCore = true;

  // Two programs that stay, and in turn a window of this process or of a
  // new program that comes for one phase and is destroyed while decorated.
  TestWindow first(L"Soak first"), second(L"Soak second");
  if (!first.Hwnd() || !second.Hwnd()) {
    r.problems.push_back("the helper windows did not come up");
    return r;
  }
  long done = 0;
  for (int phase = 0; phase < r.phases; ++phase) {
    std::unique_ptr<OwnWindow> own;
    std::unique_ptr<TestWindow> passing;
    HWND front = nullptr;
    bool activated = false;
    if (phase % 4 == 0) {
      front = first.Hwnd();
      activated = first.Activate();
    } else if (phase % 4 == 1) {
      own = std::make_unique<OwnWindow>(L"Soak own");
      front = own->Hwnd();
      activated = front && own->Activate();
    } else if (phase % 4 == 2) {
      front = second.Hwnd();
      activated = second.Activate();
    } else {
      passing = std::make_unique<TestWindow>(L"Soak passing");
      front = passing->Hwnd();
      activated = front && passing->Activate();
    }
    if (!activated) {
      r.problems.push_back("phase " + std::to_string(phase) + ": the window did not come to the front");
      continue;
    }
    for (long i = 0; i < ticksPerPhase; ++i, ++done) {
      cycle.Tick();
      if (i % 64 == 0) PumpMessages();  // the own window's messages, as the message loop would
    }
    PumpMessages();
    if (velmora::testing::TitleOf(front).find(L"】") == std::wstring::npos) {
      r.problems.push_back("phase " + std::to_string(phase) + ": not decorated: \"" +
                           Narrow(velmora::testing::TitleOf(front)) + "\"");
    }
    own.reset();      // destroyed while decorated
    passing.reset();  // its program ends while decorated
    PumpMessages();
    for (size_t f = 0; f < std::size(kFigures); ++f) r.samples[f].push_back(kFigures[f].read());
  }
  r.ticks = done;
  cycle.RestoreLastTitle();
  cpu.Close();
  return r;
}

class Soak : public ::testing::TestWithParam<size_t> {
 protected:
  static void SetUpTestSuite() {
    if (!result_) result_ = std::make_unique<SoakResult>(RunSoak());
  }
  static std::unique_ptr<SoakResult> result_;
};
std::unique_ptr<SoakResult> Soak::result_;

TEST_P(Soak, FigureDoesNotGrow) {
  const SoakResult& r = *result_;
  for (const auto& p : r.problems) ADD_FAILURE() << p;
  ASSERT_TRUE(r.problems.empty());
  const FigureSource& source = kFigures[GetParam()];
  const std::vector<double>& s = r.samples[GetParam()];
  ASSERT_EQ(s.size(), static_cast<size_t>(r.phases));
  if (std::any_of(s.begin(), s.end(), [](double v) { return v == kUnknown; })) {
    GTEST_SKIP() << source.name << ": not measurable here (the platform answers 0)";
  }
  // The first quarter warms up (heaps, caches, Wine's own tables); then the
  // median of the second quarter against that of the last.
  const size_t q = s.size() / 4;
  const double early = Median({s.begin() + static_cast<long>(q), s.begin() + static_cast<long>(2 * q)});
  const double late = Median({s.end() - static_cast<long>(q), s.end()});
  std::string all;
  for (double v : s) {
    all += ' ';
    all += std::to_string(static_cast<long long>(v));
  }
  std::printf("[ soak     ] %s over %ld ticks, %d phases: early %.0f, late %.0f; samples:%s\n", source.name, r.ticks,
              r.phases, early, late, all.c_str());
  EXPECT_LE(late - early, source.tolerance) << source.name << " grew over " << r.ticks << " ticks:" << all;
}

std::string FigureName(const ::testing::TestParamInfo<size_t>& info) {
  static const char* const names[] = {"HandleCount", "SystemHandleList", "FileDescriptors", "GdiObjects",
                                      "UserObjects", "TopLevelWindows",  "PrivateBytes", "ResidentAnon"};
  static_assert(std::size(names) == std::size(kFigures));
  return names[info.param];
}

INSTANTIATE_TEST_SUITE_P(Figures, Soak, ::testing::Range<size_t>(0, std::size(kFigures)), FigureName);

}  // namespace
}  // namespace velmora::win32
