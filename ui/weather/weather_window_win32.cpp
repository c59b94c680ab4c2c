#include "ui/weather/weather_window_win32.h"

namespace tovani::weather {

void OpenWeatherWindow(ProgramContext&, HWND, int) {}

}  // namespace tovani::weather
