#include "ui/help/help_model.h"
