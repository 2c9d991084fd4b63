// Every user setting, the display preferences and the run-time values. One
// instance lives for the whole process; the cycle reads it on every tick.
#pragma once

#include <cstdint>
#include <vector>

#include "core/text.h"

namespace velmora {

struct TSettings {
  // The dialog settings at their initial values (kDialogSettings), the
  // display preferences and run-time values at theirs.
  TSettings();

  // Dialog settings. Their sections and keys, initial values and ranges are
  // those of kDialogSettings (core/dialog_settings.h).
  bool DisableDialog{};
  std::int32_t FormatDate{};
  std::int32_t FormatTime{};
  bool FormatName{};
  std::int32_t FormatUpdate{};  // the interval list's index: 500 * (n + 1) ms
  bool WhistleEnable{};
  std::int32_t WhistleTime{};   // blink ticks
  bool WhistleWavEnable{};
  Text WhistleWavFile;
  bool AlarmEnable{};
  std::int32_t AlarmTime{};     // blink ticks
  std::int32_t AlarmHour{};
  std::int32_t AlarmMin{};
  bool AlarmWavEnabled{};
  Text AlarmWavFile;
  bool RAMEnable{};
  std::int32_t RAMUse{};        // percent
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

  // The cycle timer's interval for FormatUpdate (core/timer_interval.h).
  std::uint32_t TimerIntervalMs() const;
};

}  // namespace velmora
