// Every user setting, the display preferences and the run-time values. One
// instance lives for the whole process; the cycle reads it on every tick.
#pragma once

#include <cstdint>
#include <vector>

#include "core/text.h"

namespace velmora {

struct TSettings {
  // Dialog settings.
  bool DisableDialog = false;
  std::int32_t FormatDate = 0;    // 0-3
  std::int32_t FormatTime = 0;    // 0-3
  bool FormatName = false;
  std::int32_t FormatUpdate = 1;  // 0-9: interval 500 * (n + 1) ms
  bool WhistleEnable = false;
  std::int32_t WhistleTime = 10;  // 1-60 blink ticks
  bool WhistleWavEnable = false;
  Text WhistleWavFile;
  bool AlarmEnable = false;
  std::int32_t AlarmTime = 10;    // 1-60 blink ticks
  std::int32_t AlarmHour = 0;     // 0-23
  std::int32_t AlarmMin = 0;      // 0-59
  bool AlarmWavEnabled = false;
  Text AlarmWavFile;
  bool RAMEnable = false;
  std::int32_t RAMUse = 90;       // 1-100 percent
  Text RAMExe;
  std::vector<Text> DisabledPrograms;

  // Display preferences: the check marks of the tray menu.
  bool DispBack = true;
  bool DispFront = false;
  bool DispIME = true;
  bool DispDate = true;
  bool DispTime = true;
  bool DispCPU = true;
  bool DispCPUCore = false;
  bool DispRAM = true;
  bool DispAnime = false;     // true: the tray animation is stopped
  bool DispTrayIcon = false;  // true: the tray icon is hidden

  // Run-time values, never stored.
  bool Stopped = false;
  std::vector<Text> SeenPrograms;  // upper-cased file names, no duplicates

  // Back and front placement are a radio pair: switching one on switches the
  // other off; switching one off leaves the other alone (both may be off).
  void SetDispBack(bool on);
  void SetDispFront(bool on);

  // True while at least one of the six tag items is on.
  bool AnyItemShown() const;

  // The cycle timer's interval for FormatUpdate. An index outside 0-9 (a
  // hand-edited file) gives the default 1000 ms rather than a dead timer.
  std::uint32_t TimerIntervalMs() const;
};

}  // namespace velmora
