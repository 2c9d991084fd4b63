#include "core/probes.h"

namespace velmora {

std::int32_t GetMemoryLoad(SystemProbes& probes) { return probes.MemoryStatusLoad(); }

bool IsImeOpen(SystemProbes& probes, WindowHandle w) {
  const WindowHandle ime = probes.DefaultImeWindow(w);
  std::intptr_t answer = 0;
  if (!probes.QueryImeOpenStatus(ime, answer)) return false;
  return answer != 0;
}

}  // namespace velmora
