// What DAWs do between and around blocks: re-activating in the middle of a glide, saving right
// after a change, flagging silence, asking for the tail.
#include "BundleFixture.h"

#include <cmath>

namespace TarnwickHostTest {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Tarnwick::HostKit;

constexpr int32 kBlock = 256;

size_t controlOffset (ParamID id)
{
	return 8 + 4 * static_cast<size_t> (id);
}

class HostHabitsTest : public BundleTest
{
protected:
	// Silent blocks; changes queued with setParameter go with the first.
	void runSilence (PluginInstance& instance, int32 blocks)
	{
		std::vector<float> zeros (kBlock, 0.f), left (kBlock), right (kBlock);
		const float* in[2] = {zeros.data (), zeros.data ()};
		float* out[2] = {left.data (), right.data ()};
		for (int32 b = 0; b < blocks; ++b)
			ASSERT_EQ (instance.process (in, out, kBlock), kResultOk);
	}

	// Delay mode, all wet, no feedback: the output is the echo alone.
	PluginInstance& echoInstance ()
	{
		PluginInstance& instance = newActiveInstance (48000.0, kBlock, 2);
		instance.setParameter (kDelayState, 1.0);
		instance.setParameter (kWetDry, 1.0);
		runSilence (instance, 100);
		return instance;
	}

	// Frames from an impulse to the first sample of its echo on the left channel (-1: none).
	long firstEcho (PluginInstance& instance, long limit)
	{
		std::vector<float> in (kBlock, 0.f), zeros (kBlock, 0.f), left (kBlock), right (kBlock);
		const float* inputs[2] = {in.data (), zeros.data ()};
		float* outputs[2] = {left.data (), right.data ()};
		for (long done = 0; done < limit; done += kBlock)
		{
			in[0] = done == 0 ? 1.f : 0.f;
			EXPECT_EQ (instance.process (inputs, outputs, kBlock), kResultOk);
			for (int32 i = 0; i < kBlock; ++i)
				if (left[static_cast<size_t> (i)] != 0.f)
					return done + i;
		}
		return -1;
	}

	float savedControl (PluginInstance& instance, ParamID id)
	{
		std::vector<uint8> bytes;
		EXPECT_TRUE (instance.getState (bytes));
		return bytes.size () >= 58 ? readFloat (bytes, controlOffset (id)) : -1.f;
	}

	void reactivate (PluginInstance& instance)
	{
		instance.getProcessor ()->setProcessing (false);
		ASSERT_EQ (instance.getComponent ()->setActive (false), kResultOk);
		ASSERT_EQ (instance.getComponent ()->setActive (true), kResultOk);
		instance.getProcessor ()->setProcessing (true);
	}
};

TEST_F (HostHabitsTest, AGlideLandsWhereARestoreOfItsStateDoes)
{
	PluginInstance& glided = echoInstance ();
	glided.setParameter (kDelay, 0.75); // 1500 ms
	runSilence (glided, 200);
	std::vector<uint8> state;
	ASSERT_TRUE (glided.getState (state));
	EXPECT_EQ (readFloat (state, controlOffset (kDelay)), 1500.f);
	EXPECT_EQ (firstEcho (glided, 80000), 72000);

	PluginInstance& restored = newActiveInstance (48000.0, kBlock, 2);
	ASSERT_EQ (restored.restoreState (state), kResultOk);
	EXPECT_EQ (firstEcho (restored, 80000), 72000);
}

TEST_F (HostHabitsTest, AReactivationInTheMiddleOfAGlideEndsAtTheHostsValues)
{
	PluginInstance& instance = echoInstance ();
	const ParamValue moved[8] = {0.75, 0.2, 0.9, 0.3, 0.05, 0.5, 1.0, 0.6};
	for (ParamID id = 0; id < 8; ++id)
		instance.setParameter (id, moved[id]);
	runSilence (instance, 3);
	reactivate (instance);

	std::vector<uint8> state;
	ASSERT_TRUE (instance.getState (state));
	for (ParamID id = 0; id < 8; ++id)
		EXPECT_EQ (readFloat (state, controlOffset (id)),
		           static_cast<float> (instance.normalizedToPlain (id, moved[id])))
		    << id;

	// The echo lands where the settings put it, at once and for good: 1500 ms at ratio 1.
	instance.setParameter (kDelayRatio, 0.0);
	instance.setParameter (kFeedback, 0.0);
	runSilence (instance, 3);
	reactivate (instance);
	EXPECT_EQ (firstEcho (instance, 80000), 72000);
	runSilence (instance, 100);
	EXPECT_EQ (firstEcho (instance, 80000), 72000);
}

TEST_F (HostHabitsTest, AStateSavedRightAfterAChangeHasIt)
{
	PluginInstance& instance = newActiveInstance (48000.0, kBlock, 2);
	// A change no block has carried yet.
	ASSERT_EQ (instance.setParameter (kDelay, 0.35), kResultOk);
	EXPECT_EQ (savedControl (instance, kDelay), 700.f);
	// A block has carried it, the glide is under way: still the value asked for.
	runSilence (instance, 1);
	EXPECT_EQ (savedControl (instance, kDelay), 700.f);

	// A program change ("Hollow Ring"), saved before any block.
	ASSERT_EQ (instance.selectProgram (2), kResultOk);
	const auto presetPlain = [] (double value, double max) {
		return static_cast<float> (static_cast<float> (value / max) * max);
	};
	EXPECT_EQ (savedControl (instance, kDelay), presetPlain (1140.0, 2000.0));
	EXPECT_EQ (savedControl (instance, kFeedback), presetPlain (82.499992, 100.0));

	// A change queued before the host set a newer value: the older one, arriving later, does not
	// replace it; the newer one follows in the next block.
	instance.setParameter (kDelay, 0.2);
	ASSERT_EQ (instance.getController ()->setParamNormalized (kDelay, 0.6), kResultOk);
	runSilence (instance, 1);
	EXPECT_EQ (savedControl (instance, kDelay), 1200.f);
	instance.setParameter (kDelay, 0.6);
	runSilence (instance, 1);
	EXPECT_EQ (savedControl (instance, kDelay), 1200.f);

	// Automation the host plays without telling the controller is saved as it goes; a value set
	// on the controller alone, that never reaches the processor, gives way to it after a few
	// blocks.
	HostParameterChanges changes;
	std::vector<float> zeros (kBlock, 0.f), left (kBlock), right (kBlock);
	const float* in[2] = {zeros.data (), zeros.data ()};
	float* out[2] = {left.data (), right.data ()};
	for (int32 b = 1; b <= 10; ++b)
	{
		changes.clear ();
		changes.addChange (kDelay, 0, 0.05 * b);
		ASSERT_EQ (instance.process (in, out, kBlock, &changes), kResultOk);
		EXPECT_EQ (savedControl (instance, kDelay), static_cast<float> (0.05 * b * 2000.0)) << b;
	}
	ASSERT_EQ (instance.getController ()->setParamNormalized (kDelay, 0.9), kResultOk);
	for (int32 b = 1; b <= 10; ++b)
	{
		changes.clear ();
		changes.addChange (kDelay, 0, 0.05 * b);
		ASSERT_EQ (instance.process (in, out, kBlock, &changes), kResultOk);
		if (b == 1)
		{
			EXPECT_EQ (savedControl (instance, kDelay), 1800.f);
		}
	}
	EXPECT_EQ (savedControl (instance, kDelay), 1000.f);
}

TEST_F (HostHabitsTest, AStateSavedRightAfterABypassChangeHasIt)
{
	PluginInstance& instance = newActiveInstance (48000.0, kBlock, 2);
	const auto savedBypass = [&instance] () {
		std::vector<uint8> bytes;
		EXPECT_TRUE (instance.getState (bytes));
		return bytes.size () >= 58 ? bytes[48] : 0xFF;
	};
	ASSERT_EQ (instance.setParameter (kBypass, 1.0), kResultOk);
	EXPECT_EQ (savedBypass (), 1);
	runSilence (instance, 1);
	EXPECT_EQ (savedBypass (), 1);
	ASSERT_EQ (instance.setParameter (kBypass, 0.0), kResultOk);
	EXPECT_EQ (savedBypass (), 0);
	runSilence (instance, 1);
	EXPECT_EQ (savedBypass (), 0);
}

TEST_F (HostHabitsTest, FlaggedOrZeroInputRingsOutThenIsSkippedAndFlagged)
{
	// Delay mode, 10 ms, feedback 50 %.
	PluginInstance& flagged = newActiveInstance (48000.0, kBlock, 2);
	PluginInstance& zeros = newActiveInstance (48000.0, kBlock, 2);
	for (PluginInstance* instance : {&flagged, &zeros})
	{
		instance->setParameter (kDelayState, 1.0);
		instance->setParameter (kDelay, 0.005);
		instance->setParameter (kFeedback, 0.5);
		runSilence (*instance, 40);
	}
	const uint32 tail = flagged.getProcessor ()->getTailSamples ();
	EXPECT_EQ (zeros.getProcessor ()->getTailSamples (), tail);

	// A loud block, then silence: flagged (with stale sound in the buffers) or plain zeros.
	// The echoes die away in about 1.3 s; the delay lines then take 2 s to hold only zeros.
	const int32 blocks = 4 * 48000 / kBlock;
	const auto loud = makeTestSignal (2, kBlock, 48000.0, 5);
	std::vector<float> stale (kBlock, 0.25f), nothing (kBlock, 0.f);
	std::vector<std::vector<float>> outFlagged (2, std::vector<float> (kBlock * blocks, 9.f));
	std::vector<std::vector<float>> outZeros = outFlagged;
	int32 firstSkipped[2] = {-1, -1};
	for (int32 b = 0; b < blocks; ++b)
	{
		const size_t at = static_cast<size_t> (b * kBlock);
		for (int k = 0; k < 2; ++k)
		{
			PluginInstance& instance = k == 0 ? flagged : zeros;
			auto& output = k == 0 ? outFlagged : outZeros;
			const float* silent = k == 0 ? stale.data () : nothing.data ();
			const float* in[2] = {b == 0 ? loud[0].data () : silent, b == 0 ? loud[1].data () : silent};
			float* out[2] = {output[0].data () + at, output[1].data () + at};
			instance.setInputSilenceFlags (k == 0 && b > 0 ? 0x3 : 0);
			ASSERT_EQ (instance.process (in, out, kBlock), kResultOk);
			const uint64 flags = instance.outputSilenceFlags ();
			if (firstSkipped[k] < 0 && flags != 0)
				firstSkipped[k] = b;
			// Once skipped, skipped for good (while silent), with zeros.
			EXPECT_EQ (flags, firstSkipped[k] >= 0 ? 0x3u : 0u) << "block " << b;
		}
	}
	// Both ways the same output, and both end up skipped.
	EXPECT_TRUE (sameSamples (outFlagged, outZeros));
	ASSERT_GT (firstSkipped[0], 1);
	EXPECT_EQ (firstSkipped[0], firstSkipped[1]);

	// The echoes go on after the input ends, and what follows them is exact zeros.
	float peak = 0.f;
	size_t lastLoud = 0;
	size_t lastSound = 0;
	for (size_t i = kBlock; i < outFlagged[0].size (); ++i)
	{
		const float v = std::fabs (outFlagged[0][i]);
		peak = std::max (peak, v);
		if (v > 0.f)
			lastSound = i;
	}
	for (size_t i = kBlock; i < outFlagged[0].size (); ++i)
		if (std::fabs (outFlagged[0][i]) > peak * 3.1622776e-5f)
			lastLoud = i;
	EXPECT_GT (peak, 0.01f);
	EXPECT_LT (lastSound, static_cast<size_t> (firstSkipped[0] * kBlock));
	// The tail covers the echoes down to -90 dB, and not much more.
	EXPECT_GE (tail, lastLoud - kBlock);
	EXPECT_LE (tail, 2 * (lastLoud - kBlock));

	// Sound again: processed, not flagged.
	const float* in[2] = {loud[0].data (), loud[1].data ()};
	std::vector<float> left (kBlock), right (kBlock);
	float* out[2] = {left.data (), right.data ()};
	flagged.setInputSilenceFlags (0);
	ASSERT_EQ (flagged.process (in, out, kBlock), kResultOk);
	EXPECT_EQ (flagged.outputSilenceFlags (), 0u);
	EXPECT_NE (left[10], 0.f);
}

TEST_F (HostHabitsTest, TheTailFollowsTheSettingsAsSoonAsTheyAreSet)
{
	PluginInstance& instance = newActiveInstance (48000.0, kBlock, 2);
	IAudioProcessor* processor = instance.getProcessor ();
	const uint32 defaults = processor->getTailSamples ();
	EXPECT_LT (defaults, 48u); // comb mode without delay: the filter's ring only

	instance.setParameter (kDelayState, 1.0);
	instance.setParameter (kDelay, 0.25); // 500 ms
	instance.setParameter (kFeedback, 0.5);
	const uint32 halfFeedback = processor->getTailSamples ();
	// Fifteen round trips or so before the echoes are 90 dB down.
	EXPECT_GE (halfFeedback, 15u * 24000u);
	EXPECT_LE (halfFeedback, 17u * 24000u);
	instance.setParameter (kDelayRatio, 1.0); // 500 ms / 20
	EXPECT_LT (processor->getTailSamples (), halfFeedback / 19);

	instance.setParameter (kFeedback, 1.0);
	EXPECT_EQ (processor->getTailSamples (), kInfiniteTail);
	instance.setParameter (kDelayState, 0.0); // comb mode: 95 %
	EXPECT_NE (processor->getTailSamples (), kInfiniteTail);
	instance.setParameter (kActive, 1.0); // off: the input passes, nothing follows
	EXPECT_EQ (processor->getTailSamples (), 0u);
}

} // namespace
} // namespace TarnwickHostTest
