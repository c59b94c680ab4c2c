#include "ui/tables/tables_window_win32.h"

namespace tovani::tables {

void OpenTablesWindow(ProgramContext&, HWND, int) {}

}  // namespace tovani::tables
