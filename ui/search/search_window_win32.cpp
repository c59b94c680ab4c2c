#include "ui/search/search_window_win32.h"

namespace tovani::search {

void OpenSearchWindow(ProgramContext&, HWND, int) {}

}  // namespace tovani::search
