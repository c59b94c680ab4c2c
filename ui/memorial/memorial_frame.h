// The memorial editor's frame: class, size, control ids and places (at 96 DPI).
#pragma once

#include "ui/common/control_place.h"

namespace tovani::memorial {

inline constexpr const char* kClassName = "TOVANI_EFORM";
// A row below the editing controls holds the calendar-file button.
inline constexpr int kWindowWidth = 433, kWindowHeight = 361;

// Ids start at 100: Enter and Esc arrive as IDOK (1) and IDCANCEL (2).  The
// nine date lists are kDateListBase + their day::ListId (row * 3 + column),
// the add buttons kAddBase + their row.
inline constexpr int kRecordList = 100;
inline constexpr int kDateListBase = 101;
inline constexpr int kAddBase = 110;
inline constexpr int kTitleField = 113, kChooseAudio = 114, kAudition = 115, kPause = 116, kAudioField = 117,
                     kDelete = 118, kSave = 119, kCancel = 120, kAudioSink = 121, kStatus = 122,
                     kCalendarFile = 123;


// In reading order, which is the Tab order.
inline constexpr ControlPlace kPlaces[] = {
    {kRecordList, 8, 8, 410, 121},
    {kDateListBase + 0, 8, 137, 110, 22},  {kDateListBase + 1, 128, 137, 90, 22}, {kDateListBase + 2, 228, 137, 60, 22},
    {kAddBase + 0, 303, 136, 115, 24},
    {kDateListBase + 3, 8, 167, 110, 22},  {kDateListBase + 4, 128, 167, 90, 22}, {kDateListBase + 5, 228, 167, 60, 22},
    {kAddBase + 1, 303, 166, 115, 24},
    {kDateListBase + 6, 8, 197, 110, 22},  {kDateListBase + 7, 128, 197, 90, 22}, {kDateListBase + 8, 228, 197, 60, 22},
    {kAddBase + 2, 303, 196, 115, 24},
    {kStatus, 8, 219, 290, 14},
    {kTitleField, 8, 235, 206, 20},
    {kChooseAudio, 224, 230, 84, 24},       {kAudition, 318, 230, 45, 24},         {kPause, 373, 230, 45, 24},
    {kAudioField, 8, 270, 206, 20},
    {kDelete, 224, 265, 56, 24},            {kSave, 293, 265, 56, 24},             {kCancel, 362, 265, 56, 24},
    {kCalendarFile, 8, 297, 120, 24},
    {kAudioSink, 8, 370, 206, 14},  // below the visible area: the audio player's window only
};

// The height of a date list when it drops down.
inline constexpr int kDropDownHeight = 240;
// Fonts (宋体) by pixel height: the record list, and the other controls.
inline constexpr int kListFontPx = 14, kControlFontPx = 12;

}  // namespace tovani::memorial
