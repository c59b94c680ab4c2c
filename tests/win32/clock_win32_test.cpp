// What TOVANI_CLOCK may say: a moment, and how many times as fast the clock
// runs; anything else leaves the computer's clock.
#include <gtest/gtest.h>

#include <array>

#include "framework/win32/clock.h"

namespace tovani::win32 {
namespace {

TEST(ClockSetting, ReadsAMomentAndItsRateOrNothing) {
  struct Case {
    const wchar_t* text;
    bool valid;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    long long rate = 1;
  };
  const Case cases[] = {
      {L"2025-06-18 10:20:00", true, 2025, 6, 18, 10, 20, 0, 1},
      {L"2024-02-29 23:59", true, 2024, 2, 29, 23, 59, 0, 1},
      {L"2025-10-01 07:59:50 x60", true, 2025, 10, 1, 7, 59, 50, 60},
      {L"2025-10-01 07:59:50 x86400", true, 2025, 10, 1, 7, 59, 50, 86400},
      {L"2025-10-01 07:59:50 x86401", true, 2025, 10, 1, 7, 59, 50, 1},  // too fast: the normal rate
      {L"2025-10-01 07:59:50 x0", true, 2025, 10, 1, 7, 59, 50, 1},
      {L"2025-02-29 10:00:00", false},
      {L"2025-06-18 24:00:00", false},
      {L"2025-06-18", false},
      {L"1600-12-31 10:00:00", false},  // before the system's first moment
      {L"tomorrow", false},
      {L"", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
    const auto setting = ReadClockSetting(c.text);
    ASSERT_EQ(setting.has_value(), c.valid);
    if (!setting) continue;
    const SYSTEMTIME& m = setting->moment;
    EXPECT_EQ((std::array<int, 6>{m.wYear, m.wMonth, m.wDay, m.wHour, m.wMinute, m.wSecond}),
              (std::array<int, 6>{c.year, c.month, c.day, c.hour, c.minute, c.second}));
    EXPECT_EQ(setting->rate, c.rate);
  }
}

}  // namespace
}  // namespace tovani::win32
