#include "ui/calculator/calculator_model.h"
