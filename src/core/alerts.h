// What the tick hands on after sampling and after decorating: the memory
// trigger, the hourly chime and daily alarm, and the title blink.
#pragma once

#include <cstdint>

#include "core/decoration_cycle.h"
#include "core/seams.h"
#include "core/settings.h"
#include "core/text.h"

namespace velmora {

inline constexpr std::uint32_t kBlinkMs = 50;

struct AlertServices {
  WindowManager& windows;
  Clock& clock;
  DiskAndSound& disk;
  ProcessLauncher& launcher;
};

class Alerts final : public CycleActions {
 public:
  // `ownFolder`: this program's folder with its trailing backslash, the
  // current folder of the program the trigger starts.
  Alerts(const TSettings& settings, AlertServices services, Text ownFolder);

  // Starts RAMExe once each time the load reaches RAMUse; FMem remembers
  // that the load is at or above it. Throws when the program cannot start.
  void ApplyMemoryTrigger(CycleState& state, std::int32_t clampedLoad) override;
  // Chime at minute 0 second 0 of every hour, then the alarm at second 0 of
  // AlarmHour:AlarmMin; each sets MFlashC and may start its WAV file.
  void CheckAlerts(CycleState& state) override;
  // One blink while MFlashC is above 0: the title goes blank for 50 ms.
  void BlinkTitle(CycleState& state, WindowHandle decorated) override;

 private:
  const TSettings& settings_;
  AlertServices s_;
  Text ownFolder_;
};

}  // namespace velmora
