// The help window's rules, without any Win32.
#pragma once

namespace tovani::help {}
