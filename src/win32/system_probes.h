// The memory load, the input method's state and the processor count.
#pragma once

#include <windows.h>

#include "core/seams.h"

namespace velmora::win32 {

// The input-method state is asked before the title is written; a short wait
// keeps a tick in front of a hung program within one title time-out.
inline constexpr UINT kImeTimeoutMs = 50;

class Win32SystemProbes final : public SystemProbes {
 public:
  std::int32_t MemoryStatusLoad() override;
  WindowHandle DefaultImeWindow(WindowHandle w) override;
  SendResult QueryImeOpenStatus(WindowHandle imeWindow, std::intptr_t& answer) override;
};

// Number of logical processors, read once at start.
std::uint32_t ProcessorCount();

}  // namespace velmora::win32
