// The samplers against Wine's own pdh.dll (run with WINEDLLOVERRIDES=pdh=b).
// Wine implements the total processor counter but not wildcard expansion;
// Windows expands to one path per processor and "_Total".
#include <gtest/gtest.h>

#include "core/pdh_binding.h"
#include "core/processor_sampler.h"
#include "win32/pdh_library.h"

namespace velmora::win32 {
namespace {

TEST(WinePdh, TotalCounterReadsButThePerProcessorSetUpFails) {
  Win32ModuleLoader loader;
  Win32PdhEntryPoints entryPoints;
  PdhBinding pdh{loader, entryPoints};

  ProcessorSampler cores{pdh};
  cores.Open(false);
  EXPECT_TRUE(cores.CPUCoreFailed());
  EXPECT_TRUE(cores.CPUCounters().empty());
  cores.Close();

  ProcessorSampler total{pdh};
  total.Open(true);
  for (int i = 0; i < 3; ++i) {
    const std::int32_t usage = total.GetCPUUsage();
    EXPECT_GE(usage, 0);
    EXPECT_LE(usage, 100);
  }
  total.Close();
}

}  // namespace
}  // namespace velmora::win32
