// The processor sampler the main window opens for this machine and hands to
// the cycle: the total counter on a machine with one processor, one counter
// per processor otherwise.
#pragma once

#include <cstdint>
#include <vector>

#include "core/cpu_core_usage.h"
#include "core/cpu_usage.h"
#include "core/seams.h"

namespace velmora {

class ProcessorSampler final : public CpuSampler {
 public:
  explicit ProcessorSampler(CounterApi& api) : total_(api), cores_(api) {}

  // InitCPUUsage on one processor, InitCPUCoreUsage otherwise; binding
  // errors leave the call.
  void Open(bool singleCore);
  // Closes the query that Open opened.
  void Close();

  std::int32_t GetCPUUsage() override { return total_.GetCPUUsage(); }
  void UpdateCPUCoreUsage() override { cores_.UpdateCPUCoreUsage(); }
  const std::vector<TCPUCounter>& CPUCounters() const override { return cores_.CPUCounters(); }
  bool CPUCoreFailed() const override { return cores_.CPUCoreFailed(); }

 private:
  bool singleCore_ = false;
  CPUUsage total_;
  CPUCoreUsage cores_;
};

}  // namespace velmora
