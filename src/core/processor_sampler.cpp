#include "core/processor_sampler.h"

namespace velmora {

void ProcessorSampler::Open(bool singleCore) {
  singleCore_ = singleCore;
  if (singleCore_) {
    total_.InitCPUUsage();
  } else {
    cores_.InitCPUCoreUsage();
  }
}

void ProcessorSampler::Close() {
  if (singleCore_) {
    total_.CloseCPUUsage();
  } else {
    cores_.CloseCPUCoreUsage();
  }
}

}  // namespace velmora
