// A program that stops answering while its window is in front: the real
// tick stays short, the next window is decorated on time, and the hung
// window gets its own title back once it answers again.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/alerts.h"
#include "core/decoration_cycle.h"
#include "support.h"
#include "win32/platform.h"

namespace velmora::win32 {
namespace {

using velmora::testing::Narrow;
using velmora::testing::NoCpu;
using velmora::testing::RealCycle;
using velmora::testing::TestWindow;
using velmora::testing::WaitFor;

size_t CountTags(const std::wstring& title) {
  size_t n = 0;
  for (auto pos = title.find(L"【"); pos != std::wstring::npos; pos = title.find(L"【", pos + 1)) ++n;
  return n;
}

ULONGLONG TimedTick(DecorationCycle& cycle) {
  const ULONGLONG start = ::GetTickCount64();
  cycle.Tick();
  return ::GetTickCount64() - start;
}

TEST(HungWindow, TicksStayShortAndTheNextWindowIsDecoratedOnTime) {
  NoCpu cpu;
  RealCycle real{cpu};
  DecorationCycle& cycle = real.cycle;

  TestWindow hung(L"Hung in front");
  TestWindow other(L"Other window");
  ASSERT_TRUE(hung.Activate());
  cycle.Tick();
  ASSERT_NE(hung.Title().find(L"【"), std::wstring::npos) << Narrow(hung.Title());

  ASSERT_TRUE(hung.Hang(6000));
  ULONGLONG longest = 0;
  for (int i = 0; i < 6; ++i) longest = std::max(longest, TimedTick(cycle));
  EXPECT_LT(longest, 300u) << "a tick in front of a hung window took " << longest << " ms";

  ASSERT_TRUE(other.Activate());
  EXPECT_LT(TimedTick(cycle), 300u);
  EXPECT_EQ(other.Title().rfind(L"Other window【", 0), 0u) << Narrow(other.Title());
  EXPECT_EQ(CountTags(other.Title()), 1u);

  // Once it answers again, the next ticks give it its own title back,
  // whether or not it took the writes it missed.
  EXPECT_TRUE(WaitFor(
      [&] {
        cycle.Tick();
        return hung.Title() == L"Hung in front";
      },
      std::chrono::seconds(30)))
      << Narrow(hung.Title());
  EXPECT_EQ(CountTags(other.Title()), 1u);
}

}  // namespace
}  // namespace velmora::win32
