#include "ui/memorial/memorial_model.h"
