// The coordinates window's rules, without any Win32.
#pragma once

namespace tovani::coordinates {}
