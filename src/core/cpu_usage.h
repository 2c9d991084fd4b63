// The total processor usage, for machines with one processor: one query with
// the one counter of the machine's total processor time.
#pragma once

#include <cstdint>

#include "core/pdh_binding.h"

namespace velmora {

inline constexpr char16_t kTotalCounterPath[] = u"\\Processor(_Total)\\% Processor Time";

// To the nearest whole number, an exact half to the even neighbour. Values
// beyond the 32-bit range are held at its ends; not-a-number reads as 0.
std::int32_t RoundHalfEven(double value);

class CPUUsage {
 public:
  explicit CPUUsage(CounterApi& api) : api_(api) {}

  // Opens the query, adds the counter and takes the first sample. A failed
  // step shows only as -1 from GetCPUUsage; binding errors leave the call.
  void InitCPUUsage();
  // Usage in percent since the previous sample; -1 when it cannot be read.
  std::int32_t GetCPUUsage();
  void CloseCPUUsage();

 private:
  CounterApi& api_;
  PdhQuery TotalQuery = 0;
  PdhCounter TotalCounter = 0;
};

}  // namespace velmora
