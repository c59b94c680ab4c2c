// Easter by the churches' computus, against their published tables.
#include <gtest/gtest.h>

#include <string>

#include "engine/dates.h"
#include "engine/festivals.h"

namespace tovani {
namespace {

const std::string kEaster = "复活节";

bool NamesEaster(const CivilDate& d) {
  return GregorianFestivalText(d.year, d.month, d.day, FestivalList::kFull).find(kEaster) != std::string::npos;
}

// The dates the program shows: the Gregorian computus from 1583, the Julian
// one (on the Julian calendar) up to 1582.
TEST(Easter, ThePublishedDatesOfBothChurchesTables) {
  const CivilDate published[] = {
      // Western tables.  2019, 2000, 1998, 2022 and 2030 are the years in which
      // the astronomical equinox and full moon would give another Sunday.
      {2019, 4, 21}, {2000, 4, 23}, {1998, 4, 12}, {2022, 4, 17}, {2030, 4, 21}, {2024, 3, 31},
      {1583, 4, 10}, {1704, 3, 23}, {1818, 3, 22}, {1844, 4, 7}, {1943, 4, 25}, {1950, 4, 9},
      {1987, 4, 19}, {2038, 4, 25}, {2100, 3, 28}, {2285, 3, 22}, {2987, 4, 8}, {3249, 4, 25},
      {3401, 3, 22}, {3987, 3, 29},
      // Julian dates before the reform (the incunabula tables of 1451-1501, and
      // 887); 1582 follows 1487 (15 April) by five 19-year cycles.
      {887, 4, 16}, {1451, 4, 25}, {1456, 3, 28}, {1478, 3, 22}, {1492, 4, 22}, {1500, 4, 19},
      {1582, 4, 15},
  };
  for (const CivilDate& d : published) {
    EXPECT_EQ(EasterDay(d.year), DateToDayNumber(d)) << d.year;
    EXPECT_TRUE(NamesEaster(d)) << d.year;
    EXPECT_FALSE(NamesEaster(*AddDays(d, 7))) << d.year;
    EXPECT_FALSE(NamesEaster(*AddDays(d, -7))) << d.year;
  }
}

// The Orthodox Easter, published as Gregorian dates, is the Julian computus's
// Julian date, 13 days behind from 1900 to 2099 and 19 in 2870.
TEST(Easter, JulianComputusGivesTheOrthodoxDates) {
  const struct {
    CivilDate gregorian;
    int behind;
  } published[] = {
      {{1994, 5, 1}, 13},  {{1995, 4, 23}, 13}, {{2000, 4, 30}, 13}, {{2002, 5, 5}, 13},
      {{2013, 5, 5}, 13},  {{2016, 5, 1}, 13},  {{2021, 5, 2}, 13},  {{2024, 5, 5}, 13},
      {{2027, 5, 2}, 13},  {{2870, 4, 20}, 19},
  };
  for (const auto& p : published) {
    const CivilDate julian = *AddDays(p.gregorian, -p.behind);  // the same day's Julian month and day
    const EasterDate e = EasterByComputus(p.gregorian.year, Computus::kJulian);
    EXPECT_EQ(e.month, julian.month) << p.gregorian.year;
    EXPECT_EQ(e.day, julian.day) << p.gregorian.year;
  }
}

// Every Easter is a Sunday from 22 March to 25 April of the calendar the
// program shows for its year; none before 325.
TEST(Easter, ASundayFrom22MarchTo25AprilFrom325On) {
  EXPECT_EQ(EasterDay(324), InvalidDayNumber);
  EXPECT_EQ(EasterDay(9001), InvalidDayNumber);
  EXPECT_EQ(EasterByComputus(0, Computus::kJulian).month, 0);
  for (std::int32_t y = 325; y <= 9000; ++y) {
    const auto d = DayNumberToDate(EasterDay(y));
    ASSERT_TRUE(d.has_value()) << y;
    ASSERT_EQ(d->year, y);
    ASSERT_EQ(*WeekdayOf(d->year, d->month, d->day), Sunday) << y;
    ASSERT_TRUE((d->month == 3 && d->day >= 22) || (d->month == 4 && d->day <= 25)) << y;
  }
}

}  // namespace
}  // namespace tovani
