// IAudioProcessor::process of the built bundle makes no system call. The instance is loaded,
// set up and warmed up in the test process; then a forked child runs the blocks under a seccomp
// filter that ends it at the first system call, and the parent reads how the child ended.
#include "BundleFixture.h"
#include "BundleProcessRig.h"
#include "ProcessScenarios.h"
#include "RunningOnValgrind.h"
#include "ScenarioTestName.h"
#include "SyscallTrap.h"

#include <gtest/gtest.h>

#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

namespace Tarnwick {
namespace Realtime {
namespace {

bool seccompMissing (const TrappedRun& run)
{
	return run.ending == TrappedRun::Ending::kFilterUnavailable;
}

// The checks themselves: a process call that makes a system call is caught.
class SyscallTrapTest : public ::testing::Test
{
protected:
	void SetUp () override
	{
		if (runningOnValgrind ())
			GTEST_SKIP () << "valgrind makes system calls of its own on the measured thread";
	}
};

TEST_F (SyscallTrapTest, CodeWithoutSystemCallsRunsToItsEnd)
{
	volatile int sum = 0;
	const TrappedRun run = SyscallTrap::run ([&] {
		for (int i = 0; i < 1000; ++i)
			sum = sum + i;
		return sum == 499500 ? 7 : 8;
	});
	if (seccompMissing (run))
		GTEST_SKIP () << "seccomp filters are not available here";
	EXPECT_TRUE (run.exitedWith (7)) << run.describe ();
}

TEST_F (SyscallTrapTest, RawSyscallIsCaught)
{
	const TrappedRun run = SyscallTrap::run ([] {
		syscall (SYS_getpid);
		return 0;
	});
	if (seccompMissing (run))
		GTEST_SKIP () << "seccomp filters are not available here";
	ASSERT_EQ (run.ending, TrappedRun::Ending::kTrapped) << run.describe ();
	EXPECT_EQ (run.syscallNumber, SYS_getpid) << run.describe ();
	EXPECT_NE (run.describe ().find ("getpid (39)"), std::string::npos) << run.describe ();
	EXPECT_FALSE (run.stack.empty ());
}

TEST_F (SyscallTrapTest, WriteThroughTheCLibraryIsCaught)
{
	int pipeEnds[2];
	ASSERT_EQ (pipe (pipeEnds), 0);
	const TrappedRun run = SyscallTrap::run ([&] {
		const char byte = 'x';
		return write (pipeEnds[1], &byte, 1) == 1 ? 0 : 1;
	});
	close (pipeEnds[0]);
	close (pipeEnds[1]);
	if (seccompMissing (run))
		GTEST_SKIP () << "seccomp filters are not available here";
	ASSERT_EQ (run.ending, TrappedRun::Ending::kTrapped) << run.describe ();
	EXPECT_EQ (run.syscallNumber, SYS_write);
}

TEST_F (SyscallTrapTest, SyscallInsideTheMeasuredSectionIsCaught)
{
	BundleProcessRig rig;
	ASSERT_TRUE (rig.load (TarnwickHostTest::bundlePath ())) << rig.error ();
	ProcessScenarios scenarios (rig);
	ASSERT_EQ (scenarios.run (Scenario::kSteady, nullptr), ScenarioOutcome::kPassed);
	// A stand-in for a plug-in that makes a system call in the middle of its blocks. Armed only
	// under the filter: the first round outside gets the section past any first-use work.
	class SyscallMakingSection : public MeasuredSection
	{
	public:
		void enter () override
		{
			if (armed && ++blocks == 20)
				syscall (SYS_getpid);
		}
		void leave () override {}
		bool armed = false;
		int blocks = 0;
	} section;
	ASSERT_EQ (scenarios.run (Scenario::kSteady, &section), ScenarioOutcome::kPassed);
	section.armed = true;
	const TrappedRun run = SyscallTrap::run ([&] {
		return static_cast<int> (scenarios.run (Scenario::kSteady, &section));
	});
	if (seccompMissing (run))
		GTEST_SKIP () << "seccomp filters are not available here";
	ASSERT_EQ (run.ending, TrappedRun::Ending::kTrapped) << run.describe ();
	EXPECT_EQ (run.syscallNumber, SYS_getpid);
}

// The bundle's audio path, scenario by scenario.
class ProcessSyscallTest : public ::testing::TestWithParam<ScenarioOnChannels>
{
protected:
	void SetUp () override
	{
		if (runningOnValgrind ())
			GTEST_SKIP () << "valgrind makes system calls of its own on the measured thread";
		ASSERT_TRUE (rig.load (TarnwickHostTest::bundlePath (), std::get<1> (GetParam ()))) << rig.error ();
		// Every path once before the filter: symbol binding and first touches of memory are
		// done by then, as in a DAW that has been playing. The controller side follows the
		// program changes here; under the filter only the audio path runs.
		scenarios.setControllerFollows (true);
		ASSERT_EQ (scenarios.runAll (nullptr), ScenarioOutcome::kPassed);
		scenarios.setControllerFollows (false);
	}

	BundleProcessRig rig;
	ProcessScenarios scenarios {rig};
};

TEST_P (ProcessSyscallTest, MakesNoSystemCall)
{
	const Scenario scenario = std::get<0> (GetParam ());
	const TrappedRun run = SyscallTrap::run ([&] {
		return static_cast<int> (scenarios.run (scenario, nullptr));
	});
	if (seccompMissing (run))
		GTEST_SKIP () << "seccomp filters are not available here";
	ASSERT_NE (run.ending, TrappedRun::Ending::kTrapped) << nameOf (scenario) << ": " << run.describe ();
	ASSERT_EQ (run.ending, TrappedRun::Ending::kExited) << run.describe ();
	EXPECT_EQ (run.exitCode, static_cast<int> (ScenarioOutcome::kPassed))
	    << (run.exitCode <= kHighestScenarioOutcome ? describe (static_cast<ScenarioOutcome> (run.exitCode))
	                                                : "unexpected status");
}

INSTANTIATE_TEST_SUITE_P (Scenarios, ProcessSyscallTest,
                          ::testing::Combine (::testing::ValuesIn (kAllScenarios), ::testing::Values (1, 2)),
                          scenarioTestName);

// A DAW sets the instance up on one thread and processes on its audio thread: the first blocks
// there meet nothing the set-up thread prepared for itself (thread-local storage and the like).
TEST (AudioThreadSyscallTest, BlocksOnANewThreadMakeNoSystemCall)
{
	if (runningOnValgrind ())
		GTEST_SKIP () << "valgrind makes system calls of its own on the measured thread";
	BundleProcessRig rig;
	ASSERT_TRUE (rig.load (TarnwickHostTest::bundlePath ())) << rig.error ();
	ProcessScenarios scenarios (rig);
	scenarios.setControllerFollows (true);
	ASSERT_EQ (scenarios.runAll (nullptr), ScenarioOutcome::kPassed);
	scenarios.setControllerFollows (false);
	TrappedRun run;
	// The child of a fork made on the new thread is that thread alone.
	std::thread audioThread ([&] {
		run = SyscallTrap::run ([&] { return static_cast<int> (scenarios.runAll (nullptr)); });
	});
	audioThread.join ();
	if (seccompMissing (run))
		GTEST_SKIP () << "seccomp filters are not available here";
	ASSERT_NE (run.ending, TrappedRun::Ending::kTrapped) << run.describe ();
	EXPECT_TRUE (run.exitedWith (0)) << run.describe ();
}

// A fresh instance, straight from activation, without warm-up blocks of its own.
TEST (FreshInstanceSyscallTest, FirstBlocksMakeNoSystemCall)
{
	if (runningOnValgrind ())
		GTEST_SKIP () << "valgrind makes system calls of its own on the measured thread";
#if defined(TARNWICK_UNDEFINED_SANITIZER)
	// The first time it meets a dynamic type, the sanitizer's vptr check probes the object's
	// memory through a pipe (IsAccessibleMemoryRange): a system call of its own, made once per
	// type. The warmed-up scenarios above run under the filter in these builds too.
	GTEST_SKIP () << "the undefined-behaviour sanitizer makes a system call on first use of each dynamic type";
#endif
	BundleProcessRig rig;
	ASSERT_TRUE (rig.load (TarnwickHostTest::bundlePath ())) << rig.error ();
	ProcessScenarios scenarios (rig);
	const TrappedRun run = SyscallTrap::run ([&] {
		return static_cast<int> (scenarios.runAll (nullptr));
	});
	if (seccompMissing (run))
		GTEST_SKIP () << "seccomp filters are not available here";
	ASSERT_NE (run.ending, TrappedRun::Ending::kTrapped) << run.describe ();
	EXPECT_TRUE (run.exitedWith (0)) << run.describe ();
}

} // namespace
} // namespace Realtime
} // namespace Tarnwick
