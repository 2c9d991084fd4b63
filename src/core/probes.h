// Memory load and input-method state, asked on every tick.
#pragma once

#include <cstdint>

#include "core/seams.h"

namespace velmora {

// Physical memory load in percent as the platform reports it (not clamped).
std::int32_t GetMemoryLoad(SystemProbes& probes);

// True when the input method of the window is open. Any failure, including a
// program that does not answer in time, reads as closed.
bool IsImeOpen(SystemProbes& probes, WindowHandle w);

}  // namespace velmora
