// The built module loaded the way a VST 2 host loads it (dlopen, VSTPluginMain
// with the host's callback), checked against the same module driven as a
// VST 3 plug-in through the host kit.
#include "TarnwickIds.h"
#include "Vst2TestHost.h"

#include "hostkit/HostKit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <dlfcn.h>
#include <set>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Vst2Test;
using Tarnwick::HostKit::ParameterDescription;
using Tarnwick::HostKit::PluginInstance;
using Tarnwick::HostKit::PluginModule;

namespace {

using EntryPoint = vst_effect* (*) (vst_host_callback);

void* moduleLibrary ()
{
	static void* library = dlopen (TARNWICK_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
	return library;
}

EntryPoint entryPoint (const char* name)
{
	void* library = moduleLibrary ();
	return library ? reinterpret_cast<EntryPoint> (dlsym (library, name)) : nullptr;
}

// A deterministic stereo test signal: a tone plus noise, with a silent gap.
void testSignal (std::vector<float>& left, std::vector<float>& right, size_t frames)
{
	left.resize (frames);
	right.resize (frames);
	uint32_t seed = 12345;
	for (size_t i = 0; i < frames; ++i)
	{
		seed = seed * 1664525u + 1013904223u;
		const float noise = static_cast<float> (seed >> 8) / 16777216.f - 0.5f;
		const float tone = std::sin (static_cast<float> (i) * 0.05f);
		const bool gap = i > frames / 2 && i < frames / 2 + 300;
		left[i] = gap ? 0.f : 0.5f * tone + 0.2f * noise;
		right[i] = gap ? 0.f : 0.3f * tone - 0.25f * noise;
	}
}

class Vst2ModuleTest : public ::testing::Test
{
protected:
	void SetUp () override
	{
		ASSERT_NE (moduleLibrary (), nullptr) << dlerror ();
		entry = entryPoint ("VSTPluginMain");
		ASSERT_NE (entry, nullptr);
	}

	void TearDown () override
	{
		for (vst_effect* e : effects)
			dispatch (e, Abi::kEffClose);
	}

	vst_effect* open ()
	{
		vst_effect* e = entry (host.callback ());
		if (e != nullptr)
			effects.push_back (e);
		return e;
	}

	bool loadVst3 (PluginModule& module, PluginInstance& instance)
	{
		return module.load (TARNWICK_BUNDLE_PATH) && instance.create (Vire2VUR3::kProcessorClassTUID);
	}

	Vst2TestHost host;
	EntryPoint entry {nullptr};
	std::vector<vst_effect*> effects;
};

TEST_F (Vst2ModuleTest, AllThreeEntryNamesAreExported)
{
	EXPECT_NE (entryPoint ("VSTPluginMain"), nullptr);
	EXPECT_NE (entryPoint ("MAIN"), nullptr);
	EXPECT_NE (entryPoint ("main"), nullptr);
}

TEST_F (Vst2ModuleTest, HostAnsweringVersionZeroGetsNoEffect)
{
	host.versionAnswer = 0;
	for (const char* name : {"VSTPluginMain", "MAIN", "main"})
	{
		host.calls.clear ();
		EXPECT_EQ (entryPoint (name) (host.callback ()), nullptr) << name;
		ASSERT_EQ (host.calls.size (), 1u) << name;
		EXPECT_EQ (host.calls[0].opcode, Abi::kHostVersion);
	}
	EXPECT_EQ (entry (nullptr), nullptr);
}

TEST_F (Vst2ModuleTest, EveryEntryNameCreatesTheEffect)
{
	for (const char* name : {"MAIN", "main"})
	{
		vst_effect* e = entryPoint (name) (host.callback ());
		ASSERT_NE (e, nullptr) << name;
		effects.push_back (e);
		EXPECT_EQ (e->unique_id, Vire2VUR3::kVst2UniqueId);
	}
}

TEST_F (Vst2ModuleTest, AnnouncesIdentityTenControlParametersAndElevenPrograms)
{
	vst_effect* e = open ();
	ASSERT_NE (e, nullptr);
	EXPECT_EQ (e->unique_id, ('T' << 24) | ('r' << 16) | ('n' << 8) | 'w');
	EXPECT_EQ (e->num_inputs, 2);
	EXPECT_EQ (e->num_outputs, 2);
	EXPECT_NE (e->flags & Abi::kFlagCanReplacing, 0);
	EXPECT_NE (e->flags & Abi::kFlagProgramChunks, 0);
	EXPECT_EQ (e->version, 1100);
	EXPECT_EQ (dispatch (e, Abi::kEffGetPlugCategory), VST_CATEGORY_01);
	EXPECT_EQ (parameterText (e, Abi::kEffGetEffectName, 0), "TarnwickFreex86");
	EXPECT_EQ (parameterText (e, Abi::kEffGetProductString, 0), "TarnwickFreex86");
	EXPECT_EQ (parameterText (e, Abi::kEffGetVendorString, 0), "Vanter Moor");

	// The ten controls first (ids 0-9), named within the 8 bytes hosts reserve.
	const char* names[10] = {"Delay",  "Feedbk",  "Cutoff", "Reso",    "DlyRat",
	                         "Offset", "Wet/Dry", "Volume", "DlyStat", "Active"};
	ASSERT_GE (e->num_params, 10);
	for (int32_t i = 0; i < 10; ++i)
		EXPECT_EQ (parameterText (e, Abi::kEffGetParamName, i), names[i]) << i;

	// Everything the VST 3 side offers to automate, and nothing else.
	PluginModule module;
	PluginInstance vst3 (module);
	ASSERT_TRUE (loadVst3 (module, vst3)) << module.error () << vst3.error ();
	std::vector<ParamID> visible;
	for (const auto& p : vst3.parameters ())
		if ((p.flags & (ParameterInfo::kIsReadOnly | ParameterInfo::kIsHidden | ParameterInfo::kIsBypass |
		                ParameterInfo::kIsProgramChange)) == 0)
			visible.push_back (p.id);
	// In id order, but Sync and Note, added later, after all others: the indexes VST 2 sessions
	// saved (PitchBend at 10, the buttons, the joystick) stay.
	std::sort (visible.begin (), visible.end ());
	std::stable_partition (visible.begin (), visible.end (), [] (ParamID id) { return id != 10 && id != 11; });
	ASSERT_EQ (static_cast<size_t> (e->num_params), visible.size ());
	ASSERT_EQ (visible.size (), 25u);
	EXPECT_EQ (visible[10], 2048u);
	EXPECT_EQ (visible[22], 32774u);
	EXPECT_EQ (visible[23], 10u);
	EXPECT_EQ (visible[24], 11u);
	for (int32_t i = 0; i < e->num_params; ++i)
	{
		// Display texts are the VST 3 parameter's own, cut to 7 bytes.
		const ParamID id = visible[static_cast<size_t> (i)];
		EXPECT_EQ (parameterText (e, Abi::kEffGetParamDisplay, i), vst3.parameterText (id).substr (0, 7)) << i;
		EXPECT_FLOAT_EQ (e->get_parameter (e, i), static_cast<float> (vst3.getParamNormalized (id))) << i;
	}
	EXPECT_EQ (visible[9], 9u);

	// The properties label each with its VST 3 title; the short names are all different; the
	// two lists are switches.
	std::set<std::string> shortNames;
	for (int32_t i = 0; i < e->num_params; ++i)
	{
		Abi::ParameterProperties properties {};
		ASSERT_EQ (dispatch (e, Abi::kEffGetParameterProperties, i, 0, &properties), 1) << i;
		ParameterDescription description;
		for (const auto& p : vst3.parameters ())
			if (p.id == visible[static_cast<size_t> (i)])
				description = p;
		EXPECT_EQ (std::string (properties.label), description.title) << i;
		EXPECT_EQ (std::string (properties.shortLabel), parameterText (e, Abi::kEffGetParamName, i))
		    << i;
		shortNames.insert (properties.shortLabel);
		// Delay State, Active and Sync switch; Note steps through its 21 notes.
		const bool toggle = i == 8 || i == 9 || i == 23;
		const bool notes = i == 24;
		const int32_t stepped = Abi::kParameterUsesIntegerMinMax | Abi::kParameterUsesIntStep;
		EXPECT_EQ (properties.flags, toggle ? Abi::kParameterIsSwitch | stepped : notes ? stepped : 0) << i;
		EXPECT_EQ (properties.maxInteger, toggle ? 1 : notes ? 20 : 0) << i;
		EXPECT_EQ (properties.stepInteger, toggle || notes ? 1 : 0) << i;
	}
	EXPECT_EQ (shortNames.size (), static_cast<size_t> (e->num_params));
	EXPECT_EQ (dispatch (e, Abi::kEffGetParameterProperties, e->num_params, 0, nullptr), 0);

	const char* programs[11] = {"Factory Preset", "Heavy",      "Hollow Ring", "Banking",
	                            "Beats as Bass",  "Crude Verb", "Some Space",  "Padding for Pads",
	                            "Good on Atmos",  "Pipes",      "Automate Me"};
	ASSERT_EQ (e->num_programs, 11);
	for (int32_t i = 0; i < 11; ++i)
		EXPECT_EQ (programName (e, i), programs[i]) << i;
}

// The host's tempo from audioMasterGetTime (kVstTempoValid) places a synced echo: 1/8D at 90 BPM.
TEST_F (Vst2ModuleTest, SyncTakesTheTempoOfTheHostsTimeInfo)
{
	vst_effect* e = open ();
	ASSERT_NE (e, nullptr);
	resume (e, 48000.f, 512);
	host.timeValid = true;
	host.timeInfo.sampleRate = 48000.0;
	host.timeInfo.tempo = 90.0;
	host.timeInfo.flags = Abi::kTransportPlaying | Abi::kTempoValid;
	e->set_parameter (e, 8, 1.f);         // Delay State: Delay
	e->set_parameter (e, 6, 1.f);         // Wet/Dry 100 %
	e->set_parameter (e, 23, 1.f);        // Sync On
	e->set_parameter (e, 24, 11.f / 20.f); // Note 1/8D
	EXPECT_EQ (parameterText (e, Abi::kEffGetParamDisplay, 23), "On");
	EXPECT_EQ (parameterText (e, Abi::kEffGetParamDisplay, 24), "1/8D");
	std::vector<float> out;
	for (int b = 0; b < 160; ++b)
	{
		std::vector<float> left (512, 0.f), right (512, 0.f), outLeft, outRight;
		if (b == 100)
			left[0] = right[0] = 1.f; // after a second of settling
		processStereo (e, left, right, outLeft, outRight);
		out.insert (out.end (), outLeft.begin (), outLeft.end ());
	}
	const auto peak = std::max_element (out.begin () + 51200 + 8, out.end (),
	                                    [] (float a, float b) { return std::fabs (a) < std::fabs (b); });
	// 500 ms; the low-pass carries the peak one sample on.
	EXPECT_NEAR (static_cast<double> (peak - out.begin () - 51200), 24001.0, 1.0);
}

TEST_F (Vst2ModuleTest, ProcessingIsBitIdenticalToTheVst3Path)
{
	constexpr int32_t kBlock = 256;
	constexpr size_t kFrames = kBlock * 40;
	std::vector<float> left, right;
	testSignal (left, right, kFrames);

	// Same settings both ways: program 3, then three controls.
	const float settings[3][2] = {{0, 0.1f}, {1, 0.6f}, {6, 0.8f}};

	vst_effect* e = open ();
	ASSERT_NE (e, nullptr);
	resume (e, 48000.f, kBlock);
	ASSERT_EQ (dispatch (e, Abi::kEffSetProgram, 0, 3), 1);
	for (const auto& s : settings)
		e->set_parameter (e, static_cast<uint32_t> (s[0]), s[1]);

	PluginModule module;
	PluginInstance vst3 (module);
	ASSERT_TRUE (loadVst3 (module, vst3)) << module.error () << vst3.error ();
	ASSERT_TRUE (vst3.setup (48000.0, kBlock, 2));
	ASSERT_EQ (vst3.selectProgram (3), kResultOk);
	for (const auto& s : settings)
		vst3.setParameter (static_cast<ParamID> (s[0]), static_cast<double> (s[1]));

	std::vector<float> outL2 (kFrames), outR2 (kFrames), outL3 (kFrames), outR3 (kFrames);
	for (size_t start = 0; start < kFrames; start += kBlock)
	{
		const float* in[2] = {left.data () + start, right.data () + start};
		float* out2[2] = {outL2.data () + start, outR2.data () + start};
		float* out3[2] = {outL3.data () + start, outR3.data () + start};
		e->process_float (e, in, out2, kBlock);
		ASSERT_EQ (vst3.process (in, out3, kBlock), kResultOk);
	}
	double energy = 0;
	for (float v : outL2)
		energy += static_cast<double> (v) * v;
	EXPECT_GT (energy, 1.0); // the effect really produced sound
	EXPECT_EQ (std::memcmp (outL2.data (), outL3.data (), kFrames * sizeof (float)), 0);
	EXPECT_EQ (std::memcmp (outR2.data (), outR3.data (), kFrames * sizeof (float)), 0);
	EXPECT_NE (std::memcmp (outL2.data (), left.data (), kFrames * sizeof (float)), 0);
}

TEST_F (Vst2ModuleTest, ChunkFromOneInstanceRestoresAnotherExactly)
{
	constexpr int32_t kBlock = 128;
	std::vector<float> left, right, outL, outR;
	testSignal (left, right, kBlock);

	vst_effect* a = open ();
	ASSERT_NE (a, nullptr);
	resume (a, 44100.f, kBlock);
	dispatch (a, Abi::kEffSetProgram, 0, 5);
	a->set_parameter (a, 2, 0.3f);
	a->set_parameter (a, 8, 1.f);
	for (int i = 0; i < 20; ++i)
		processStereo (a, left, right, outL, outR); // the processor takes the values
	const std::vector<char> chunk = chunkOf (a);
	ASSERT_GE (chunk.size (), 16u);
	int64_t componentLength = 0;
	std::memcpy (&componentLength, chunk.data (), 8);
	ASSERT_EQ (componentLength, 114); // the component's saved state
	int64_t controllerLength = -1;
	std::memcpy (&controllerLength, chunk.data () + 8 + componentLength, 8);
	EXPECT_EQ (static_cast<size_t> (8 + componentLength + 8 + controllerLength), chunk.size ());

	vst_effect* b = open ();
	ASSERT_NE (b, nullptr);
	ASSERT_EQ (dispatch (b, Abi::kEffSetChunk, 0, static_cast<intptr_t> (chunk.size ()),
	                     const_cast<char*> (chunk.data ())),
	           1);
	EXPECT_EQ (chunkOf (b), chunk);

	// The same as a VST 3 host restoring the component state: parameters and sound.
	PluginModule module;
	PluginInstance vst3 (module);
	ASSERT_TRUE (loadVst3 (module, vst3)) << module.error () << vst3.error ();
	const std::vector<uint8> state (chunk.begin () + 8, chunk.begin () + 8 + componentLength);
	ASSERT_EQ (vst3.restoreState (state), kResultOk);
	for (int32_t i = 0; i < 10; ++i)
		EXPECT_EQ (b->get_parameter (b, i), static_cast<float> (vst3.getParamNormalized (static_cast<ParamID> (i))))
		    << i;
	EXPECT_NE (b->get_parameter (b, 0), 0.f); // not the defaults

	resume (b, 44100.f, kBlock);
	ASSERT_TRUE (vst3.setup (44100.0, kBlock, 2));
	std::vector<float> outL3 (kBlock), outR3 (kBlock);
	for (int i = 0; i < 10; ++i)
	{
		processStereo (b, left, right, outL, outR);
		const float* in[2] = {left.data (), right.data ()};
		float* out3[2] = {outL3.data (), outR3.data ()};
		ASSERT_EQ (vst3.process (in, out3, kBlock), kResultOk);
		ASSERT_EQ (outL, outL3) << "block " << i;
		ASSERT_EQ (outR, outR3) << "block " << i;
	}
}

TEST_F (Vst2ModuleTest, ChunkCarriesTheBypassSwitch)
{
	vst_effect* a = open ();
	ASSERT_NE (a, nullptr);
	resume (a, 44100.f, 64);
	ASSERT_EQ (dispatch (a, Abi::kEffSetBypass, 0, 1), 1);
	std::vector<float> left, right, outL, outR;
	testSignal (left, right, 64);
	processStereo (a, left, right, outL, outR);
	EXPECT_EQ (outL, left);
	const std::vector<char> chunk = chunkOf (a);

	vst_effect* b = open ();
	ASSERT_NE (b, nullptr);
	ASSERT_EQ (dispatch (b, Abi::kEffSetChunk, 0, static_cast<intptr_t> (chunk.size ()),
	                     const_cast<char*> (chunk.data ())),
	           1);
	resume (b, 44100.f, 64);
	processStereo (b, left, right, outL, outR);
	EXPECT_EQ (outL, left);
	EXPECT_EQ (outR, right);
}

TEST_F (Vst2ModuleTest, SwitchingProgramMovesTheParameters)
{
	vst_effect* e = open ();
	ASSERT_NE (e, nullptr);
	EXPECT_EQ (dispatch (e, Abi::kEffGetProgram), 0);
	std::vector<float> before;
	for (int32_t i = 0; i < 10; ++i)
		before.push_back (e->get_parameter (e, i));

	host.calls.clear ();
	ASSERT_EQ (dispatch (e, Abi::kEffSetProgram, 0, 3), 1);
	EXPECT_EQ (dispatch (e, Abi::kEffGetProgram), 3);
	EXPECT_EQ (parameterText (e, Abi::kEffGetProgramName, 0), "Banking");
	EXPECT_GE (host.count (Abi::kHostUpdateDisplay), 1);

	PluginModule module;
	PluginInstance vst3 (module);
	ASSERT_TRUE (loadVst3 (module, vst3)) << module.error () << vst3.error ();
	vst3.selectProgram (3);
	int moved = 0;
	for (int32_t i = 0; i < 10; ++i)
	{
		const float after = e->get_parameter (e, i);
		moved += after != before[static_cast<size_t> (i)] ? 1 : 0;
		EXPECT_EQ (after, static_cast<float> (vst3.getParamNormalized (static_cast<ParamID> (i)))) << i;
	}
	EXPECT_GT (moved, 0);
}

// The saved delay (plain ms) in a chunk: the component state follows the chunk's length field.
float chunkDelay (const std::vector<char>& chunk)
{
	float delay = -1.f;
	if (chunk.size () >= 20)
		std::memcpy (&delay, chunk.data () + 16, sizeof (delay));
	return delay;
}

// Frames from an impulse on the left input to the first sample of its echo (-1: none).
long firstEcho (vst_effect* e, int32_t block, long limit)
{
	std::vector<float> left (static_cast<size_t> (block), 0.f), right = left, outL, outR;
	for (long done = 0; done < limit; done += block)
	{
		left[0] = done == 0 ? 1.f : 0.f;
		processStereo (e, left, right, outL, outR);
		for (int32_t i = 0; i < block; ++i)
			if (outL[static_cast<size_t> (i)] != 0.f)
				return done + i;
	}
	return -1;
}

TEST_F (Vst2ModuleTest, ReactivationMidGlideSavingAtOnceAndTheTailAsDawsDoThem)
{
	constexpr int32_t kBlock = 256;
	vst_effect* e = open ();
	ASSERT_NE (e, nullptr);
	resume (e, 48000.f, kBlock);
	e->set_parameter (e, 8, 1.f); // delay mode
	e->set_parameter (e, 6, 1.f); // all wet
	std::vector<float> zeros (kBlock, 0.f), outL, outR;
	for (int b = 0; b < 100; ++b)
		processStereo (e, zeros, zeros, outL, outR);

	// "Delay" to 1500 ms; three blocks later the host suspends and resumes the plug-in.
	e->set_parameter (e, 0, 0.75f);
	for (int b = 0; b < 3; ++b)
		processStereo (e, zeros, zeros, outL, outR);
	dispatch (e, Abi::kEffMainsChanged, 0, 0);
	dispatch (e, Abi::kEffMainsChanged, 0, 1);
	EXPECT_EQ (chunkDelay (chunkOf (e)), 1500.f);
	EXPECT_EQ (firstEcho (e, kBlock, 80000), 72000);

	// Saved right after the host set it, before any block.
	e->set_parameter (e, 0, 0.35f);
	EXPECT_EQ (chunkDelay (chunkOf (e)), static_cast<float> (static_cast<double> (0.35f) * 2000.0));

	// The tail of these settings: one echo after 700 ms; endless at 100 % feedback; none when off.
	const intptr_t tail = dispatch (e, Abi::kEffGetTailSize);
	EXPECT_GE (tail, 33600);
	EXPECT_LT (tail, 34000);
	e->set_parameter (e, 1, 1.f);
	EXPECT_EQ (dispatch (e, Abi::kEffGetTailSize), INT32_MAX);
	e->set_parameter (e, 9, 1.f);
	EXPECT_EQ (dispatch (e, Abi::kEffGetTailSize), 1); // VST 2 for "no tail"
}

TEST_F (Vst2ModuleTest, HostileInputIsRefused)
{
	vst_effect* e = open ();
	ASSERT_NE (e, nullptr);
	char text[64];
	std::memset (text, 0x55, sizeof (text));
	EXPECT_EQ (dispatch (e, Abi::kEffGetParamName, e->num_params, 0, text), 0);
	EXPECT_EQ (text[0], 0);
	EXPECT_EQ (text[1], 0x55);
	EXPECT_EQ (dispatch (e, Abi::kEffGetParamDisplay, -1, 0, text), 0);
	EXPECT_EQ (dispatch (e, Abi::kEffGetParamLabel, 0, 0, nullptr), 0);
	EXPECT_EQ (dispatch (e, Abi::kEffGetProgramNameIndexed, 11, 0, text), 0);
	EXPECT_EQ (dispatch (e, Abi::kEffSetProgram, 0, 11), 0);
	EXPECT_EQ (dispatch (e, Abi::kEffGetEffectName, 0, 0, nullptr), 0);
	EXPECT_EQ (dispatch (e, 0x5151), 0);
	EXPECT_EQ (e->get_parameter (e, 5000), 0.f);
	e->set_parameter (e, 5000, 0.5f);

	std::vector<char> chunk = chunkOf (e);
	ASSERT_FALSE (chunk.empty ());
	EXPECT_EQ (dispatch (e, Abi::kEffSetChunk, 0, static_cast<intptr_t> (chunk.size ()) - 1, chunk.data ()), 0);
	chunk.push_back (0);
	EXPECT_EQ (dispatch (e, Abi::kEffSetChunk, 0, static_cast<intptr_t> (chunk.size ()), chunk.data ()), 0);
	// A chunk whose component part is cut short inside the state is refused by the plug-in.
	std::vector<char> cut (8 + 20 + 8, 0);
	cut[0] = 20;
	std::memcpy (cut.data () + 8, chunk.data () + 8, 20);
	dispatch (e, Abi::kEffSetProgram, 0, 4); // something to partly overwrite
	EXPECT_EQ (dispatch (e, Abi::kEffSetChunk, 0, static_cast<intptr_t> (cut.size ()), cut.data ()), 0);

	// What the plug-in took before refusing, the parameters show: they match a
	// VST 3 host's view of the component state the instance now holds.
	const std::vector<char> now = chunkOf (e);
	int64_t componentLength = 0;
	std::memcpy (&componentLength, now.data (), 8);
	ASSERT_EQ (componentLength, 114);
	PluginModule module;
	PluginInstance vst3 (module);
	ASSERT_TRUE (loadVst3 (module, vst3)) << module.error () << vst3.error ();
	ASSERT_EQ (vst3.restoreState (std::vector<uint8> (now.begin () + 8, now.begin () + 8 + componentLength)),
	           kResultOk);
	for (int32_t i = 0; i < 10; ++i)
		EXPECT_EQ (e->get_parameter (e, i), static_cast<float> (vst3.getParamNormalized (static_cast<ParamID> (i))))
		    << i;
}

} // namespace
