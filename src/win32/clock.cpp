#include "win32/clock.h"

#include <windows.h>

#include "win32/wide.h"

namespace velmora::win32 {

LocalTime Win32Clock::Now() {
  SYSTEMTIME st{};
  ::GetLocalTime(&st);
  return {st.wYear, st.wMonth, st.wDay, st.wDayOfWeek, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

void Win32Clock::Sleep(std::uint32_t ms) { ::Sleep(ms); }

DayNames ReadDayNames() {
  // LOCALE_SABBREVDAYNAME1 is Monday, 7 is Sunday.
  static constexpr LCTYPE kIds[7] = {LOCALE_SABBREVDAYNAME7, LOCALE_SABBREVDAYNAME1, LOCALE_SABBREVDAYNAME2,
                                     LOCALE_SABBREVDAYNAME3, LOCALE_SABBREVDAYNAME4, LOCALE_SABBREVDAYNAME5,
                                     LOCALE_SABBREVDAYNAME6};
  DayNames names;
  for (size_t i = 0; i < 7; ++i) {
    wchar_t buf[80] = {};
    if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, kIds[i], buf, 80) > 0) names[i] = FromWide(buf);
  }
  return names;
}

}  // namespace velmora::win32
