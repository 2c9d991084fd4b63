#include "core/show_request.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace velmora {
namespace {

TEST(ShowRequest, PayloadIsTheFourteenBytesOfSlashShowAndTwoNuls) {
  const std::array<std::uint8_t, 14> expected{0x2F, 0, 0x53, 0, 0x68, 0, 0x6F, 0, 0x77, 0, 0, 0, 0, 0};
  EXPECT_EQ(ShowRequestPayload(), expected);
  const auto bytes = ShowRequestPayload();
  EXPECT_TRUE(IsShowRequest(bytes.data(), bytes.size()));
}

std::vector<std::uint8_t> Utf16Le(std::u16string_view s) {
  std::vector<std::uint8_t> b;
  for (char16_t c : s) {
    b.push_back(static_cast<std::uint8_t>(c & 0xFF));
    b.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return b;
}

struct Case {
  const char* name;
  std::u16string units;  // what the sender's buffer holds
  std::uint64_t cbData;
  bool accepted;
};

TEST(ShowRequest, ReceivedTextMustBeExactlySlashShowWithinCbData) {
  const Case cases[] = {
      {"the request as sent", std::u16string(u"/Show\0\0", 7), 14, true},
      {"one NUL, cbData 12", std::u16string(u"/Show\0", 6), 12, true},
      {"no NUL, cbData ends the text", u"/Show", 10, true},
      {"odd cbData: the half unit is no unit", std::u16string(u"/Show\0", 6), 11, true},
      {"lower case", std::u16string(u"/show\0", 6), 12, false},
      {"upper case", std::u16string(u"/SHOW\0", 6), 12, false},
      {"no slash", std::u16string(u"Show\0", 5), 10, false},
      {"trailing blank", std::u16string(u"/Show \0", 7), 14, false},
      {"longer text", std::u16string(u"/ShowAll\0", 9), 18, false},
      {"cbData cuts the text", std::u16string(u"/Show\0", 6), 8, false},
      {"odd cbData cuts the last unit", std::u16string(u"/Show\0", 6), 9, false},
      {"empty", std::u16string(u"\0", 1), 2, false},
      {"no bytes at all", std::u16string(u"/Show\0", 6), 0, false},
      {"text after the NUL is not read", std::u16string(u"/Show\0junk", 10), 20, true},
  };
  for (const Case& c : cases) {
    const auto bytes = Utf16Le(c.units);
    ASSERT_LE(c.cbData, bytes.size()) << c.name;
    EXPECT_EQ(IsShowRequest(bytes.data(), c.cbData), c.accepted) << c.name;
  }
}

TEST(ShowRequest, NullDataReadsAsEmptyWhateverCbDataSays) {
  EXPECT_FALSE(IsShowRequest(nullptr, 14));
  EXPECT_FALSE(IsShowRequest(nullptr, 0xFFFFFFFFull));
  EXPECT_EQ(RequestText(nullptr, 14, 100), u"");
}

TEST(ShowRequest, HugeCbDataReadsOnlyUpToTheNul) {
  // The receiver gets a copy of cbData bytes; the text stops at its NUL and
  // the reader never walks far past "/Show" whatever the size claims.
  std::vector<std::uint8_t> big(1 << 20, 0x41);
  const auto head = Utf16Le(std::u16string(u"/Show\0", 6));
  std::memcpy(big.data(), head.data(), head.size());
  EXPECT_TRUE(IsShowRequest(big.data(), big.size()));
  big[10] = 0x41;  // no NUL after "/Show": a longer text
  EXPECT_FALSE(IsShowRequest(big.data(), big.size()));
  EXPECT_EQ(RequestText(big.data(), big.size(), 8).size(), 8u);
}

TEST(ShowRequest, UnalignedBuffersAreRead) {
  std::vector<std::uint8_t> buffer(1, 0xEE);
  const auto bytes = ShowRequestPayload();
  buffer.insert(buffer.end(), bytes.begin(), bytes.end());
  EXPECT_TRUE(IsShowRequest(buffer.data() + 1, 14));
}

}  // namespace
}  // namespace velmora
