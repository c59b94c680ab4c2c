#include "ui/coordinates/coordinates_window_win32.h"

namespace tovani::coordinates {

void OpenCoordinatesWindow(ProgramContext&, HWND, int) {}

}  // namespace tovani::coordinates
