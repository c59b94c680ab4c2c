// The one rule of the historical layer that the astronomical layer applies
// too: the correction of single solar terms (the astronomical layer's
// `correct`).
#pragma once

#include "engine/dates.h"

namespace tovani::history {

// A term instant as the solar-term correction table moves it: n days later
// goes to 00:00 of that day, n days earlier to 23:59:59 of that day.
LocalInstant ApplyTermCorrection(LocalInstant x);

}  // namespace tovani::history
