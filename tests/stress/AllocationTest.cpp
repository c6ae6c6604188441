// The audio path allocates nothing: blocks with and without automation, MIDI, bypass, silence
// and unusual block sizes are processed with an allocation counter running. Also the memory one
// instance holds: its two delay lines and at most 64 KiB besides.
#include "AllocationCounter.h"
#include "ProcessorDriver.h"

#include "effect/CFilteredDelay.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Tarnwick::Stress;

namespace {

class AllocationTest : public ::testing::Test
{
protected:
	void SetUp () override
	{
		if (!AllocationCounter::available ())
			GTEST_SKIP () << "allocation hooks are not installed in sanitizer builds";
		ASSERT_TRUE (driver.start (48000., 2, 512));
		// Reach the audio path once before counting (first-use work of the host side).
		noise.fill (driver.input (0), 512);
		noise.fill (driver.input (1), 512);
		ASSERT_EQ (driver.process (512), kResultOk);
	}

	// Processes `blocks` blocks of noise; `prepare` fills changes and events for each block
	// before counting starts. Answers the allocations counted during the process calls.
	template <typename Prepare>
	size_t countDuring (int blocks, int32 frames, Prepare prepare)
	{
		size_t total = 0;
		for (int b = 0; b < blocks; ++b)
		{
			noise.fill (driver.input (0), frames);
			noise.fill (driver.input (1), frames);
			prepare (b);
			AllocationCounter counter;
			const tresult result = driver.process (frames);
			total += counter.allocations ();
			EXPECT_EQ (result, kResultOk);
		}
		return total;
	}

	ProcessorDriver driver;
	NoiseSource noise;
};

TEST_F (AllocationTest, CounterSeesAllocationsOfThisThread)
{
	AllocationCounter counter;
	// Kept visible, so the compiler cannot leave the allocations out.
	void* volatile block = std::malloc (100);
	int* volatile number = new int (5);
	std::free (block);
	delete number;
	EXPECT_EQ (counter.allocations (), 2u);
}

TEST_F (AllocationTest, SteadyProcessingAllocatesNothing)
{
	EXPECT_EQ (countDuring (200, 512, [] (int) {}), 0u);
}

TEST_F (AllocationTest, AutomationOfEveryParameterAllocatesNothing)
{
	const ParamID adapterIds[] = {2048, 2049, 2050, 2051, 2052, 2053, 2054, 2055,
	                              32768, 32769, 32770, 32773, 32774, 0x70727374};
	const size_t count = countDuring (200, 512, [&] (int block) {
		for (ParamID id = 0; id < 10; ++id)
			for (int32 point = 0; point < 4; ++point)
				driver.changes.addChange (id, point * 128, ((block * 7 + static_cast<int> (id) * 3 + point) % 11) / 10.);
		for (ParamID id : adapterIds)
			driver.changes.addChange (id, block % 512, (block % 5) / 4.);
	});
	EXPECT_EQ (count, 0u);
}

TEST_F (AllocationTest, MidiEventsAllocateNothing)
{
	const size_t count = countDuring (200, 512, [&] (int block) {
		for (int16 note = 0; note < 16; ++note)
		{
			driver.events.addNoteOn (note * 16, 0, static_cast<int16> (40 + note + block % 20), 0.8f);
			driver.events.addNoteOff (note * 16 + 8, 0, static_cast<int16> (40 + note + block % 20), 0.f);
		}
		driver.changes.addChange (2048, 100, (block % 3) / 2.);  // pitch bend
	});
	EXPECT_EQ (count, 0u);
}

TEST_F (AllocationTest, BypassAndSilenceAllocateNothing)
{
	const size_t count = countDuring (100, 512, [&] (int block) {
		driver.changes.addChange (2056, 0, block % 2 ? 1. : 0.);
		driver.inputSilence = block % 3 == 0 ? 3 : 0;
	});
	EXPECT_EQ (count, 0u);
}

TEST_F (AllocationTest, OddBlockSizesAllocateNothing)
{
	const int32 sizes[] = {1, 2, 3, 31, 511, 513, 4096, 8192, 0};
	size_t count = 0;
	for (int32 frames : sizes)
		count += countDuring (3, frames, [&] (int block) {
			driver.changes.addChange (0, frames > 0 ? frames - 1 : 0, block / 3.);
		});
	EXPECT_EQ (count, 0u);
}

TEST (InstanceMemory, TwoDelayLinesAndAtMost64KiB)
{
	if (!AllocationCounter::available ())
		GTEST_SKIP () << "allocation hooks are not installed in sanitizer builds";
	// Process-wide things (the SDK's update handler, string converters) come with the first
	// instance; they are not the instance's.
	{
		ProcessorDriver first;
		ASSERT_TRUE (first.start (48000., 2, 512));
	}
	long long live = 0;
	{
		AllocationCounter counter;
		auto* processor = new Vire2VUR3::Processor;
		ASSERT_EQ (processor->initialize (nullptr), kResultOk);
		SpeakerArrangement in = SpeakerArr::kStereo;
		SpeakerArrangement out = SpeakerArr::kStereo;
		ASSERT_EQ (processor->setBusArrangements (&in, 1, &out, 1), kResultOk);
		ProcessSetup setup {kRealtime, kSample32, 512, 48000.};
		ASSERT_EQ (processor->setupProcessing (setup), kResultOk);
		ASSERT_EQ (processor->setActive (true), kResultOk);
		live = counter.liveBytes ();
		processor->terminate ();
		processor->release ();
		// Everything the instance held is given back.
		EXPECT_LE (counter.liveBytes (), 0);
	}
	const long long lines = 2LL * CFilteredDelay::lineLengthFor (48000) * static_cast<long long> (sizeof (float));
	RecordProperty ("instance_bytes_besides_lines", static_cast<int> (live - lines));
	std::printf ("instance memory: %lld bytes besides the two delay lines\n", live - lines);
	EXPECT_GE (live, lines);
	EXPECT_LE (live - lines, 64 * 1024);
}

} // namespace
