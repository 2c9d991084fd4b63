// Memory load and input-method state, asked on every tick.
#pragma once

#include <cstdint>

#include "core/seams.h"

namespace velmora {

// Physical memory load in percent as the platform reports it (not clamped).
std::int32_t GetMemoryLoad(SystemProbes& probes);

// What is known of the focus window's input method: its input-method window
// (a window keeps it for life) and the last answer it gave.
struct ImeMemory {
  bool known = false;  // `focus` and `imeWindow` hold
  WindowHandle focus = 0;
  WindowHandle imeWindow = 0;
  bool answered = false;  // `open` holds
  bool open = false;
};

// True when the input method of the window is open; false on any failure.
// The input-method window is asked for again when the focus moves or a query
// fails. A program that is only slow to answer keeps the answer it gave last
// for the same window, so that the marker does not flicker; without one it
// reads as closed.
bool IsImeOpen(SystemProbes& probes, WindowHandle w, ImeMemory& last);

}  // namespace velmora
