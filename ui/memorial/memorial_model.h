// The memorial editor's rules, without any Win32.
#pragma once

namespace tovani::memorial {}
