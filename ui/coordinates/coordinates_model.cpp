#include "ui/coordinates/coordinates_model.h"
