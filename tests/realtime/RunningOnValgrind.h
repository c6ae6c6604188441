// Whether the test runs under valgrind, whose own system calls and thread handling would be
// measured along with the plug-in's.
#pragma once

#if __has_include(<valgrind/valgrind.h>)
#include <valgrind/valgrind.h>
#endif

namespace Tarnwick {
namespace Realtime {

inline bool runningOnValgrind ()
{
#if defined(RUNNING_ON_VALGRIND)
	return RUNNING_ON_VALGRIND != 0;
#else
	return false;
#endif
}

} // namespace Realtime
} // namespace Tarnwick
