#include "core/probes.h"

namespace velmora {

std::int32_t GetMemoryLoad(SystemProbes& probes) { return probes.MemoryStatusLoad(); }

bool IsImeOpen(SystemProbes& probes, WindowHandle w, ImeMemory& last) {
  if (!last.known || last.focus != w) last = {true, w, probes.DefaultImeWindow(w)};
  std::intptr_t answer = 0;
  switch (probes.QueryImeOpenStatus(last.imeWindow, answer)) {
    case SendResult::Answered:
      last.answered = true;
      last.open = answer != 0;
      return last.open;
    case SendResult::NoAnswer:
      return last.answered && last.open;
    case SendResult::Failed:
      break;
  }
  // Nothing to keep. An input-method window that was there and failed may
  // have gone: asked for afresh next time. None at all stays none.
  last.answered = last.open = false;
  if (last.imeWindow != 0) last.known = false;
  return false;
}

}  // namespace velmora
