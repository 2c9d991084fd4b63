#include "core/cpu_core_usage.h"

#include <algorithm>

#include "core/cpu_usage.h"

namespace velmora {

void CPUCoreUsage::InitCPUCoreUsage() {
  try {
    SetUp();
  } catch (const EPdhError&) {
    // The cycle reads the last entry whenever the set-up did not fail, so a
    // set-up cut short by the library must count as failed.
    counters_.clear();
    failed_ = true;
    throw;
  }
}

void CPUCoreUsage::SetUp() {
  PdhQuery query = 0;
  if (api_.PdhOpenQueryW(nullptr, 0, &query) != 0) {
    failed_ = true;
    return;
  }
  CoreQuery = query;

  std::uint32_t length = 0;
  if (api_.PdhExpandWildCardPathW(nullptr, kCoreWildCardPath, nullptr, &length, 0) == kPdhMoreData) {
    ++length;
    // Zero-filled: the list always ends in an empty text within the buffer.
    std::vector<char16_t> buffer(length, u'\0');
    if (api_.PdhExpandWildCardPathW(nullptr, kCoreWildCardPath, buffer.data(), &length, 0) == 0) {
      const char16_t* p = buffer.data();
      const char16_t* const end = p + buffer.size();
      while (p < end && *p != u'\0') {
        const char16_t* const terminator = std::find(p, end, u'\0');
        if (terminator == end) break;  // a path without its zero is not a path
        PdhCounter handle = 0;
        if (api_.PdhAddCounterW(CoreQuery, p, 0, &handle) == 0) {
          counters_.push_back(TCPUCounter{Text(p, terminator), handle, 0});
        }
        p = terminator + 1;
      }
    }
  }

  if (counters_.empty()) {
    failed_ = true;
  } else {
    api_.PdhCollectQueryData(CoreQuery);
  }
}

void CPUCoreUsage::UpdateCPUCoreUsage() {
  if (CoreQuery == 0) return;
  api_.PdhCollectQueryData(CoreQuery);
  for (TCPUCounter& counter : counters_) {
    PdhFmtCounterValue value;
    if (api_.PdhGetFormattedCounterValue(counter.Handle, kPdhFmtDouble, nullptr, &value) == 0) {
      counter.CPU = RoundHalfEven(value.doubleValue);
    }
  }
}

void CPUCoreUsage::CloseCPUCoreUsage() {
  if (CoreQuery != 0) api_.PdhCloseQuery(CoreQuery);
}

}  // namespace velmora
