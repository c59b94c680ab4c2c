#include "ui/day/day_frame.h"

#include <gtest/gtest.h>

namespace tovani::day {
namespace {

TEST(DayFrame, OutlineIsAPostageStamp) {
  const Outline& o = DayWindowOutline();
  EXPECT_EQ(o.circles.size(), 2u * 25 + 2u * 14);
  struct Case {
    double x, y;
    bool inside;
  };
  const Case cases[] = {
      {130, 75, true},    // middle
      {5.5, 5.5, true},   // corner of the body
      {1, 1, false},      // window corner, between circles
      {10, 1, true},      // top of the first top circle
      {15, 1, false},     // between two top circles
      {259, 70, true},    // right edge, inside the circle centred at (255, 70)
      {259, 75, false},   // right edge, between circles
      {130, 149, true},   // bottom circle centred at (130, 145)
      {125, 149, false},  // bottom, between circles
      {259, 149, false},  // bottom-right corner
  };
  for (const auto& c : cases) {
    EXPECT_EQ(OutlineContains(o, c.x, c.y), c.inside) << c.x << "," << c.y;
  }
}

TEST(DayFrame, OpensAtTheStoredPlaceOnlyWhenItFits) {
  struct Case {
    int left, top, width, height, x, y;
  };
  const Case cases[] = {
      {-1, -1, 1024, 768, 382, 309},   // nothing stored: centred
      {100, 200, 1024, 768, 100, 200},
      {0, 0, 1024, 768, 0, 0},
      {764, 618, 1024, 768, 764, 618}, // flush with the bottom-right corner
      {765, 618, 1024, 768, 382, 309}, // one pixel too far right
      {100, -5, 1024, 768, 382, 309},
      {-5, 100, 1025, 769, 382, 309},  // centring rounds down
  };
  for (const auto& c : cases) {
    const Position p = InitialPosition(c.left, c.top, c.width, c.height);
    EXPECT_EQ(p.left, c.x) << c.left << "," << c.top;
    EXPECT_EQ(p.top, c.y) << c.left << "," << c.top;
  }
}

}  // namespace
}  // namespace tovani::day
