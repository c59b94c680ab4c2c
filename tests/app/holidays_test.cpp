#include "app/holidays.h"

#include <gtest/gtest.h>

#include <string>

namespace tovani {
namespace {

constexpr RegistryRoot kUser = RegistryRoot::kCurrentUser;
const std::string kKey = std::string(kSettingsKey) + "\\Holidays";

TEST(RegistryHolidays, ValuesAddYearsAndBadOnesAreSkipped) {
  MemoryRegistry registry;
  registry.Set(kUser, kKey, "2099-01-01", "休 元旦");
  registry.Set(kUser, kKey, "2098-12-31", "休 元旦");
  registry.Set(kUser, kKey, "2099-01-04", "班 元旦");
  registry.Set(kUser, kKey, "2099-13-01", "休 元旦");   // no such date
  registry.Set(kUser, kKey, "2099-02-01", "休");        // no name
  registry.Set(kUser, kKey, "2099-02-02", "假 春节\r\n下一行");  // bad mark, and a line break
  registry.SetNonText(kUser, kKey, "2099-02-03");        // a number, not text
  const RegistryHolidays read = ReadRegistryHolidays(registry);

  EXPECT_EQ(read.calendar.Of({2099, 1, 1}).status, HolidayStatus::kDayOff);
  EXPECT_EQ(read.calendar.Of({2098, 12, 31}).name, "元旦");
  EXPECT_EQ(read.calendar.Of({2099, 1, 4}).status, HolidayStatus::kWorkDay);
  EXPECT_EQ(read.calendar.Of({2099, 6, 1}).status, HolidayStatus::kOrdinary);
  EXPECT_EQ(read.calendar.Of({2025, 10, 1}).status, HolidayStatus::kDayOff);  // the built-in years stay
  EXPECT_EQ(read.calendar.LastYear(), 2099);

  std::vector<std::string> warnings;
  for (const auto& e : read.skipped) warnings.push_back(SkippedHolidayText(e));
  const std::string head = "节假日补充（注册表 Holidays）有误，已略过：";
  EXPECT_EQ(warnings, (std::vector<std::string>{head + "2099-02-01=休", head + "2099-02-02=假 春节  下一行",
                                                head + "2099-02-03=", head + "2099-13-01=休 元旦"}));
}

TEST(RegistryHolidays, WithoutTheKeyTheBuiltInTableStays) {
  MemoryRegistry registry;
  const RegistryHolidays read = ReadRegistryHolidays(registry);
  EXPECT_TRUE(read.skipped.empty());
  EXPECT_EQ(read.calendar.Of({2025, 10, 1}).status, HolidayStatus::kDayOff);
  EXPECT_EQ(read.calendar.LastYear(), HolidayCalendar().LastYear());
  EXPECT_FALSE(registry.HasKey(kUser, kKey));  // reading creates nothing
}

}  // namespace
}  // namespace tovani
