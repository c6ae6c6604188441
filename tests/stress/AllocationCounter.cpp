#include "AllocationCounter.h"

#include <cerrno>
#include <cstdlib>
#include <malloc.h>

#if defined(__SANITIZE_ADDRESS__)
#define TARNWICK_NO_MALLOC_HOOKS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TARNWICK_NO_MALLOC_HOOKS 1
#endif
#endif

namespace {

thread_local bool counting = false;
thread_local size_t allocationCount = 0;
thread_local long long liveByteCount = 0;

} // namespace

namespace Tarnwick {
namespace Stress {

#if defined(TARNWICK_NO_MALLOC_HOOKS)
bool AllocationCounter::available () { return false; }
#else
bool AllocationCounter::available () { return true; }
#endif

AllocationCounter::AllocationCounter ()
{
	allocationCount = 0;
	liveByteCount = 0;
	counting = true;
}

AllocationCounter::~AllocationCounter ()
{
	counting = false;
}

size_t AllocationCounter::allocations () const { return allocationCount; }
long long AllocationCounter::liveBytes () const { return liveByteCount; }

} // namespace Stress
} // namespace Tarnwick

#if !defined(TARNWICK_NO_MALLOC_HOOKS)

// glibc's own allocator under its internal names.
extern "C" {
void* __libc_malloc (size_t size);
void* __libc_calloc (size_t count, size_t size);
void* __libc_realloc (void* pointer, size_t size);
void* __libc_memalign (size_t alignment, size_t size);
void __libc_free (void* pointer);
}

namespace {

void noteAllocation (void* pointer)
{
	if (counting && pointer)
	{
		++allocationCount;
		liveByteCount += static_cast<long long> (malloc_usable_size (pointer));
	}
}

void noteRelease (void* pointer)
{
	if (counting && pointer)
		liveByteCount -= static_cast<long long> (malloc_usable_size (pointer));
}

} // namespace

extern "C" {

void* malloc (size_t size)
{
	void* pointer = __libc_malloc (size);
	noteAllocation (pointer);
	return pointer;
}

void* calloc (size_t count, size_t size)
{
	void* pointer = __libc_calloc (count, size);
	noteAllocation (pointer);
	return pointer;
}

void* realloc (void* old, size_t size)
{
	noteRelease (old);
	void* pointer = __libc_realloc (old, size);
	if (pointer)
		noteAllocation (pointer);
	else if (old && size != 0 && counting)
		liveByteCount += static_cast<long long> (malloc_usable_size (old));
	return pointer;
}

void free (void* pointer)
{
	noteRelease (pointer);
	__libc_free (pointer);
}

void* memalign (size_t alignment, size_t size)
{
	void* pointer = __libc_memalign (alignment, size);
	noteAllocation (pointer);
	return pointer;
}

void* aligned_alloc (size_t alignment, size_t size)
{
	return memalign (alignment, size);
}

int posix_memalign (void** out, size_t alignment, size_t size)
{
	void* pointer = __libc_memalign (alignment, size);
	if (!pointer)
		return ENOMEM;
	noteAllocation (pointer);
	*out = pointer;
	return 0;
}

} // extern "C"

#endif
