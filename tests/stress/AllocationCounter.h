// Counts heap allocations made by the calling thread while counting is switched on. The test
// binary that links AllocationCounter.cpp replaces malloc and its relatives (operator new ends
// in malloc), so every allocation of the plug-in and of the libraries it uses is seen.
#pragma once

#include <cstddef>

namespace Tarnwick {
namespace Stress {

class AllocationCounter
{
public:
	// False where the hooks cannot be installed (sanitizer builds bring their own allocator).
	static bool available ();

	// Counting on the calling thread, from construction to destruction.
	AllocationCounter ();
	~AllocationCounter ();
	AllocationCounter (const AllocationCounter&) = delete;
	AllocationCounter& operator= (const AllocationCounter&) = delete;

	// Allocations (malloc, calloc, realloc, aligned forms) since construction.
	size_t allocations () const;
	// Bytes allocated minus bytes freed since construction (usable sizes).
	long long liveBytes () const;
};

} // namespace Stress
} // namespace Tarnwick
