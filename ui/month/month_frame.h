// The month window's frame: size, caption, control ids and places at 96 DPI.
#pragma once

#include "ui/common/control_place.h"

namespace tovani::month {

inline constexpr int kWindowWidth = 534;
inline constexpr int kWindowHeight = 515;
inline constexpr const char* kClassName = "TOVANI_MFORM";
inline constexpr const char* kCaption = "青鹭月历";

// Control ids.
inline constexpr int kHeaderBase = 100;   // + column 0..6 (Sunday first)
inline constexpr int kCellBase = 110;     // + cell 1..37
inline constexpr int kLabelId = 150, kYearListId = 151, kMonthListId = 152, kSummaryId = 153, kDetailsId = 154,
                     kAudioSinkId = 155;
inline constexpr int kButtonBase = 160;  // + position 0..6

enum Button { kPreviousYear, kPreviousMonth, kPreviousDay, kToday, kNextDay, kNextMonth, kNextYear, kButtonCount };
inline constexpr const char* kButtonCaptions[kButtonCount] = {"上一年", "上一月", "上一日", "今日",
                                                              "下一日", "下一月", "下一年"};
inline constexpr const char* kWeekdayHeaders[7] = {"星期日", "星期一", "星期二", "星期三",
                                                  "星期四", "星期五", "星期六"};

inline constexpr ControlPlace HeaderPlace(int column) { return PlaceAt(15 + 71 * column, 15, 72, 30); }
inline constexpr ControlPlace CellPlace(int cell) {  // cell 1..37
  return PlaceAt(15 + 71 * ((cell - 1) % 7), 44 + 55 * ((cell - 1) / 7), 72, 56);
}
inline constexpr ControlPlace ButtonPlace(int position) { return PlaceAt(18 + 71 * position, 447, 66, 23); }
inline constexpr ControlPlace kLabelPlace = PlaceAt(15, 378, 142, 60);
inline constexpr ControlPlace kYearListPlace = PlaceAt(17, 410, 84, 22);
inline constexpr ControlPlace kMonthListPlace = PlaceAt(101, 410, 54, 22);
// The two boxes take the room up to the buttons and up to the cells above, so
// that their two and five lines show in a face with taller lines than 宋体.
inline constexpr ControlPlace kSummaryPlace = PlaceAt(160, 408, 353, 37);
inline constexpr ControlPlace kDetailsPlace = PlaceAt(160, 321, 353, 84);
inline constexpr ControlPlace kAudioSinkPlace = PlaceAt(160, 520, 353, 82);
inline constexpr int kDropDownHeight = 164;

}  // namespace tovani::month
