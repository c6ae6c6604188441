// The LV2 bundle as a lilv host drives it: block sizes, control changes mid-run, presets and
// saved state, each against the VST 3 bundle where both should sound the same to the bit.
#include "Lv2TestRig.h"

#include "hostkit/PluginInstance.h"
#include "Vst3Module.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace Tarnwick {
namespace Lv2Test {
namespace {

using Steinberg::Vst::ParamID;

// Port symbol, VST 3 parameter id (the control's position) and plain range of each control.
struct ControlInfo
{
	const char* symbol;
	ParamID id;
	double minimum;
	double maximum;
};
const ControlInfo kControls[] = {
    {"delay", 0, 0., 2000.},     {"feedback", 1, 0., 100.},   {"cutoff", 2, 100., 16000.},
    {"resonance", 3, .5, 10.},   {"delay_ratio", 4, 1., 20.}, {"offset", 5, 0., 1.},
    {"wet_dry", 6, 0., 100.},    {"volume", 7, 0., 1.},       {"delay_state", 8, 0., 1.},
    {"active", 9, 0., 1.}};

const ControlInfo& control (const std::string& symbol)
{
	for (const auto& c : kControls)
		if (symbol == c.symbol)
			return c;
	throw std::runtime_error ("no control " + symbol);
}

// The VST 3 bundle, for comparisons.
class Vst3Reference
{
public:
	Vst3Reference ()
	{
		instance = std::make_unique<HostKit::PluginInstance> (vst3Module ());
		EXPECT_TRUE (instance->create ()) << instance->error ();
		EXPECT_TRUE (instance->setup (kRate, 8192, 2)) << instance->error ();
	}
	// A host automation move to a plain value, reaching the next block.
	void set (const std::string& symbol, double plain)
	{
		const ControlInfo& c = control (symbol);
		instance->setParameter (c.id, (plain - c.minimum) / (c.maximum - c.minimum));
	}
	Signal run (const Signal& input, uint32_t block)
	{
		Signal output (2, std::vector<float> (input[0].size ()));
		for (std::size_t done = 0; done < input[0].size (); done += block)
		{
			const float* in[2] = {input[0].data () + done, input[1].data () + done};
			float* out[2] = {output[0].data () + done, output[1].data () + done};
			instance->process (in, out, static_cast<Steinberg::int32> (block));
		}
		return output;
	}
	std::unique_ptr<HostKit::PluginInstance> instance;
};

Signal concatenate (const Signal& a, const Signal& b)
{
	Signal result = a;
	for (std::size_t c = 0; c < result.size (); ++c)
		result[c].insert (result[c].end (), b[c].begin (), b[c].end ());
	return result;
}

// The host's tempo arrives as time:Position objects: 1/8D at 90 BPM (500 ms), then at 120 BPM
// (375 ms); a block without a position keeps the last tempo.
TEST (Lv2Host, SyncTakesTheTempoOfTimePositions)
{
	TestInstance host;
	Lv2Host::Lv2Instance& instance = host.instance;
	instance.setControl ("delay_state", 1.f);
	instance.setControl ("wet_dry", 100.f);
	instance.setControl ("sync", 1.f);
	instance.setControl ("note", 11.f);
	const uint32_t block = 512;
	std::vector<float> in (block), out (block), outRight (block);
	auto firstEcho = [&] (float bpm) {
		std::vector<float> left;
		for (int b = 0; b < 200; ++b)
		{
			// A position in the first block only; a second of settling before the impulse.
			if (b == 0)
				instance.queueTempo (0, bpm);
			std::fill (in.begin (), in.end (), 0.f);
			if (b == 100)
				in[0] = 1.f;
			const float* inputs[2] = {in.data (), in.data ()};
			float* outputs[2] = {out.data (), outRight.data ()};
			instance.run (inputs, outputs, 2, block);
			left.insert (left.end (), out.begin (), out.end ());
		}
		const auto peak = std::max_element (left.begin () + 51200 + 8, left.end (),
		                                    [] (float a, float b) { return std::fabs (a) < std::fabs (b); });
		return static_cast<double> (peak - left.begin () - 51200);
	};
	// The low-pass carries the peak one sample on.
	EXPECT_NEAR (firstEcho (90.f), 24001.0, 1.0);
	EXPECT_NEAR (firstEcho (120.f), 18001.0, 1.0);
}

TEST (Lv2Host, AnyBlockSizesFrom1To8192GiveTheSameAudio)
{
	const Signal input = testSignal (48000);
	Signal reference;
	for (const std::vector<uint32_t>& blocks :
	     {std::vector<uint32_t> {8192}, {1}, {1, 7, 64, 511, 8192, 3}, {4096, 1, 2}})
	{
		TestInstance t;
		ASSERT_TRUE (t.instance.ok ());
		t.instance.setControl ("delay", 120.f);
		t.instance.setControl ("feedback", 60.f);
		t.instance.setControl ("delay_state", 1.f);
		const Signal output = runInBlocks (t.instance, input, blocks);
		EXPECT_TRUE (allFinite (output));
		if (reference.empty ())
			reference = output;
		else
			EXPECT_EQ (output, reference) << "blocks starting with " << blocks[0];
	}
	EXPECT_NE (reference, input);
}

TEST (Lv2Host, ControlChangesMidRunSoundAsThroughVst3)
{
	const Signal input = testSignal (512 * 60);
	TestInstance lv2;
	Vst3Reference vst3;
	Signal lv2Out;
	Signal vst3Out;
	// Changes between blocks: continuous controls (gliding) and both switches.
	const std::vector<std::vector<std::pair<const char*, double>>> changes = {
	    {{"delay", 300.}, {"feedback", 70.}, {"delay_state", 1.}},
	    {{"delay", 1250.5}, {"cutoff", 2345.6}, {"resonance", 4.2}},
	    {{"wet_dry", 80.}, {"offset", 0.3}, {"delay_ratio", 3.}, {"volume", 0.9}},
	    {{"active", 1.}},
	    {{"active", 0.}, {"delay_state", 0.}, {"delay", 12.}}};
	for (std::size_t step = 0; step < changes.size (); ++step)
	{
		for (const auto& change : changes[step])
		{
			lv2.instance.setControl (change.first, static_cast<float> (change.second));
			vst3.set (change.first, change.second);
		}
		Signal part (2);
		for (int c = 0; c < 2; ++c)
			part[static_cast<std::size_t> (c)].assign (input[static_cast<std::size_t> (c)].begin () + step * 512 * 12,
			                                           input[static_cast<std::size_t> (c)].begin () + (step + 1) * 512 * 12);
		lv2Out = concatenate (lv2Out.empty () ? Signal (2) : lv2Out, runInBlocks (lv2.instance, part, {512}));
		vst3Out = concatenate (vst3Out.empty () ? Signal (2) : vst3Out, vst3.run (part, 512));
	}
	EXPECT_TRUE (allFinite (lv2Out));
	EXPECT_EQ (lv2Out, vst3Out);
}

TEST (Lv2Host, PresetsSetThePortsAsTheVst3ProgramListDoes)
{
	const auto presets = bundleWorld ().presets ();
	ASSERT_EQ (presets.size (), 11u);
	Vst3Reference vst3;
	const auto programs = vst3.instance->programNames ();
	ASSERT_EQ (programs.size (), presets.size ());
	for (std::size_t p = 0; p < presets.size (); ++p)
	{
		EXPECT_EQ (presets[p].label, programs[p]);
		TestInstance lv2;
		ASSERT_TRUE (lv2.instance.applyPreset (presets[p].uri));
		ASSERT_EQ (vst3.instance->selectProgram (static_cast<Steinberg::int32> (p)), Steinberg::kResultOk);
		for (const auto& c : kControls)
			EXPECT_EQ (lv2.instance.control (c.symbol),
			           static_cast<float> (vst3.instance->normalizedToPlain (
			               c.id, vst3.instance->getParamNormalized (c.id))))
			    << presets[p].label << ": " << c.symbol;
		EXPECT_TRUE (allFinite (runInBlocks (lv2.instance, testSignal (4800), {256})));
	}
}

TEST (Lv2Host, RestoredStateSoundsTheSame)
{
	const auto presets = bundleWorld ().presets ();
	ASSERT_GE (presets.size (), 4u);
	TestInstance original;
	ASSERT_TRUE (original.instance.applyPreset (presets[3].uri));
	original.instance.setControl ("delay", 333.f);
	runInBlocks (original.instance, silence (48000), {512}); // the glide settles
	LilvState* first = original.instance.saveState ();
	ASSERT_NE (first, nullptr);

	// Restored values land at once; saving again gives the same state, which restores to
	// the same audio to the bit.
	TestInstance restored;
	restored.instance.restoreState (first);
	EXPECT_EQ (restored.instance.control ("delay"), 333.f);
	LilvState* second = restored.instance.saveState ();
	ASSERT_NE (second, nullptr);
	EXPECT_TRUE (lilv_state_equals (first, second));
	TestInstance again;
	again.instance.restoreState (second);
	const Signal input = testSignal (24000);
	const Signal restoredOut = runInBlocks (restored.instance, input, {512});
	EXPECT_EQ (runInBlocks (again.instance, input, {300}), restoredOut);
	EXPECT_TRUE (allFinite (restoredOut));

	// The instance that glided there sounds the same: a glide ends with the voices cooked for
	// its target.
	EXPECT_EQ (runInBlocks (original.instance, input, {512}), restoredOut);
	lilv_state_free (second);
	lilv_state_free (first);
}

} // namespace
} // namespace Lv2Test
} // namespace Tarnwick
