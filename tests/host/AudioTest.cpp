// Audio through the bundle against the engine driven directly, bypass, silence, MIDI.
#include "BundleFixture.h"
#include "EngineReference.h"

#include "pluginterfaces/vst/ivstmidicontrollers.h"

#include <cmath>
#include <map>

namespace TarnwickHostTest {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Tarnwick::HostKit;

// One host block: its changes (last value per parameter) and note-ons.
struct BlockPlan
{
	std::map<ParamID, double> changes;
	std::vector<std::pair<int32, int16>> notes; // offset, pitch
	bool bypass = false;
};

class AudioTest : public BundleTest
{
protected:
	// Hand a playing transport's ProcessContext with every block.
	bool withTransport = false;

	// Renders input through the bundle and through the engine with the same plan per block.
	void renderBoth (int32 channels, const std::vector<int32>& blockSizes,
	                 const std::map<size_t, BlockPlan>& plan,
	                 const std::vector<std::vector<float>>& input,
	                 std::vector<std::vector<float>>& viaBundle,
	                 std::vector<std::vector<float>>& viaEngine)
	{
		const double rate = 48000.0;
		PluginInstance& instance = newActiveInstance (rate, 1024, channels);
		EngineReference engine (rate, channels);
		const size_t length = input[0].size ();
		viaBundle.assign (input.size (), std::vector<float> (length, 0.f));
		viaEngine = viaBundle;

		HostParameterChanges changes;
		HostEventList events;
		HostTransport transport (rate, 96.0, 3, 4);
		transport.setPlaying (true);
		transport.setPosition (123456789);
		size_t start = 0;
		size_t blockIndex = 0;
		bool bypassed = false;
		while (start < length)
		{
			const size_t frames =
			    std::min (length - start, static_cast<size_t> (blockSizes[blockIndex % blockSizes.size ()]));
			changes.clear ();
			events.clear ();
			auto step = plan.find (blockIndex);
			if (step != plan.end ())
			{
				int32 offset = 0;
				for (const auto& [id, value] : step->second.changes)
				{
					// Two points per queue: only the last one counts.
					changes.addChange (id, 0, 1.0 - value);
					changes.addChange (id, std::max (0, static_cast<int32> (frames) - 1 - (offset++ % 3)), value);
					engine.change (id, value);
				}
				for (const auto& [noteOffset, pitch] : step->second.notes)
				{
					events.addNoteOn (noteOffset, 0, pitch, 0.75f);
					engine.noteOn (noteOffset, 0, pitch, 0.75f);
				}
				bypassed = step->second.bypass;
				changes.addChange (kBypass, 0, bypassed ? 1.0 : 0.0);
			}
			const float* in[2];
			float* out[2];
			for (int32 c = 0; c < channels; ++c)
			{
				in[c] = input[static_cast<size_t> (c)].data () + start;
				out[c] = viaBundle[static_cast<size_t> (c)].data () + start;
			}
			ASSERT_EQ (instance.process (in, out, static_cast<int32> (frames), &changes, &events,
			                             withTransport ? transport.context () : nullptr),
			           kResultOk);
			transport.advance (static_cast<int32> (frames));
			if (bypassed)
			{
				engine.skipBlock ();
				for (int32 c = 0; c < channels; ++c)
					std::copy (in[c], in[c] + frames, viaEngine[static_cast<size_t> (c)].begin () + start);
			}
			else
				engine.processBlock (input, viaEngine, start, frames);
			start += frames;
			++blockIndex;
		}
	}
};

std::map<size_t, BlockPlan> automationPlan ()
{
	std::map<size_t, BlockPlan> plan;
	plan[0].changes = {{kDelay, 0.45}, {kFeedback, 0.6}, {kWetDry, 0.8}};
	plan[3].changes = {{kCutoff, 0.3}, {kResonance, 0.7}, {kDelayState, 1.0}};
	plan[7].changes = {{kDelayRatio, 0.2}, {kOffset, 0.9}, {kVolume, 0.5}};
	plan[12].changes = {{kDelay, 0.1}, {kDelayState, 0.0}, {kFeedback, 0.95}};
	plan[20].changes = {{kActive, 1.0}, {kVolume, 0.8}};
	plan[24].changes = {{kActive, 0.0}, {kCutoff, 0.9}};
	return plan;
}

TEST_F (AudioTest, StereoWithAutomationEqualsTheEngineBitForBit)
{
	const auto input = makeTestSignal (2, 48000 * 2, 48000.0, 11);
	std::vector<std::vector<float>> bundle, engine;
	renderBoth (2, {512, 256, 1024, 100, 1}, automationPlan (), input, bundle, engine);
	EXPECT_TRUE (sameSamples (bundle, engine));
	EXPECT_FALSE (sameSamples (bundle, input));
}

TEST_F (AudioTest, WithAPlayingTransportEqualsTheEngineBitForBit)
{
	withTransport = true;
	const auto input = makeTestSignal (2, 48000, 48000.0, 19);
	std::vector<std::vector<float>> bundle, engine;
	renderBoth (2, {512, 333}, automationPlan (), input, bundle, engine);
	EXPECT_TRUE (sameSamples (bundle, engine));
}

TEST_F (AudioTest, MonoEqualsTheEngineBitForBit)
{
	const auto input = makeTestSignal (1, 48000, 48000.0, 12);
	std::vector<std::vector<float>> bundle, engine;
	renderBoth (1, {480}, automationPlan (), input, bundle, engine);
	EXPECT_TRUE (sameSamples (bundle, engine));
}

TEST_F (AudioTest, DefaultsEqualTheEngineBitForBit)
{
	const auto input = makeTestSignal (2, 30000, 48000.0, 13);
	std::vector<std::vector<float>> bundle, engine;
	renderBoth (2, {256}, {}, input, bundle, engine);
	EXPECT_TRUE (sameSamples (bundle, engine));
}

TEST_F (AudioTest, EchoesDecayingThroughTheSubnormalRangeEqualTheEngine)
{
	// A few clicks, then eight seconds of silence while comb feedback rings down to nothing.
	std::vector<std::vector<float>> input (2, std::vector<float> (48000 * 8, 0.f));
	input[0][10] = 1.f;
	input[1][500] = -0.7f;
	input[0][700] = 1e-30f;
	std::map<size_t, BlockPlan> plan;
	plan[0].changes = {{kFeedback, 0.9}, {kDelay, 0.6}, {kWetDry, 1.0}, {kResonance, 0.8}};
	std::vector<std::vector<float>> bundle, engine;
	renderBoth (2, {512}, plan, input, bundle, engine);
	EXPECT_TRUE (sameSamples (bundle, engine));
}

TEST_F (AudioTest, PitchBendExtremesAndAControlChangeInOneBlock)
{
	PluginInstance& probe = newInstance ();
	ParamID bendId = 0;
	ASSERT_EQ (probe.getMidiMapping ()->getMidiControllerAssignment (0, 0, kPitchBend, bendId), kResultOk);
	ASSERT_EQ (bendId, kPitchBendParam);

	std::map<size_t, BlockPlan> plan;
	plan[1].changes = {{kPitchBendParam, 0.0}, {kVolume, 0.3}};   // bend -8192
	plan[2].changes = {{kPitchBendParam, 1.0}, {kWetDry, 0.9}};   // bend 8191
	plan[4].changes = {{kModWheelParam, 0.5}, {kDelay, 0.25}};
	const auto input = makeTestSignal (2, 10 * 256, 48000.0, 14);
	std::vector<std::vector<float>> bundle, engine;
	renderBoth (2, {256}, plan, input, bundle, engine);
	EXPECT_TRUE (sameSamples (bundle, engine));
	// The volume change in the pitch-bend block took effect.
	std::vector<std::vector<float>> unchanged, unused;
	renderBoth (2, {256}, {}, input, unchanged, unused);
	EXPECT_FALSE (sameSamples (bundle, unchanged));
}

TEST_F (AudioTest, TwoNotesAtOneOffsetAndNotesAcrossTheBlock)
{
	std::map<size_t, BlockPlan> plan;
	plan[0].notes = {{0, 40}, {10, 60}, {10, 64}, {255, 72}};
	plan[0].changes = {{kDelay, 0.2}};
	plan[2].notes = {{17, 50}, {17, 51}};
	const auto input = makeTestSignal (2, 6 * 256, 48000.0, 15);
	std::vector<std::vector<float>> bundle, engine;
	renderBoth (2, {256}, plan, input, bundle, engine);
	EXPECT_TRUE (sameSamples (bundle, engine));
}

TEST_F (AudioTest, BypassPassesInputAndStopsTheEffect)
{
	std::map<size_t, BlockPlan> plan = automationPlan ();
	for (size_t b = 5; b < 9; ++b)
		plan[b].bypass = true;
	plan[9].bypass = false;
	const auto input = makeTestSignal (2, 40 * 256, 48000.0, 16);
	std::vector<std::vector<float>> bundle, engine;
	renderBoth (2, {256}, plan, input, bundle, engine);
	// Bypassed blocks are the input; the engine sees none of their frames.
	EXPECT_TRUE (sameSamples (bundle, engine));
	for (int32 c = 0; c < 2; ++c)
	{
		for (size_t i = 5 * 256; i < 9 * 256; ++i)
			ASSERT_EQ (bundle[static_cast<size_t> (c)][i], input[static_cast<size_t> (c)][i]);
	}
}

TEST_F (AudioTest, FlaggedSilenceReachesTheEffectAsZerosWhileItStillRings)
{
	const double rate = 48000.0;
	PluginInstance& instance = newActiveInstance (rate, 256, 2);
	const auto input = makeTestSignal (2, 256 * 6, rate, 17);
	std::vector<std::vector<float>> output (2, std::vector<float> (256 * 6, 0.f));
	for (size_t block = 0; block < 6; ++block)
	{
		const float* in[2] = {input[0].data () + block * 256, input[1].data () + block * 256};
		float* out[2] = {output[0].data () + block * 256, output[1].data () + block * 256};
		// Block 2: the host flags its input silent (with sound in it: the flag is trusted) and
		// hands output buffers full of garbage; the effect still rings, so it runs on zeros.
		if (block == 2)
		{
			std::fill (out[0], out[0] + 256, 0.5f);
			std::fill (out[1], out[1] + 256, -0.5f);
		}
		instance.setInputSilenceFlags (block == 2 ? 0x3 : 0);
		ASSERT_EQ (instance.process (in, out, 256), kResultOk);
		EXPECT_EQ (instance.outputSilenceFlags (), 0u);
	}

	// Equal to an engine that got zeros for block 2.
	EngineReference engine (rate, 2);
	auto engineInput = input;
	for (auto& channel : engineInput)
		std::fill (channel.begin () + 512, channel.begin () + 768, 0.f);
	std::vector<std::vector<float>> viaEngine (2, std::vector<float> (256 * 6, 0.f));
	for (size_t block = 0; block < 6; ++block)
		engine.processBlock (engineInput, viaEngine, block * 256, 256);
	EXPECT_TRUE (sameSamples (output, viaEngine));
}

TEST_F (AudioTest, ActiveOffIsInputTimesVolume)
{
	PluginInstance& instance = newActiveInstance (48000.0, 256, 2);
	instance.setParameter (kActive, 1.0);
	instance.setParameter (kVolume, 0.5);
	const auto input = makeTestSignal (2, 48000, 48000.0, 18);
	std::vector<std::vector<float>> output;
	ASSERT_TRUE (instance.render (input, output));
	// Once the volume glide has landed: exactly input x 0.5.
	for (int32 c = 0; c < 2; ++c)
	{
		for (size_t i = 40000; i < 48000; ++i)
			ASSERT_EQ (output[static_cast<size_t> (c)][i], input[static_cast<size_t> (c)][i] * 0.5f);
	}
}

} // namespace
} // namespace TarnwickHostTest
