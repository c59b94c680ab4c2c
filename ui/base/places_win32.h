// A control's place in a window's frame (pixels at 96 DPI), as the Win32
// controls take it: as the frame gives it, or with a height of its own (a
// drop-down list's, which the frame gives closed).
#pragma once

#include "framework/win32/dpi.h"
#include "ui/common/control_place.h"

namespace tovani {

inline win32::Place PlaceOf(const ControlPlace& p) { return {p.x, p.y, p.width, p.height}; }
inline win32::Place PlaceOf(const ControlPlace& p, int height) { return {p.x, p.y, p.width, height}; }

}  // namespace tovani
