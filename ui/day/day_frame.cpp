#include "ui/day/day_frame.h"

#include <cmath>

namespace tovani::day {

const Outline& DayWindowOutline() {
  static const Outline outline = [] {
    Outline o{{5, 5, kWindowWidth - 5, kWindowHeight - 5}, {}};
    for (int k = 1; k <= 25; ++k) {
      o.circles.push_back({10 * k - 5, 0, 10 * k + 5, 10});
      o.circles.push_back({10 * k - 5, kWindowHeight - 10, 10 * k + 5, kWindowHeight});
    }
    for (int k = 1; k <= 14; ++k) {
      o.circles.push_back({0, 10 * k - 5, 10, 10 * k + 5});
      o.circles.push_back({kWindowWidth - 10, 10 * k - 5, kWindowWidth, 10 * k + 5});
    }
    return o;
  }();
  return outline;
}

bool OutlineContains(const Outline& o, double x, double y, double margin) {
  if (x >= o.body.left + margin && x <= o.body.right - margin && y >= o.body.top + margin &&
      y <= o.body.bottom - margin) {
    return true;
  }
  for (const Box& c : o.circles) {
    const double cx = (c.left + c.right) / 2.0, cy = (c.top + c.bottom) / 2.0;
    const double r = (c.right - c.left) / 2.0;
    if (std::hypot(x - cx, y - cy) <= r - margin) return true;
  }
  return false;
}

Position InitialPosition(int storedLeft, int storedTop, int screenWidth, int screenHeight) {
  if (storedLeft >= 0 && storedTop >= 0 && storedLeft <= screenWidth - kWindowWidth &&
      storedTop <= screenHeight - kWindowHeight) {
    return {storedLeft, storedTop};
  }
  return {(screenWidth - kWindowWidth) / 2, (screenHeight - kWindowHeight) / 2};
}

}  // namespace tovani::day

namespace tovani::day {

ControlPlace ListPlace(int row, int column) {
  static constexpr int kX[3] = {9, 118, 199}, kWidth[3] = {109, 81, 52}, kY[3] = {16, 64, 112};
  if (row < 0 || row > 2 || column < 0 || column > 2) return {};
  return PlaceAt(kX[column], kY[row], kWidth[column], 22);
}

}  // namespace tovani::day
