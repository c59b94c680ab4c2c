#include "ui/calculator/calculator_window_win32.h"

namespace tovani::calculator {

void OpenCalculatorWindow(ProgramContext&, HWND, int) {}

}  // namespace tovani::calculator
