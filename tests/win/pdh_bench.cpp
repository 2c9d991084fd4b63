// Cost of one UpdateCPUCoreUsage round through the real binding against our
// scripted pdh.dll in the system folder: one sample plus one read per counter.
// Usage: velmora_pdh_bench [rounds] [processors]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/cpu_core_usage.h"
#include "core/pdh_binding.h"
#include "win32/pdh_library.h"

int wmain(int argc, wchar_t** argv) {
  const long rounds = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 200000;
  const long processors = argc > 2 ? std::wcstol(argv[2], nullptr, 10) : 2;
  if (rounds <= 0 || processors <= 0) return 2;

  std::wstring script = L"cpus=";
  for (long i = 0; i < processors; ++i) script += std::to_wstring(i) + L":12.5,";
  script += L"_Total:37.5";
  ::SetEnvironmentVariableW(L"VELMORA_TESTPDH", script.c_str());

  velmora::win32::Win32ModuleLoader loader;
  velmora::win32::Win32PdhEntryPoints entryPoints;
  velmora::PdhBinding pdh{loader, entryPoints};
  velmora::CPUCoreUsage sampler{pdh};
  sampler.InitCPUCoreUsage();
  const auto counters = sampler.CPUCounters().size();
  if (sampler.CPUCoreFailed() || counters != static_cast<size_t>(processors) + 1) {
    std::fprintf(stderr, "set-up failed: %zu counters\n", counters);
    return 1;
  }
  sampler.UpdateCPUCoreUsage();  // binds the read

  LARGE_INTEGER frequency, start, end;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&start);
  for (long r = 0; r < rounds; ++r) sampler.UpdateCPUCoreUsage();
  ::QueryPerformanceCounter(&end);
  sampler.CloseCPUCoreUsage();

  if (sampler.CPUCounters().front().CPU != 12 || sampler.CPUCounters().back().CPU != 38) {
    std::fprintf(stderr, "wrong figures\n");
    return 1;
  }
  const double ns = 1e9 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
  std::printf("UpdateCPUCoreUsage: %zu counters, %ld rounds: %.0f ns a round, %.1f ns a counter\n", counters, rounds,
              ns / static_cast<double>(rounds), ns / static_cast<double>(rounds) / static_cast<double>(counters));
  return 0;
}
