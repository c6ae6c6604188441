// IAudioProcessor::process of the built bundle takes no lock: the lock functions of the C library
// are counted on the processing thread while a process call runs.
#include "BundleFixture.h"
#include "BundleProcessRig.h"
#include "LockCounter.h"
#include "ProcessScenarios.h"
#include "RunningOnValgrind.h"
#include "ScenarioTestName.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <dlfcn.h>
#include <mutex>
#include <optional>
#include <pthread.h>
#include <semaphore.h>
#include <shared_mutex>
#include <thread>

namespace Tarnwick {
namespace Realtime {
namespace {

// Counts over every process call of a run; remembers the first lock function seen.
class LockCountingSection : public MeasuredSection
{
public:
	void enter () override { counter.emplace (); }
	void leave () override
	{
		const size_t locks = counter->locks ();
		if (locks > 0 && firstFunction == LockCounter::kFunctionCount)
			firstFunction = counter->first ();
		total += locks;
		counter.reset ();
	}

	size_t total = 0;
	LockCounter::Function firstFunction = LockCounter::kFunctionCount;

private:
	std::optional<LockCounter> counter;
};

class LockCounterTest : public ::testing::Test
{
protected:
	void SetUp () override
	{
		if (runningOnValgrind ())
			GTEST_SKIP () << "valgrind replaces the thread functions with its own";
	}
};

TEST_F (LockCounterTest, EveryLookUpFindsTheCountingDefinitions)
{
	// What the dynamic linker binds the dlopened bundle's calls to.
	for (int f = 0; f < LockCounter::kFunctionCount; ++f)
	{
		const auto function = static_cast<LockCounter::Function> (f);
		EXPECT_EQ (dlsym (RTLD_DEFAULT, LockCounter::nameOf (function)), LockCounter::interposerOf (function))
		    << LockCounter::nameOf (function);
	}
}

TEST_F (LockCounterTest, StdMutexIsCounted)
{
	std::mutex mutex;
	LockCounter counter;
	{
		std::lock_guard<std::mutex> guard (mutex);
	}
	EXPECT_TRUE (mutex.try_lock ());
	mutex.unlock ();
	EXPECT_EQ (counter.callsOf (LockCounter::kMutexLock), 1u);
	EXPECT_EQ (counter.callsOf (LockCounter::kMutexTryLock), 1u);
	EXPECT_EQ (counter.locks (), 2u);
	EXPECT_EQ (counter.first (), LockCounter::kMutexLock);
}

TEST_F (LockCounterTest, ReaderWriterLocksSpinLocksAndSemaphoresAreCounted)
{
	std::shared_mutex shared;
	pthread_spinlock_t spin;
	ASSERT_EQ (pthread_spin_init (&spin, PTHREAD_PROCESS_PRIVATE), 0);
	sem_t semaphore;
	ASSERT_EQ (sem_init (&semaphore, 0, 2), 0);
	{
		LockCounter counter;
		shared.lock_shared ();
		shared.unlock_shared ();
		shared.lock ();
		shared.unlock ();
		pthread_spin_lock (&spin);
		pthread_spin_unlock (&spin);
		sem_wait (&semaphore);
		sem_trywait (&semaphore);
		EXPECT_EQ (counter.callsOf (LockCounter::kRwlockReadLock), 1u);
		EXPECT_EQ (counter.callsOf (LockCounter::kRwlockWriteLock), 1u);
		EXPECT_EQ (counter.callsOf (LockCounter::kSpinLock), 1u);
		EXPECT_EQ (counter.callsOf (LockCounter::kSemWait), 1u);
		EXPECT_EQ (counter.callsOf (LockCounter::kSemTryWait), 1u);
		EXPECT_EQ (counter.locks (), 5u);
		EXPECT_EQ (counter.first (), LockCounter::kRwlockReadLock);
	}
	sem_destroy (&semaphore);
	pthread_spin_destroy (&spin);
}

TEST_F (LockCounterTest, ConditionWaitIsCounted)
{
	std::mutex mutex;
	std::condition_variable condition;
	bool ready = false;
	// The mutex is held before the notifier starts: it can only set `ready` once the wait below
	// has released the mutex, so the wait really waits.
	std::unique_lock<std::mutex> lock (mutex);
	LockCounter counter;
	std::thread notifier ([&] {
		std::lock_guard<std::mutex> guard (mutex);
		ready = true;
		condition.notify_one ();
	});
	// std::condition_variable::wait lives in libstdc++: a call from another library.
	condition.wait (lock, [&] { return ready; });
	lock.unlock ();
	notifier.join ();
	EXPECT_GE (counter.callsOf (LockCounter::kCondWait), 1u);
}

TEST_F (LockCounterTest, OtherThreadsAreNotCounted)
{
	std::mutex mutex;
	LockCounter counter;
	std::thread other ([&] { std::lock_guard<std::mutex> guard (mutex); });
	other.join ();
	EXPECT_EQ (counter.callsOf (LockCounter::kMutexLock), 0u);
}

TEST_F (LockCounterTest, LocksTakenInsideTheBundleAreCounted)
{
	BundleProcessRig rig;
	ASSERT_TRUE (rig.load (TarnwickHostTest::bundlePath ())) << rig.error ();
	ASSERT_FALSE (rig.writableParameters ().empty ());
	// A controller-side change notifies through the SDK's update handler, which guards its
	// lists with a mutex: a lock taken by the bundle's own code (never on the audio path).
	LockCounter counter;
	rig.instance ().getController ()->setParamNormalized (rig.writableParameters ().front (), 0.25);
	EXPECT_GE (counter.callsOf (LockCounter::kMutexLock), 1u);
}

TEST_F (LockCounterTest, MutexInsideTheMeasuredSectionIsCounted)
{
	BundleProcessRig rig;
	ASSERT_TRUE (rig.load (TarnwickHostTest::bundlePath ())) << rig.error ();
	ProcessScenarios scenarios (rig);
	// A stand-in for a plug-in that guards its state with a mutex while processing.
	class MutexTakingSection : public LockCountingSection
	{
	public:
		void enter () override
		{
			LockCountingSection::enter ();
			std::lock_guard<std::mutex> guard (mutex);
		}
		std::mutex mutex;
	} section;
	ASSERT_EQ (scenarios.run (Scenario::kSteady, &section), ScenarioOutcome::kPassed);
	EXPECT_EQ (section.total, 48u);
	EXPECT_EQ (section.firstFunction, LockCounter::kMutexLock);
}

// Set up on one thread, processed on another, as in a DAW.
TEST (AudioThreadLockTest, BlocksOnANewThreadTakeNoLock)
{
	if (runningOnValgrind ())
		GTEST_SKIP () << "valgrind replaces the thread functions with its own";
	BundleProcessRig rig;
	ASSERT_TRUE (rig.load (TarnwickHostTest::bundlePath ())) << rig.error ();
	ProcessScenarios scenarios (rig);
	scenarios.setControllerFollows (true);
	LockCountingSection section;
	ScenarioOutcome outcome = ScenarioOutcome::kProcessRefused;
	std::thread audioThread ([&] { outcome = scenarios.runAll (&section); });
	audioThread.join ();
	ASSERT_EQ (outcome, ScenarioOutcome::kPassed);
	EXPECT_EQ (section.total, 0u) << "first lock taken: " << LockCounter::nameOf (section.firstFunction);
	EXPECT_GT (rig.outputPeak (), 0.01f);
}

// The bundle's audio path, scenario by scenario, from the first block of a new instance on.
class ProcessLockTest : public ::testing::TestWithParam<ScenarioOnChannels>
{
protected:
	void SetUp () override
	{
		if (runningOnValgrind ())
			GTEST_SKIP () << "valgrind replaces the thread functions with its own";
		ASSERT_TRUE (rig.load (TarnwickHostTest::bundlePath (), std::get<1> (GetParam ()))) << rig.error ();
		// Whatever the controller side leaves behind must not make the next blocks lock.
		scenarios.setControllerFollows (true);
	}

	BundleProcessRig rig;
	ProcessScenarios scenarios {rig};
};

TEST_P (ProcessLockTest, TakesNoLock)
{
	LockCountingSection section;
	ASSERT_EQ (scenarios.run (std::get<0> (GetParam ()), &section), ScenarioOutcome::kPassed);
	EXPECT_EQ (section.total, 0u) << "first lock taken: " << LockCounter::nameOf (section.firstFunction);
	// The blocks went through the effect (or straight through when bypassed), not around it.
	EXPECT_GT (rig.outputPeak (), 0.01f);
}

INSTANTIATE_TEST_SUITE_P (Scenarios, ProcessLockTest,
                          ::testing::Combine (::testing::ValuesIn (kAllScenarios), ::testing::Values (1, 2)),
                          scenarioTestName);

} // namespace
} // namespace Realtime
} // namespace Tarnwick
