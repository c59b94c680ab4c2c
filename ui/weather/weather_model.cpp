#include "ui/weather/weather_model.h"
