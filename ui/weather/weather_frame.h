// The weather window's frame: class, caption, size, control ids and places
// (at 96 DPI).
#pragma once

#include "ui/weather/weather_model.h"

namespace tovani::weather {

inline constexpr const char* kClassName = "TOVANI_WFORM";
inline constexpr const char* kCaption = "查询天气预报";

// Ids start at 100: Enter and Esc arrive as IDOK (1) and IDCANCEL (2).
enum Control : int {
  kProvinceList = 100,
  kCityList,
  kQuery,
  kCancel,
  kStatus,
  kDateBase = 110,         // + day 0..4
  kRowCaptionBase = 120,   // + row 0..4 ("日期", "天气", "温度", "风向", "风力")
  kHalfCaptionBase = 130,  // + column 0..9 ("白天", "夜间")
  kCellBase = 200,         // + cell number 1..40 - 1
};

constexpr int CellId(int cell) { return kCellBase + cell - 1; }

struct Box {
  int x, y, width, height;
};

// The client area.
inline constexpr int kClientWidth = 790, kClientHeight = 230;

inline constexpr Box kProvincePlace{10, 11, 96, 20}, kCityPlace{112, 11, 110, 20};
inline constexpr int kListDropHeight = 320;
inline constexpr Box kQueryPlace{640, 9, 64, 24}, kCancelPlace{716, 9, 64, 24};
inline constexpr Box kStatusPlace{10, 200, 770, 20};

// The grid: a caption column, then five days of two columns each.
inline constexpr int kCaptionX = 10, kCaptionWidth = 40;
inline constexpr int kGridX = 54, kColumnWidth = 70, kColumnStep = 72, kDayStep = 146;
// Rows: the dates, the halves' captions, then weather (two lines), temperature,
// wind direction and wind force.
inline constexpr int kDateY = 44, kDateHeight = 20;
inline constexpr int kHalfY = 66, kHalfHeight = 18;
inline constexpr Box kValueRows[kGridValueRows] = {{0, 86, 0, 38}, {0, 126, 0, 20}, {0, 148, 0, 20}, {0, 170, 0, 20}};

constexpr int ColumnX(int column) { return kGridX + column / 2 * kDayStep + column % 2 * kColumnStep; }
constexpr Box DatePlace(int day) { return {kGridX + day * kDayStep, kDateY, kColumnStep + kColumnWidth, kDateHeight}; }
constexpr Box HalfCaptionPlace(int column) { return {ColumnX(column), kHalfY, kColumnWidth, kHalfHeight}; }
constexpr Box CellPlace(int column, int row) {
  return {ColumnX(column), kValueRows[row].y, kColumnWidth, kValueRows[row].height};
}
// Row 0 is the dates' row.
constexpr Box RowCaptionPlace(int row) {
  return row == 0 ? Box{kCaptionX, kDateY, kCaptionWidth, kDateHeight}
                  : Box{kCaptionX, kValueRows[row - 1].y, kCaptionWidth, kValueRows[row - 1].height};
}

// Fonts (宋体) by pixel height.
inline constexpr int kFontPx = 12;

}  // namespace tovani::weather
