#include "ui/memorial/memorial_window_win32.h"

namespace tovani::memorial {

void OpenMemorialEditor(ProgramContext&, HWND, int) {}

}  // namespace tovani::memorial
