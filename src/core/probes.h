// Memory load and input-method state, asked on every tick.
#pragma once

#include <cstdint>

#include "core/seams.h"

namespace velmora {

// Physical memory load in percent as the platform reports it (not clamped).
std::int32_t GetMemoryLoad(SystemProbes& probes);

// The last answer an input method gave, and the focus window it was for.
struct ImeMemory {
  bool known = false;
  WindowHandle focus = 0;
  bool open = false;
};

// True when the input method of the window is open; false on any failure.
// A program that is only slow to answer keeps the answer it gave last for
// the same window, so that the marker does not flicker; without one it
// reads as closed.
bool IsImeOpen(SystemProbes& probes, WindowHandle w, ImeMemory& last);

}  // namespace velmora
