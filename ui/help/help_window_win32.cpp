#include "ui/help/help_window_win32.h"

namespace tovani::help {

void OpenHelpWindow(ProgramContext&, HWND, int) {}

}  // namespace tovani::help
