// "Sync" through the bundle as a VST 3 host drives it: the host's tempo from the process context
// puts the first echo of an impulse where the note's length at that tempo puts it.
#include "BundleFixture.h"

#include <cmath>

namespace TarnwickHostTest {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Tarnwick::HostKit;

constexpr int32 kBlock = 512;

class TempoSyncTest : public BundleTest
{
protected:
	// Delay mode, ratio 1, offset 0, all wet, no feedback, Sync on with the note (its index).
	PluginInstance& syncedInstance (int note)
	{
		PluginInstance& instance = newActiveInstance (48000.0, kBlock, 2);
		instance.setParameter (kDelayState, 1.0);
		instance.setParameter (kWetDry, 1.0);
		instance.setParameter (kSync, 1.0);
		instance.setParameter (kNote, note / 20.0);
		return instance;
	}

	// Runs `frames` frames at the tempo (0: a context whose tempo is not valid, holding another
	// one); an impulse at `impulseAt` (or none). The left output.
	std::vector<float> run (PluginInstance& instance, double bpm, int64 frames, int64 impulseAt = -1)
	{
		ProcessContext context {};
		context.state = ProcessContext::kPlaying;
		if (bpm > 0.0)
			context.state |= ProcessContext::kTempoValid;
		context.sampleRate = 48000.0;
		context.tempo = bpm > 0.0 ? bpm : 140.0;
		std::vector<float> in (kBlock), inRight (kBlock), outLeft (kBlock), outRight (kBlock), result;
		for (int64 done = 0; done < frames; done += kBlock)
		{
			std::fill (in.begin (), in.end (), 0.f);
			if (impulseAt >= done && impulseAt < done + kBlock)
				in[static_cast<size_t> (impulseAt - done)] = 1.f;
			inRight = in;
			const float* inputs[2] = {in.data (), inRight.data ()};
			float* outputs[2] = {outLeft.data (), outRight.data ()};
			EXPECT_EQ (instance.process (inputs, outputs, kBlock, nullptr, nullptr, &context), kResultOk);
			context.projectTimeSamples += kBlock;
			result.insert (result.end (), outLeft.begin (), outLeft.end ());
		}
		return result;
	}
};

// Frames from the impulse to the strongest sample of its first echo.
int64 echoDistance (const std::vector<float>& out, int64 impulseAt)
{
	int64 peak = -1;
	for (int64 i = impulseAt + 8; i < static_cast<int64> (out.size ()); ++i)
		if (peak < 0 || std::fabs (out[static_cast<size_t> (i)]) > std::fabs (out[static_cast<size_t> (peak)]))
			peak = i;
	return peak - impulseAt;
}

TEST_F (TempoSyncTest, FirstEchoLandsWhereTheNotePutsIt)
{
	struct Case
	{
		int note;
		double bpm;
		double expectedFrames;
	};
	// 1/4 at 120, 1/8D at 90, 1/16T at 140; 1/1 at 60 (4 s) does not fit the 2 s line and is halved.
	for (const Case& c : {Case {12, 120.0, 24000.0}, Case {11, 90.0, 24000.0}, Case {4, 140.0, 48000.0 / 14.0},
	                      Case {18, 60.0, 96000.0}})
	{
		SCOPED_TRACE (c.note);
		PluginInstance& instance = syncedInstance (c.note);
		// A second to let the glide from the knob's time settle, then the impulse.
		const std::vector<float> out = run (instance, c.bpm, 48000 + 100000, 48000);
		// The low-pass input filter carries the peak one sample on.
		EXPECT_NEAR (static_cast<double> (echoDistance (out, 48000)), c.expectedFrames + 1.0, 1.0);
	}
}

TEST_F (TempoSyncTest, ATempoChangeMovesTheEchoAfterTheGlide)
{
	PluginInstance& instance = syncedInstance (12);
	run (instance, 120.0, 48000);
	EXPECT_NEAR (static_cast<double> (echoDistance (run (instance, 120.0, 30000, 0), 0)), 24001.0, 1.0);
	// 90 BPM: the quarter lasts 32000 frames once the time has glided there.
	run (instance, 90.0, 48000);
	EXPECT_NEAR (static_cast<double> (echoDistance (run (instance, 90.0, 40000, 0), 0)), 32001.0, 1.0);
	// A host that stops giving a tempo leaves the last one.
	instance.setParameter (kNote, 11 / 20.0);
	run (instance, 0.0, 48000);
	EXPECT_NEAR (static_cast<double> (echoDistance (run (instance, 0.0, 40000, 0), 0)), 24001.0, 1.0);
}

} // namespace
} // namespace TarnwickHostTest
