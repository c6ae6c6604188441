// Counts lock operations made by the calling thread while counting is switched on. The test
// binary that links LockCounter.cpp defines the pthread and semaphore lock functions itself and
// exports them, so the dynamic linker binds every library's calls (the dlopened bundle's too) to
// these definitions, which count and forward to the C library. std::mutex ends in
// pthread_mutex_lock, std::condition_variable in pthread_cond_wait.
#pragma once

#include <cstddef>

namespace Tarnwick {
namespace Realtime {

class LockCounter
{
public:
	// The lock functions that are counted.
	enum Function
	{
		kMutexLock,
		kMutexTryLock,
		kMutexTimedLock,
		kMutexClockLock,
		kRwlockReadLock,
		kRwlockTryReadLock,
		kRwlockTimedReadLock,
		kRwlockClockReadLock,
		kRwlockWriteLock,
		kRwlockTryWriteLock,
		kRwlockTimedWriteLock,
		kRwlockClockWriteLock,
		kSpinLock,
		kSpinTryLock,
		kSemWait,
		kSemTryWait,
		kSemTimedWait,
		kSemClockWait,
		kCondWait,
		kCondTimedWait,
		kCondClockWait,
		kFunctionCount
	};
	static const char* nameOf (Function function);
	// Address of this binary's definition of the function (to check the binding).
	static void* interposerOf (Function function);

	// Counting on the calling thread, from construction to destruction.
	LockCounter ();
	~LockCounter ();
	LockCounter (const LockCounter&) = delete;
	LockCounter& operator= (const LockCounter&) = delete;

	// Calls of all counted functions since construction.
	size_t locks () const;
	size_t callsOf (Function function) const;
	// The first function called since construction; kFunctionCount when none was.
	Function first () const;
};

} // namespace Realtime
} // namespace Tarnwick
