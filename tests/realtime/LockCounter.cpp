#include "LockCounter.h"

#include <atomic>
#include <cstdlib>
#include <dlfcn.h>
#include <pthread.h>
#include <semaphore.h>
#include <time.h>

namespace {

using Tarnwick::Realtime::LockCounter;

thread_local bool counting = false;
thread_local size_t callCounts[LockCounter::kFunctionCount] = {};
thread_local int firstCall = LockCounter::kFunctionCount;

struct FunctionEntry
{
	const char* name;
	// Symbol version to ask for where the C library keeps an old one next to the default
	// (an unversioned look-up may answer the old one).
	const char* version;
};

const FunctionEntry functionEntries[LockCounter::kFunctionCount] = {
    {"pthread_mutex_lock", nullptr},
    {"pthread_mutex_trylock", nullptr},
    {"pthread_mutex_timedlock", nullptr},
    {"pthread_mutex_clocklock", nullptr},
    {"pthread_rwlock_rdlock", nullptr},
    {"pthread_rwlock_tryrdlock", nullptr},
    {"pthread_rwlock_timedrdlock", nullptr},
    {"pthread_rwlock_clockrdlock", nullptr},
    {"pthread_rwlock_wrlock", nullptr},
    {"pthread_rwlock_trywrlock", nullptr},
    {"pthread_rwlock_timedwrlock", nullptr},
    {"pthread_rwlock_clockwrlock", nullptr},
    {"pthread_spin_lock", nullptr},
    {"pthread_spin_trylock", nullptr},
    {"sem_wait", nullptr},
    {"sem_trywait", nullptr},
    {"sem_timedwait", nullptr},
    {"sem_clockwait", nullptr},
    {"pthread_cond_wait", "GLIBC_2.3.2"},
    {"pthread_cond_timedwait", "GLIBC_2.3.2"},
    {"pthread_cond_clockwait", nullptr},
};

// The C library's definitions, looked up once (any thread may be first; they all find the same).
std::atomic<void*> nextDefinitions[LockCounter::kFunctionCount] = {};

void* nextDefinition (LockCounter::Function function)
{
	void* address = nextDefinitions[function].load (std::memory_order_relaxed);
	if (address)
		return address;
	const FunctionEntry& entry = functionEntries[function];
	address = entry.version ? dlvsym (RTLD_NEXT, entry.name, entry.version)
	                        : dlsym (RTLD_NEXT, entry.name);
	if (!address)
		address = dlsym (RTLD_NEXT, entry.name);
	if (!address)
		std::abort ();
	nextDefinitions[function].store (address, std::memory_order_relaxed);
	return address;
}

// Looked up before main, so that the first lock of a measured section does not look up.
__attribute__ ((constructor)) void resolveNextDefinitions ()
{
	for (int f = 0; f < LockCounter::kFunctionCount; ++f)
		nextDefinition (static_cast<LockCounter::Function> (f));
}

void note (LockCounter::Function function)
{
	if (!counting)
		return;
	if (firstCall == LockCounter::kFunctionCount)
		firstCall = function;
	++callCounts[function];
}

template <typename Signature>
Signature forward (LockCounter::Function function)
{
	note (function);
	return reinterpret_cast<Signature> (nextDefinition (function));
}

} // namespace

namespace Tarnwick {
namespace Realtime {

const char* LockCounter::nameOf (Function function)
{
	if (function < 0 || function >= kFunctionCount)
		return "none";
	return functionEntries[function].name;
}

LockCounter::LockCounter ()
{
	for (size_t& count : callCounts)
		count = 0;
	firstCall = kFunctionCount;
	counting = true;
}

LockCounter::~LockCounter ()
{
	counting = false;
}

size_t LockCounter::locks () const
{
	size_t total = 0;
	for (size_t count : callCounts)
		total += count;
	return total;
}

size_t LockCounter::callsOf (Function function) const
{
	return callCounts[function];
}

LockCounter::Function LockCounter::first () const
{
	return static_cast<Function> (firstCall);
}

} // namespace Realtime
} // namespace Tarnwick

//---The interposed functions---------------------------------------------------

extern "C" {

int pthread_mutex_lock (pthread_mutex_t* mutex)
{
	using Fn = int (*) (pthread_mutex_t*);
	return forward<Fn> (LockCounter::kMutexLock) (mutex);
}

int pthread_mutex_trylock (pthread_mutex_t* mutex)
{
	using Fn = int (*) (pthread_mutex_t*);
	return forward<Fn> (LockCounter::kMutexTryLock) (mutex);
}

int pthread_mutex_timedlock (pthread_mutex_t* mutex, const struct timespec* until)
{
	using Fn = int (*) (pthread_mutex_t*, const struct timespec*);
	return forward<Fn> (LockCounter::kMutexTimedLock) (mutex, until);
}

int pthread_mutex_clocklock (pthread_mutex_t* mutex, clockid_t clock, const struct timespec* until)
{
	using Fn = int (*) (pthread_mutex_t*, clockid_t, const struct timespec*);
	return forward<Fn> (LockCounter::kMutexClockLock) (mutex, clock, until);
}

int pthread_rwlock_rdlock (pthread_rwlock_t* lock)
{
	using Fn = int (*) (pthread_rwlock_t*);
	return forward<Fn> (LockCounter::kRwlockReadLock) (lock);
}

int pthread_rwlock_tryrdlock (pthread_rwlock_t* lock)
{
	using Fn = int (*) (pthread_rwlock_t*);
	return forward<Fn> (LockCounter::kRwlockTryReadLock) (lock);
}

int pthread_rwlock_timedrdlock (pthread_rwlock_t* lock, const struct timespec* until)
{
	using Fn = int (*) (pthread_rwlock_t*, const struct timespec*);
	return forward<Fn> (LockCounter::kRwlockTimedReadLock) (lock, until);
}

int pthread_rwlock_clockrdlock (pthread_rwlock_t* lock, clockid_t clock, const struct timespec* until)
{
	using Fn = int (*) (pthread_rwlock_t*, clockid_t, const struct timespec*);
	return forward<Fn> (LockCounter::kRwlockClockReadLock) (lock, clock, until);
}

int pthread_rwlock_wrlock (pthread_rwlock_t* lock)
{
	using Fn = int (*) (pthread_rwlock_t*);
	return forward<Fn> (LockCounter::kRwlockWriteLock) (lock);
}

int pthread_rwlock_trywrlock (pthread_rwlock_t* lock)
{
	using Fn = int (*) (pthread_rwlock_t*);
	return forward<Fn> (LockCounter::kRwlockTryWriteLock) (lock);
}

int pthread_rwlock_timedwrlock (pthread_rwlock_t* lock, const struct timespec* until)
{
	using Fn = int (*) (pthread_rwlock_t*, const struct timespec*);
	return forward<Fn> (LockCounter::kRwlockTimedWriteLock) (lock, until);
}

int pthread_rwlock_clockwrlock (pthread_rwlock_t* lock, clockid_t clock, const struct timespec* until)
{
	using Fn = int (*) (pthread_rwlock_t*, clockid_t, const struct timespec*);
	return forward<Fn> (LockCounter::kRwlockClockWriteLock) (lock, clock, until);
}

int pthread_spin_lock (pthread_spinlock_t* lock)
{
	using Fn = int (*) (pthread_spinlock_t*);
	return forward<Fn> (LockCounter::kSpinLock) (lock);
}

int pthread_spin_trylock (pthread_spinlock_t* lock)
{
	using Fn = int (*) (pthread_spinlock_t*);
	return forward<Fn> (LockCounter::kSpinTryLock) (lock);
}

int sem_wait (sem_t* semaphore)
{
	using Fn = int (*) (sem_t*);
	return forward<Fn> (LockCounter::kSemWait) (semaphore);
}

int sem_trywait (sem_t* semaphore)
{
	using Fn = int (*) (sem_t*);
	return forward<Fn> (LockCounter::kSemTryWait) (semaphore);
}

int sem_timedwait (sem_t* semaphore, const struct timespec* until)
{
	using Fn = int (*) (sem_t*, const struct timespec*);
	return forward<Fn> (LockCounter::kSemTimedWait) (semaphore, until);
}

int sem_clockwait (sem_t* semaphore, clockid_t clock, const struct timespec* until)
{
	using Fn = int (*) (sem_t*, clockid_t, const struct timespec*);
	return forward<Fn> (LockCounter::kSemClockWait) (semaphore, clock, until);
}

int pthread_cond_wait (pthread_cond_t* condition, pthread_mutex_t* mutex)
{
	using Fn = int (*) (pthread_cond_t*, pthread_mutex_t*);
	return forward<Fn> (LockCounter::kCondWait) (condition, mutex);
}

int pthread_cond_timedwait (pthread_cond_t* condition, pthread_mutex_t* mutex,
                            const struct timespec* until)
{
	using Fn = int (*) (pthread_cond_t*, pthread_mutex_t*, const struct timespec*);
	return forward<Fn> (LockCounter::kCondTimedWait) (condition, mutex, until);
}

int pthread_cond_clockwait (pthread_cond_t* condition, pthread_mutex_t* mutex, clockid_t clock,
                            const struct timespec* until)
{
	using Fn = int (*) (pthread_cond_t*, pthread_mutex_t*, clockid_t, const struct timespec*);
	return forward<Fn> (LockCounter::kCondClockWait) (condition, mutex, clock, until);
}

} // extern "C"

namespace Tarnwick {
namespace Realtime {

void* LockCounter::interposerOf (Function function)
{
	switch (function)
	{
		case kMutexLock: return reinterpret_cast<void*> (&pthread_mutex_lock);
		case kMutexTryLock: return reinterpret_cast<void*> (&pthread_mutex_trylock);
		case kMutexTimedLock: return reinterpret_cast<void*> (&pthread_mutex_timedlock);
		case kMutexClockLock: return reinterpret_cast<void*> (&pthread_mutex_clocklock);
		case kRwlockReadLock: return reinterpret_cast<void*> (&pthread_rwlock_rdlock);
		case kRwlockTryReadLock: return reinterpret_cast<void*> (&pthread_rwlock_tryrdlock);
		case kRwlockTimedReadLock: return reinterpret_cast<void*> (&pthread_rwlock_timedrdlock);
		case kRwlockClockReadLock: return reinterpret_cast<void*> (&pthread_rwlock_clockrdlock);
		case kRwlockWriteLock: return reinterpret_cast<void*> (&pthread_rwlock_wrlock);
		case kRwlockTryWriteLock: return reinterpret_cast<void*> (&pthread_rwlock_trywrlock);
		case kRwlockTimedWriteLock: return reinterpret_cast<void*> (&pthread_rwlock_timedwrlock);
		case kRwlockClockWriteLock: return reinterpret_cast<void*> (&pthread_rwlock_clockwrlock);
		case kSpinLock: return reinterpret_cast<void*> (&pthread_spin_lock);
		case kSpinTryLock: return reinterpret_cast<void*> (&pthread_spin_trylock);
		case kSemWait: return reinterpret_cast<void*> (&sem_wait);
		case kSemTryWait: return reinterpret_cast<void*> (&sem_trywait);
		case kSemTimedWait: return reinterpret_cast<void*> (&sem_timedwait);
		case kSemClockWait: return reinterpret_cast<void*> (&sem_clockwait);
		case kCondWait: return reinterpret_cast<void*> (&pthread_cond_wait);
		case kCondTimedWait: return reinterpret_cast<void*> (&pthread_cond_timedwait);
		case kCondClockWait: return reinterpret_cast<void*> (&pthread_cond_clockwait);
		case kFunctionCount: break;
	}
	return nullptr;
}

} // namespace Realtime
} // namespace Tarnwick
