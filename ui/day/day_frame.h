// The day window's frame: size, colour, caption, outline and placement.
#pragma once

#include <vector>

#include "ui/common/control_place.h"

namespace tovani::day {

inline constexpr int kWindowWidth = 260;
inline constexpr int kWindowHeight = 150;
inline constexpr int kBackgroundRed = 0, kBackgroundGreen = 153, kBackgroundBlue = 227;
inline constexpr const char* kClassName = "TOVANI_DFORM";
inline constexpr const char* kCaption = "青鹭日历";

struct Box {
  int left, top, right, bottom;
};

// The postage-stamp outline: a rectangle inset by 5 pixels with a circle of
// diameter 10 every 10 pixels along each edge.  The region is the union of
// the body and the circles (each given by its bounding box).
struct Outline {
  Box body;
  std::vector<Box> circles;
};

const Outline& DayWindowOutline();

// Whether the point lies in the outline; margin > 0 asks for a point at least
// that far inside, margin < 0 accepts points that far outside.
bool OutlineContains(const Outline& outline, double x, double y, double margin = 0);

struct Position {
  int left, top;
};

// Where the window opens: at the stored edges when both are >= 0 and the whole
// window fits on the screen, otherwise centred.
Position InitialPosition(int storedLeft, int storedTop, int screenWidth, int screenHeight);

}  // namespace tovani::day

namespace tovani::day {

// Control ids: the nine lists are kListBase + their ListId (day_model.h).
inline constexpr int kListBase = 100;
inline constexpr int kTextLine1Id = 110, kTextLine2Id = 111, kAudioSinkId = 112, kPictureId = 113;

// Places at 96 DPI: x, y, width, height.
// The list of row r (0 Gregorian, 1 lunar, 2 Hijri) and column c (0 year,
// 1 month, 2 day); the height is the face's.
ControlPlace ListPlace(int row, int column);
inline constexpr int kDropDownHeight = 164;
// The text lines are as high as their fonts' character cells (13 and 14 pixel
// characters), so that no glyph is cut; they still end above the next row.
inline constexpr ControlPlace kTextLine1Place = PlaceAt(9, 45, 242, 17);
inline constexpr ControlPlace kTextLine2Place = PlaceAt(9, 92, 242, 18);
inline constexpr ControlPlace kAudioSinkPlace = PlaceAt(9, 155, 242, 14);
inline constexpr ControlPlace kPicturePlace = PlaceAt(0, 0, 265, 150);

}  // namespace tovani::day
