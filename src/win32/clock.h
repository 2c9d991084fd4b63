// Local time, the blink's sleep and the day names behind the core's Clock.
#pragma once

#include "core/seams.h"

namespace velmora::win32 {

class Win32Clock final : public Clock {
 public:
  LocalTime Now() override;
  void Sleep(std::uint32_t ms) override;
};

// The abbreviated day names of the user's locale, Sunday first.
DayNames ReadDayNames();

}  // namespace velmora::win32
