// Saving and restoring through getState/setState/setComponentState, and the program list.
#include "BundleFixture.h"

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>

namespace TarnwickHostTest {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Tarnwick::HostKit;

// The first release's 58 bytes, then the tail: its version, Sync, Note and the adapter's
// eleven saved host values (assign buttons, then the MIDI controller parameters 2048..2055).
constexpr size_t kFirstPartSize = 58;
constexpr size_t kStateSize = kFirstPartSize + 4 + 2 * 4 + 11 * 4;
constexpr size_t kBypassOffset = 48;
constexpr size_t kJoystickXOffset = 50;
constexpr size_t kJoystickYOffset = 54;
constexpr size_t kTailVersionOffset = 58;
constexpr size_t kSyncOffset = 62;
constexpr size_t kNoteOffset = 66;
constexpr size_t kAssignButton2Offset = 74;
constexpr size_t kPitchBendOffset = 82;
size_t controlOffset (ParamID id)
{
	return 8 + 4 * static_cast<size_t> (id);
}

struct Range
{
	double min;
	double max;
};
const Range kRanges[10] = {{0, 2000}, {0, 100}, {100, 16000}, {0.5, 10}, {1, 20},
                           {0, 1},    {0, 100}, {0, 1},       {0, 1},    {0, 1}};

// The plain value a control ends at after a host change v (the smoother lands on its target).
float cookedFloat (ParamID id, double v)
{
	return static_cast<float> (v * (kRanges[id].max - kRanges[id].min) + kRanges[id].min);
}

// Preset slot 2, "Hollow Ring".
const double kHollowRing[10] = {1140.0, 82.499992, 16000.0, 0.69, 14.775, 0.0, 64.0, 0.635, 0, 0};

class StateTest : public BundleTest
{
protected:
	// Runs silent blocks so that smoothed controls reach their targets.
	void settle (PluginInstance& instance, double seconds)
	{
		const int32 block = 512;
		std::vector<float> zeros (block, 0.f), sink (block, 0.f), sink2 (block, 0.f);
		const float* in[2] = {zeros.data (), zeros.data ()};
		float* out[2] = {sink.data (), sink2.data ()};
		const int blocks = static_cast<int> (seconds * instance.sampleRate () / block) + 1;
		for (int b = 0; b < blocks; ++b)
			ASSERT_EQ (instance.process (in, out, block), kResultOk);
	}
	std::vector<uint8> stateOf (PluginInstance& instance)
	{
		std::vector<uint8> bytes;
		EXPECT_TRUE (instance.getState (bytes));
		return bytes;
	}
	std::vector<ParamValue> controllerValues (PluginInstance& instance)
	{
		std::vector<ParamValue> values;
		for (const ParameterDescription& p : instance.parameters ())
			values.push_back (instance.getParamNormalized (p.id));
		return values;
	}
	// An instance moved away from every default.
	PluginInstance& modifiedInstance ()
	{
		PluginInstance& instance = newActiveInstance ();
		for (ParamID id = 0; id < 8; ++id)
			instance.setParameter (id, kSettings[id]);
		instance.setParameter (kDelayState, 1.0);
		instance.setParameter (kActive, 0.0);
		instance.setParameter (kJoystickX, 0.8);
		instance.setParameter (kJoystickY, 0.15);
		instance.setParameter (kAssignButton2, 1.0);
		instance.setParameter (kPitchBendParam, 0.25);
		settle (instance, 1.5);
		return instance;
	}
	static constexpr double kSettings[8] = {0.3, 0.55, 0.4, 0.2, 0.1, 0.5, 0.7, 0.9};
};

TEST_F (StateTest, DefaultStateIsTheFirstReleaseBytesThenTheTail)
{
	std::vector<uint8> expected = {
	    0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, // version 1
	    0x00, 0x00, 0x00, 0x00,                         // Delay 0
	    0x00, 0x00, 0x00, 0x00,                         // Feedback 0
	    0x00, 0x00, 0x7A, 0x46,                         // Cutoff 16000
	    0x00, 0x00, 0x00, 0x3F,                         // Resonance 0.5
	    0x00, 0x00, 0x80, 0x3F,                         // Delay Ratio 1
	    0x00, 0x00, 0x00, 0x00,                         // Offset 0
	    0x00, 0x00, 0x48, 0x42,                         // Wet/Dry 50
	    0x33, 0x33, 0x33, 0x3F,                         // Volume 0.7f
	    0x00, 0x00, 0x00, 0x00,                         // Delay State "Comb"
	    0x00, 0x00, 0x00, 0x00,                         // Active "On"
	    0x00, 0x00,                                     // bypass off
	    0x00, 0x00, 0x00, 0x00,                         // joystick X
	    0x00, 0x00, 0x00, 0x00,                         // joystick Y
	    0x02, 0x00, 0x00, 0x00,                         // tail version 2
	    0x00, 0x00, 0x00, 0x00,                         // Sync "Off"
	    0x0C, 0x00, 0x00, 0x00};                        // Note "1/4"
	expected.resize (kStateSize, 0x00);                 // the host values at 0
	ASSERT_EQ (expected.size (), kStateSize);
	PluginInstance& fresh = newInstance ();
	EXPECT_EQ (stateOf (fresh), expected);
	PluginInstance& active = newActiveInstance ();
	settle (active, 0.1);
	EXPECT_EQ (stateOf (active), expected);
}

TEST_F (StateTest, StateHoldsWhatTheHostSet)
{
	PluginInstance& a = modifiedInstance ();
	const std::vector<uint8> state = stateOf (a);
	ASSERT_EQ (state.size (), kStateSize);
	for (ParamID id = 0; id < 8; ++id)
		EXPECT_EQ (readFloat (state, controlOffset (id)), cookedFloat (id, kSettings[id])) << id;
	EXPECT_EQ (readUInt32 (state, controlOffset (kDelayState)), 1u);
	EXPECT_EQ (readUInt32 (state, controlOffset (kActive)), 0u);
	EXPECT_EQ (state[kBypassOffset], 0);
	EXPECT_EQ (readFloat (state, kJoystickXOffset), static_cast<float> (2.0 * 0.8 - 1.0));
	EXPECT_EQ (readFloat (state, kJoystickYOffset), static_cast<float> (2.0 * 0.15 - 1.0));
	EXPECT_EQ (readUInt32 (state, kTailVersionOffset), 2u);
	EXPECT_EQ (readFloat (state, kAssignButton2Offset), 1.f);
	EXPECT_EQ (readFloat (state, kPitchBendOffset), 0.25f);
}

TEST_F (StateTest, RoundTripRestoresEverythingAndRendersIdenticalAudio)
{
	PluginInstance& a = modifiedInstance ();
	const std::vector<uint8> state = stateOf (a);

	PluginInstance& b = newActiveInstance ();
	PluginInstance& c = newActiveInstance ();
	ASSERT_EQ (c.selectProgram (5), kResultOk);
	settle (c, 1.0);
	ASSERT_NE (stateOf (c), state);

	// A reloads its own project; B is a fresh instance, C one that had another program.
	for (PluginInstance* restored : {&a, &b, &c})
	{
		ASSERT_EQ (restored->restoreState (state), kResultOk);
		EXPECT_EQ (stateOf (*restored), state);
		for (ParamID id = 0; id < 8; ++id)
			EXPECT_DOUBLE_EQ (restored->getParamNormalized (id),
			                  (static_cast<double> (readFloat (state, controlOffset (id))) - kRanges[id].min) /
			                      (kRanges[id].max - kRanges[id].min));
		EXPECT_EQ (restored->getParamNormalized (kDelayState), 1.0);
		EXPECT_EQ (restored->getParamNormalized (kActive), 0.0);
		EXPECT_EQ (restored->getParamNormalized (kBypass), 0.0);
		EXPECT_DOUBLE_EQ (restored->getParamNormalized (kJoystickX),
		                  (static_cast<double> (readFloat (state, kJoystickXOffset)) + 1.0) * 0.5);
		EXPECT_DOUBLE_EQ (restored->getParamNormalized (kJoystickY),
		                  (static_cast<double> (readFloat (state, kJoystickYOffset)) + 1.0) * 0.5);
		// Automatable parameters outside the controls come back too, whatever was set since.
		EXPECT_EQ (restored->getParamNormalized (kAssignButton2), 1.0);
		EXPECT_EQ (restored->getParamNormalized (kPitchBendParam), 0.25);
	}

	const auto input = makeTestSignal (2, 48000, 48000.0, 7);
	std::vector<std::vector<float>> outA, outB, outC;
	ASSERT_TRUE (a.render (input, outA));
	ASSERT_TRUE (b.render (input, outB));
	ASSERT_TRUE (c.render (input, outC));
	EXPECT_TRUE (sameSamples (outA, outB));
	EXPECT_TRUE (sameSamples (outA, outC));
	EXPECT_FALSE (sameSamples (outA, input)); // the effect is audible
}

TEST_F (StateTest, BypassTravelsWithTheState)
{
	PluginInstance& a = modifiedInstance ();
	a.setParameter (kBypass, 1.0);
	settle (a, 0.01);
	const std::vector<uint8> state = stateOf (a);
	EXPECT_EQ (state[kBypassOffset], 1);
	EXPECT_EQ (state[kBypassOffset + 1], 0);

	PluginInstance& b = newActiveInstance ();
	ASSERT_EQ (b.restoreState (state), kResultOk);
	EXPECT_EQ (b.getParamNormalized (kBypass), 1.0);
	const auto input = makeTestSignal (2, 9000, 48000.0, 3);
	std::vector<std::vector<float>> output;
	ASSERT_TRUE (b.render (input, output));
	EXPECT_TRUE (sameSamples (output, input));
}

TEST_F (StateTest, ControllerFirstThenComponentGivesTheSameResult)
{
	PluginInstance& a = modifiedInstance ();
	const std::vector<uint8> state = stateOf (a);
	PluginInstance& b = newActiveInstance ();
	ASSERT_EQ (b.setControllerComponentState (state), kResultOk);
	ASSERT_EQ (b.setComponentState (state), kResultOk);
	EXPECT_EQ (stateOf (b), state);
	EXPECT_DOUBLE_EQ (b.getParamNormalized (kDelay), a.getParamNormalized (kDelay));
}

TEST_F (StateTest, ProgramTwoMovesEveryControlWithOneRestart)
{
	PluginInstance& instance = newActiveInstance ();
	instance.handler ().clear ();
	ASSERT_EQ (instance.selectProgram (2), kResultOk);
	// Not inside the host's call: with its next one, once.
	EXPECT_EQ (instance.handler ().count (HandlerCall::kRestartComponent), 0u);

	for (ParamID id = 0; id < 10; ++id)
	{
		const double f = static_cast<float> ((kHollowRing[id] - kRanges[id].min) /
		                                     (kRanges[id].max - kRanges[id].min));
		EXPECT_EQ (instance.getParamNormalized (id), f) << id;
	}
	const auto& calls = instance.handler ().calls ();
	EXPECT_EQ (instance.handler ().count (HandlerCall::kRestartComponent), 1u);
	for (const HandlerCall& call : calls)
	{
		if (call.kind == HandlerCall::kRestartComponent)
		{
			EXPECT_EQ (call.flags, kParamValuesChanged);
		}
	}
	// Preset joystick programs are zero: X = Y = 0, shown as (0 + 1) / 2.
	EXPECT_EQ (instance.getParamNormalized (kJoystickX), 0.5);
	EXPECT_EQ (instance.getParamNormalized (kJoystickY), 0.5);
	EXPECT_DOUBLE_EQ (instance.getParamNormalized (kPresets), 0.2);

	settle (instance, 2.0);
	const std::vector<uint8> state = stateOf (instance);
	for (ParamID id = 0; id < 8; ++id)
	{
		const double f = static_cast<float> ((kHollowRing[id] - kRanges[id].min) /
		                                     (kRanges[id].max - kRanges[id].min));
		EXPECT_EQ (readFloat (state, controlOffset (id)), cookedFloat (id, f)) << id;
	}
	EXPECT_EQ (readUInt32 (state, controlOffset (kDelayState)), 0u);
	EXPECT_EQ (readUInt32 (state, controlOffset (kActive)), 0u);
}

TEST_F (StateTest, AutomateMeReturnsToCombAfterADelayModePreset)
{
	PluginInstance& instance = newActiveInstance ();
	ASSERT_EQ (instance.selectProgram (9), kResultOk);
	EXPECT_EQ (instance.getParamNormalized (kDelayState), 1.0);
	ASSERT_EQ (instance.selectProgram (10), kResultOk);
	EXPECT_EQ (instance.getParamNormalized (kDelayState), 0.0);
	settle (instance, 0.05);
	EXPECT_EQ (readUInt32 (stateOf (instance), controlOffset (kDelayState)), 0u);
}

TEST_F (StateTest, VersionZeroStreamEndingAfterBypassIsAccepted)
{
	PluginInstance& a = modifiedInstance ();
	const std::vector<uint8> before = stateOf (a);

	std::vector<uint8> v0 = before;
	v0.resize (kJoystickXOffset);
	for (size_t k = 0; k < 8; ++k)
		v0[k] = 0;
	writeFloat (v0, controlOffset (kDelay), 250.0f);
	EXPECT_EQ (a.setComponentState (v0), kResultOk);
	EXPECT_EQ (a.setControllerComponentState (v0), kResultOk);

	const std::vector<uint8> after = stateOf (a);
	EXPECT_EQ (readFloat (after, controlOffset (kDelay)), 250.0f);
	EXPECT_DOUBLE_EQ (a.getParamNormalized (kDelay), 0.125);
	// The joystick stays where it was.
	EXPECT_EQ (readFloat (after, kJoystickXOffset), readFloat (before, kJoystickXOffset));
	EXPECT_EQ (readFloat (after, kJoystickYOffset), readFloat (before, kJoystickYOffset));
}

class BrokenStateTest : public StateTest
{
protected:
	void expectRefusedAndUnchanged (const std::vector<uint8>& bytes, const char* what)
	{
		SCOPED_TRACE (what);
		PluginInstance& a = modifiedInstance ();
		const std::vector<uint8> stateBefore = stateOf (a);
		const std::vector<ParamValue> paramsBefore = controllerValues (a);
		EXPECT_EQ (a.setComponentState (bytes), kResultFalse);
		EXPECT_EQ (a.setControllerComponentState (bytes), kResultFalse);
		EXPECT_EQ (stateOf (a), stateBefore);
		EXPECT_EQ (controllerValues (a), paramsBefore);
	}
	std::vector<uint8> validState ()
	{
		PluginInstance& source = newInstance ();
		return stateOf (source);
	}
};

TEST_F (BrokenStateTest, EmptyStream)
{
	expectRefusedAndUnchanged ({}, "empty");
}

TEST_F (BrokenStateTest, TruncatedInsideTheControls)
{
	std::vector<uint8> bytes = validState ();
	bytes.resize (30);
	expectRefusedAndUnchanged (bytes, "truncated after 30 bytes");
}

TEST_F (BrokenStateTest, TruncatedInsideTheJoystick)
{
	std::vector<uint8> bytes = validState ();
	bytes.resize (kJoystickYOffset + 2);
	expectRefusedAndUnchanged (bytes, "truncated in joystick Y");
}

TEST_F (BrokenStateTest, NonFiniteValues)
{
	std::vector<uint8> bytes = validState ();
	writeFloat (bytes, controlOffset (kCutoff), std::numeric_limits<float>::quiet_NaN ());
	expectRefusedAndUnchanged (bytes, "NaN cutoff");
	bytes = validState ();
	writeFloat (bytes, controlOffset (kDelay), std::numeric_limits<float>::infinity ());
	expectRefusedAndUnchanged (bytes, "infinite delay");
	bytes = validState ();
	writeFloat (bytes, kJoystickYOffset, std::numeric_limits<float>::quiet_NaN ());
	expectRefusedAndUnchanged (bytes, "NaN joystick");
}

TEST_F (BrokenStateTest, NullStream)
{
	PluginInstance& a = modifiedInstance ();
	const std::vector<uint8> before = stateOf (a);
	EXPECT_NE (a.getComponent ()->setState (nullptr), kResultOk);
	EXPECT_NE (a.getController ()->setComponentState (nullptr), kResultOk);
	EXPECT_NE (a.getComponent ()->getState (nullptr), kResultOk);
	EXPECT_EQ (stateOf (a), before);
}

TEST_F (StateTest, ValuesOutsideTheRangesAreClamped)
{
	PluginInstance& a = newActiveInstance ();
	std::vector<uint8> bytes = stateOf (a);
	writeFloat (bytes, controlOffset (kDelay), 5000.0f);
	writeFloat (bytes, controlOffset (kFeedback), -10.0f);
	writeFloat (bytes, controlOffset (kCutoff), 1.0f);
	writeUInt32 (bytes, controlOffset (kDelayState), 7);
	writeUInt32 (bytes, kNoteOffset, 50);
	writeFloat (bytes, kPitchBendOffset, 3.0f);
	ASSERT_EQ (a.restoreState (bytes), kResultOk);
	const std::vector<uint8> state = stateOf (a);
	EXPECT_EQ (readFloat (state, controlOffset (kDelay)), 2000.0f);
	EXPECT_EQ (readFloat (state, controlOffset (kFeedback)), 0.0f);
	EXPECT_EQ (readFloat (state, controlOffset (kCutoff)), 100.0f);
	EXPECT_EQ (readUInt32 (state, controlOffset (kDelayState)), 1u);
	EXPECT_EQ (a.getParamNormalized (kDelay), 1.0);
	EXPECT_EQ (a.getParamNormalized (kFeedback), 0.0);
	EXPECT_EQ (a.getParamNormalized (kCutoff), 0.0);
	EXPECT_EQ (a.getParamNormalized (kDelayState), 1.0);
	EXPECT_EQ (readUInt32 (state, kNoteOffset), 20u);
	EXPECT_EQ (a.getParamNormalized (kNote), 1.0);
	EXPECT_EQ (a.getParamNormalized (kPitchBendParam), 1.0);
}

TEST_F (BrokenStateTest, TailTruncatedOrOfAnUnknownVersion)
{
	std::vector<uint8> bytes = validState ();
	bytes.resize (kTailVersionOffset + 2);
	expectRefusedAndUnchanged (bytes, "cut inside the tail's version");
	bytes = validState ();
	bytes.resize (kStateSize - 1);
	expectRefusedAndUnchanged (bytes, "cut inside the host values");
	bytes = validState ();
	writeUInt32 (bytes, kTailVersionOffset, 1);
	expectRefusedAndUnchanged (bytes, "tail version 1 was never written");
	bytes = validState ();
	writeFloat (bytes, kPitchBendOffset, std::numeric_limits<float>::quiet_NaN ());
	expectRefusedAndUnchanged (bytes, "NaN host value");
}

// What a later version appends is left unread; what this one knows still loads.
TEST_F (StateTest, ALaterVersionsTailLoadsAsFarAsThisVersionReadsIt)
{
	PluginInstance& a = modifiedInstance ();
	std::vector<uint8> state = stateOf (a);
	std::vector<uint8> later = state;
	writeUInt32 (later, kTailVersionOffset, 3);
	later.insert (later.end (), {0xAB, 0xCD, 0xEF, 0x01, 0x23});
	PluginInstance& b = newActiveInstance ();
	ASSERT_EQ (b.restoreState (later), kResultOk);
	EXPECT_EQ (stateOf (b), state);
}

// FNV-1a over the samples' bits.
uint64_t hashOf (const std::vector<std::vector<float>>& signal)
{
	uint64_t hash = 1469598103934665603ull;
	for (const auto& channel : signal)
		for (float v : channel)
		{
			uint32_t bits = 0;
			std::memcpy (&bits, &v, 4);
			for (int k = 0; k < 4; ++k)
			{
				hash ^= (bits >> (8 * k)) & 0xFF;
				hash *= 1099511628211ull;
			}
		}
	return hash;
}

// tests/data/first-release-state.bin: the 58 bytes the build before Sync and Note saved for the
// settings of modifiedInstance (two seconds settled). That build rendered the test signal
// (seed 7) after restoring them to the hash below.
TEST_F (StateTest, AStateTheFirstReleaseSavedRestoresBitForBitAndSoundsTheSame)
{
	std::ifstream file (std::string (TARNWICK_TEST_DATA_DIR) + "/first-release-state.bin", std::ios::binary);
	const std::vector<uint8> saved ((std::istreambuf_iterator<char> (file)), std::istreambuf_iterator<char> ());
	ASSERT_EQ (saved.size (), kFirstPartSize);

	PluginInstance& b = newActiveInstance (48000.0, 512, 2);
	ASSERT_EQ (b.setParameter (kSync, 1.0), kResultOk);
	ASSERT_EQ (b.setParameter (kNote, 0.2), kResultOk);
	ASSERT_EQ (b.setParameter (kAssignButton2, 1.0), kResultOk);
	settle (b, 0.2);
	ASSERT_EQ (b.restoreState (saved), kResultOk);
	const std::vector<uint8> state = stateOf (b);
	EXPECT_TRUE (std::equal (saved.begin (), saved.end (), state.begin ()));
	EXPECT_EQ (readUInt32 (state, kSyncOffset), 0u);
	EXPECT_EQ (readUInt32 (state, kNoteOffset), 12u);
	EXPECT_EQ (b.getParamNormalized (kAssignButton2), 0.0);

	PluginInstance& c = newActiveInstance (48000.0, 512, 2);
	ASSERT_EQ (c.restoreState (saved), kResultOk);
	std::vector<std::vector<float>> output;
	ASSERT_TRUE (c.render (makeTestSignal (2, 48000, 48000.0, 7), output));
	EXPECT_EQ (hashOf (output), 0x01cec1bbaf7b1f6dull);
}

// A state of this version read by the first release's code takes its first 58 bytes: those
// alone restore the ten controls, with Sync and Note at their defaults.
TEST_F (StateTest, TheFirstPartAloneRestoresTheTenControls)
{
	PluginInstance& a = modifiedInstance ();
	ASSERT_EQ (a.setParameter (kSync, 1.0), kResultOk);
	ASSERT_EQ (a.setParameter (kNote, 0.45), kResultOk);
	settle (a, 0.5);
	const std::vector<uint8> state = stateOf (a);
	EXPECT_EQ (readUInt32 (state, kSyncOffset), 1u);
	EXPECT_EQ (readUInt32 (state, kNoteOffset), 9u);
	const std::vector<uint8> firstPart (state.begin (), state.begin () + kFirstPartSize);

	PluginInstance& b = newActiveInstance ();
	ASSERT_EQ (b.setParameter (kSync, 1.0), kResultOk);
	ASSERT_EQ (b.setParameter (kAssignButton2, 1.0), kResultOk);
	ASSERT_EQ (b.restoreState (firstPart), kResultOk);
	const std::vector<uint8> restored = stateOf (b);
	EXPECT_TRUE (std::equal (firstPart.begin (), firstPart.end (), restored.begin ()));
	for (ParamID id = 0; id < 10; ++id)
		EXPECT_NEAR (b.getParamNormalized (id), a.getParamNormalized (id), 1e-6) << id;
	EXPECT_EQ (b.getParamNormalized (kSync), 0.0);
	EXPECT_EQ (b.getParamNormalized (kNote), 12.0 / 20.0);
	EXPECT_EQ (b.getParamNormalized (kAssignButton2), 0.0);
	EXPECT_EQ (readUInt32 (restored, kSyncOffset), 0u);
	EXPECT_EQ (readUInt32 (restored, kNoteOffset), 12u);
}

} // namespace
} // namespace TarnwickHostTest
