#include "core/probes.h"

namespace velmora {

std::int32_t GetMemoryLoad(SystemProbes& probes) { return probes.MemoryStatusLoad(); }

bool IsImeOpen(SystemProbes& probes, WindowHandle w, ImeMemory& last) {
  const WindowHandle ime = probes.DefaultImeWindow(w);
  std::intptr_t answer = 0;
  switch (probes.QueryImeOpenStatus(ime, answer)) {
    case SendResult::Answered:
      last = {true, w, answer != 0};
      return last.open;
    case SendResult::NoAnswer:
      return last.known && last.focus == w && last.open;
    case SendResult::Failed:
      break;
  }
  last = {true, w, false};
  return false;
}

}  // namespace velmora
