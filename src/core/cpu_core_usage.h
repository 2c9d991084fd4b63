// The usage of each processor and of the machine as a whole, for machines
// with more than one processor: the wildcard path expanded into one counter
// per processor instance, all in one query.
#pragma once

#include <cstdint>
#include <vector>

#include "core/pdh_binding.h"
#include "core/seams.h"

namespace velmora {

inline constexpr char16_t kCoreWildCardPath[] = u"\\Processor(*/*)\\% Processor Time";

class CPUCoreUsage {
 public:
  explicit CPUCoreUsage(CounterApi& api) : api_(api) {}

  // Opens the query and adds one counter per expanded path, in the order of
  // the expansion; CPUCoreFailed tells whether any could be added. A binding
  // error leaves the call, and the set-up then counts as failed too.
  void InitCPUCoreUsage();
  // Reads every counter; an entry whose read fails keeps its last value.
  void UpdateCPUCoreUsage();
  void CloseCPUCoreUsage();

  // The processors in expansion order, the machine's total last.
  const std::vector<TCPUCounter>& CPUCounters() const { return counters_; }
  bool CPUCoreFailed() const { return failed_; }

 private:
  void SetUp();

  CounterApi& api_;
  std::vector<TCPUCounter> counters_;
  PdhQuery CoreQuery = 0;
  bool failed_ = false;
};

}  // namespace velmora
