// The coordinates window's frame: class, control ids and places (client
// pixels at 96 DPI) of its three modes.  Captions and outer sizes come from
// FrameOf (coordinates_model.h).
#pragma once

#include "ui/common/control_place.h"

namespace tovani::coordinates {

inline constexpr const char* kClassName = "TOVANI_LFORM";

// Ids start at 100: Enter and Esc arrive as IDOK (1) and IDCANCEL (2).
enum Control : int {
  kOk = 100,
  kCancel,
  // Mode 1.
  kNameLabel,
  kCityList,
  kNameField,
  kLongitudeLabel,
  kLongitudeField,
  kLatitudeLabel,
  kLatitudeField,
  kTimeZoneLabel,
  // Mode 2: alarm row r (0..2) has kAlarmBox + r, kTimeField + r, kSoundList + r
  // and kDaysList + r; the quiet time of the hourly announcement runs from
  // kTimeField + 3 to kTimeField + 4.
  kAlarmBox = 120,
  kTimeField = 130,
  kSoundList = 140,
  kDaysList = 160,
  kQuietLabel = 170,
  kQuietToLabel,
  kWorkingDaysOnlyBox,
  // Mode 3.
  kQuestion = 150,
};


// Each mode's controls in reading order, which is the Tab order.
inline constexpr ControlPlace kPlaceControls[] = {
    {kNameLabel, 22, 13, 48, 14},      {kCityList, 72, 10, 120, 20},      {kNameField, 72, 32, 120, 18},
    {kLongitudeLabel, 22, 64, 48, 14}, {kLongitudeField, 72, 62, 120, 18}, {kLatitudeLabel, 22, 94, 48, 14},
    {kLatitudeField, 72, 92, 120, 18}, {kTimeZoneLabel, 22, 118, 170, 14}, {kOk, 22, 140, 76, 24},
    {kCancel, 116, 140, 76, 24},
};
inline constexpr int kAlarmRowY[] = {10, 37, 64};
inline constexpr ControlPlace kAlarmRowControls[] = {
    {kAlarmBox, 12, 3, 74, 14}, {kTimeField, 87, 0, 50, 20}, {kSoundList, 142, 0, 100, 20},  // y: from the row's
    {kDaysList, 247, 0, 72, 20},
};
inline constexpr ControlPlace kAlarmQuietControls[] = {
    {kQuietLabel, 12, 97, 74, 14},         {kTimeField + 3, 87, 94, 50, 20}, {kQuietToLabel, 142, 97, 14, 14},
    {kTimeField + 4, 158, 94, 50, 20},     {kWorkingDaysOnlyBox, 12, 122, 240, 14},
};
inline constexpr ControlPlace kAlarmButtons[] = {{kOk, 81, 146, 76, 24}, {kCancel, 175, 146, 76, 24}};
inline constexpr ControlPlace kDateControls[] = {
    {kQuestion, 22, 12, 170, 16}, {kOk, 22, 37, 76, 24}, {kCancel, 116, 37, 76, 24}};

// Heights of the lists when they drop down.
inline constexpr int kCityListDropHeight = 240, kSoundListDropHeight = 110;
// Fonts (宋体) by pixel height: labels, lists and buttons; the alarm times.
inline constexpr int kControlFontPx = 12, kTimeFontPx = 16;

}  // namespace tovani::coordinates
