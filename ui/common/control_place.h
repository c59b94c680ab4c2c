// Where a control of a window stands: its id and its place in the window's
// client area, in pixels at 96 DPI (the views scale it to the window's DPI).
#pragma once

namespace tovani {

struct ControlPlace {
  int id = 0;  // 0 where the place alone is meant
  int x = 0, y = 0, width = 0, height = 0;
};

// A place without an id.
constexpr ControlPlace PlaceAt(int x, int y, int width, int height) { return {0, x, y, width, height}; }

}  // namespace tovani
