#include "core/cpu_usage.h"

#include <cmath>
#include <limits>

namespace velmora {

std::int32_t RoundHalfEven(double value) {
  if (std::isnan(value)) return 0;
  constexpr double kMin = std::numeric_limits<std::int32_t>::min();
  constexpr double kMax = std::numeric_limits<std::int32_t>::max();
  if (value <= kMin) return std::numeric_limits<std::int32_t>::min();
  if (value >= kMax) return std::numeric_limits<std::int32_t>::max();
  const double floor = std::floor(value);
  const double fraction = value - floor;
  double rounded = floor;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0.0)) rounded = floor + 1.0;
  return static_cast<std::int32_t>(rounded);
}

void CPUUsage::InitCPUUsage() {
  // Kept only once open: a failed open leaves the sampler in its not-open
  // state, whatever the library wrote.
  PdhQuery query = 0;
  if (api_.PdhOpenQueryW(nullptr, 0, &query) != 0) return;
  TotalQuery = query;
  if (api_.PdhAddCounterW(TotalQuery, kTotalCounterPath, 0, &TotalCounter) != 0) return;
  api_.PdhCollectQueryData(TotalQuery);
}

std::int32_t CPUUsage::GetCPUUsage() {
  if (TotalQuery == 0) return -1;
  api_.PdhCollectQueryData(TotalQuery);
  PdhFmtCounterValue value;
  if (api_.PdhGetFormattedCounterValue(TotalCounter, kPdhFmtDouble, nullptr, &value) != 0) return -1;
  return RoundHalfEven(value.doubleValue);
}

void CPUUsage::CloseCPUUsage() {
  if (TotalQuery != 0) api_.PdhCloseQuery(TotalQuery);
}

}  // namespace velmora
