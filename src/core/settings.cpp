#include "core/settings.h"

#include <type_traits>
#include <variant>

#include "core/dialog_settings.h"
#include "core/timer_interval.h"

namespace velmora {

TSettings::TSettings() {
  for (const DialogSetting& setting : kDialogSettings) {
    std::visit([&](auto field) { this->*field = InitialValue<std::remove_cvref_t<decltype(this->*field)>>(setting); },
               setting.field);
  }
}

void TSettings::SetDispBack(bool on) {
  DispBack = on;
  if (on) DispFront = false;
}

void TSettings::SetDispFront(bool on) {
  DispFront = on;
  if (on) DispBack = false;
}

bool TSettings::AnyItemShown() const {
  return DispIME || DispCPU || DispCPUCore || DispRAM || DispDate || DispTime;
}

std::uint32_t TSettings::TimerIntervalMs() const {
  return IntervalFromIndex(FormatUpdate);
}

}  // namespace velmora
