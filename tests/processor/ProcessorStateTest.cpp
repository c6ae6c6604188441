// Saved state, restore on both sides, program changes and the controller side
// of parameter changes.
#include "ProcessorRig.h"
#include "ProbeEffect.h"
#include "TextHelpers.h"

#include "effect/CStDelayFil.h"

#include "public.sdk/source/common/memorystream.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <thread>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Vire2VUR3;
using TestHost::AudioBlock;
using TestHost::ComponentHandler;
using TestHost::ParameterChanges;

namespace {

// Little-endian fields, as the state stream holds them.
class Bytes
{
public:
	template <typename T>
	Bytes& put (T value)
	{
		unsigned char raw[sizeof (T)];
		std::memcpy (raw, &value, sizeof (T));
		for (size_t k = 0; k < sizeof (T); ++k)   // the test host is little-endian
			data.push_back (raw[k]);
		return *this;
	}
	std::vector<unsigned char> data;
};

std::vector<unsigned char> stateOf (Processor& processor)
{
	MemoryStream stream;
	EXPECT_EQ (processor.getState (&stream), kResultOk);
	const auto* begin = reinterpret_cast<const unsigned char*> (stream.getData ());
	return std::vector<unsigned char> (begin, begin + stream.getSize ());
}

tresult restore (Processor& processor, const std::vector<unsigned char>& bytes, bool controller = false)
{
	MemoryStream stream;
	int32 written = 0;
	if (!bytes.empty ())
		stream.write (const_cast<unsigned char*> (bytes.data ()), static_cast<int32> (bytes.size ()), &written);
	stream.seek (0, IBStream::kIBSeekSet, nullptr);
	return controller ? processor.setComponentState (&stream) : processor.setState (&stream);
}

// The product's ten control fields with the given values.
Bytes productState (int64 version, const float floats[8], uint32 delayState, uint32 active)
{
	Bytes bytes;
	bytes.put<int64> (version);
	for (int k = 0; k < 8; ++k)
		bytes.put<float> (floats[k]);
	bytes.put<uint32> (delayState).put<uint32> (active);
	return bytes;
}

// The tail a state of this version ends with: its version, the controls after the first part
// (the product's Sync and Note, `laterControls` of them), the eleven saved host values at 0.
Bytes& putTail (Bytes& bytes, int laterControls = 2, uint32 sync = 0, uint32 note = 12)
{
	bytes.put<int32> (2);
	if (laterControls == 2)
		bytes.put<uint32> (sync).put<uint32> (note);
	for (int k = 0; k < 11; ++k)
		bytes.put<float> (0.f);
	return bytes;
}

const float kSomeValues[8] = {1234.5f, 42.f, 3000.f, 2.5f, 3.f, 0.5f, 75.f, 0.25f};

std::vector<std::vector<float>> render (Processor& processor, int blocks)
{
	std::vector<std::vector<float>> out;
	uint32_t seed = 77u;
	for (int b = 0; b < blocks; ++b)
	{
		AudioBlock block (2, 256);
		for (int32 c = 0; c < 2; ++c)
			for (int32 i = 0; i < 256; ++i)
			{
				seed = seed * 1664525u + 1013904223u;
				block.in (c, i) = static_cast<float> (seed >> 8) / 16777216.f - 0.5f;
			}
		EXPECT_EQ (processor.process (block.data), kResultOk);
		out.push_back (block.output[0]);
		out.push_back (block.output[1]);
	}
	return out;
}

ProbeControl plainControl (const char* name, float min = 0.f, float max = 1.f, float def = 0.f)
{
	ProbeControl control;
	control.name = name;
	control.minValue = min;
	control.maxValue = max;
	control.defaultValue = def;
	return control;
}

} // namespace

TEST (ProcessorState, DefaultStateIsTheFirstReleases58BytesThenTheTail)
{
	ProcessorRig rig;
	rig.initialize ();
	const float defaults[8] = {0.f, 0.f, 16000.f, 0.5f, 1.f, 0.f, 50.f, 0.7f};
	Bytes expected = productState (1, defaults, 0, 0);
	expected.put<int16> (0).put<float> (0.f).put<float> (0.f);
	ASSERT_EQ (expected.data.size (), 58u);
	putTail (expected);
	ASSERT_EQ (expected.data.size (), 114u);
	const std::vector<unsigned char> head = {1, 0, 0, 0, 0, 0, 0, 0};
	ASSERT_TRUE (std::equal (head.begin (), head.end (), expected.data.begin ()));
	EXPECT_EQ (stateOf (*rig.processor), expected.data);
}

TEST (ProcessorState, WithoutAnEffectThereIsNoState)
{
	TestProcessor* processor = new TestProcessor;
	MemoryStream stream;
	EXPECT_EQ (processor->getState (&stream), kResultFalse);
	EXPECT_EQ (processor->setState (&stream), kResultFalse);
	EXPECT_EQ (processor->setComponentState (&stream), kResultFalse);
	processor->release ();
}

TEST (ProcessorState, RestoreWritesEveryControlBypassAndJoystickAtOnce)
{
	ProcessorRig rig;
	rig.start ();
	Bytes state = productState (1, kSomeValues, 1, 1);
	state.put<int16> (1).put<float> (0.5f).put<float> (-0.25f);
	putTail (state, 2, 1, 5);
	ASSERT_EQ (restore (*rig.processor, state.data), kResultOk);

	auto* effect = static_cast<CStDelayFil*> (rig.effect ());
	EXPECT_EQ (effect->m_uSync, 1u);
	EXPECT_EQ (effect->m_uNote, 5u);
	EXPECT_EQ (effect->m_fDelay_ms, 1234.5f);
	EXPECT_EQ (effect->m_fFeedback_pct, 42.f);
	EXPECT_EQ (effect->m_f_fc_Hz, 3000.f);
	EXPECT_EQ (effect->m_f_Q, 2.5f);
	EXPECT_EQ (effect->m_fRatio, 3.f);
	EXPECT_EQ (effect->m_fOffset, 0.5f);
	EXPECT_EQ (effect->m_fWetLevel_pct, 75.f);
	EXPECT_EQ (effect->m_fVolume, 0.25f);
	EXPECT_EQ (effect->m_uDState, 1u);
	EXPECT_EQ (effect->m_uActive, 1u);
	EXPECT_TRUE (rig.processor->isBypassed ());
	float x = 0.f;
	float y = 0.f;
	effect->getJoystickValues (x, y);
	EXPECT_EQ (x, 0.5f);
	EXPECT_EQ (y, -0.25f);
	// Smoothing is back on for later changes.
	EXPECT_TRUE (effect->controlAt (0)->smoothingEnabled);
	EXPECT_EQ (stateOf (*rig.processor), state.data);

	// Values do not glide back after the restore.
	ParameterChanges changes;
	changes.add (kBypassId, 0.);
	AudioBlock block (2, 512);
	block.data.inputParameterChanges = &changes;
	ASSERT_EQ (rig.processor->process (block.data), kResultOk);
	EXPECT_EQ (effect->m_fDelay_ms, 1234.5f);
	EXPECT_EQ (effect->m_fVolume, 0.25f);
}

TEST (ProcessorState, RoundTripRendersTheSameAudio)
{
	ProcessorRig first;
	first.start ();
	Bytes state = productState (1, kSomeValues, 1, 0);
	state.put<int16> (0).put<float> (0.f).put<float> (0.f);
	ASSERT_EQ (restore (*first.processor, state.data), kResultOk);
	render (*first.processor, 3);
	const std::vector<unsigned char> saved = stateOf (*first.processor);

	ProcessorRig second;
	second.start ();
	second.connectHandler ();
	ASSERT_EQ (restore (*second.processor, saved), kResultOk);
	ASSERT_EQ (restore (*second.processor, saved, true), kResultOk);
	EXPECT_EQ (stateOf (*second.processor), saved);
	for (ParamID id = 0; id < 10; ++id)
		EXPECT_EQ (second.processor->getParamNormalized (id),
		           second.processor->plainParamToNormalized (id, first.effect ()->getPlainValue (static_cast<int32> (id))))
		    << id;

	// Both processors now hold the same state and must sound the same.
	ASSERT_EQ (restore (*first.processor, saved), kResultOk);
	ProcessorRig third;
	third.start ();
	ASSERT_EQ (restore (*third.processor, saved), kResultOk);
	EXPECT_EQ (render (*third.processor, 4), render (*second.processor, 4));
}

TEST (ProcessorState, ControllerSideMovesTheParameters)
{
	ProcessorRig rig;
	rig.initialize ();
	Bytes state = productState (1, kSomeValues, 1, 0);
	state.put<int16> (1).put<float> (0.5f).put<float> (-1.f);
	ASSERT_EQ (restore (*rig.processor, state.data, true), kResultOk);
	Processor& processor = *rig.processor;
	const double ranges[8][2] = {{0., 2000.}, {0., 100.}, {100., 16000.}, {0.5, 10.},
	                             {1., 20.},   {0., 1.},   {0., 100.},     {0., 1.}};
	for (ParamID id = 0; id < 8; ++id)
		EXPECT_EQ (processor.getParamNormalized (id),
		           (static_cast<double> (kSomeValues[id]) - ranges[id][0]) / (ranges[id][1] - ranges[id][0]))
		    << id;
	EXPECT_EQ (processor.getParamNormalized (8), 1.);
	EXPECT_EQ (processor.getParamNormalized (9), 0.);
	EXPECT_EQ (processor.getParamNormalized (kBypassId), 1.);
	EXPECT_EQ (processor.getParamNormalized (kJoystickXId), 0.75);
	EXPECT_EQ (processor.getParamNormalized (kJoystickYId), 0.);
	// The controller side leaves the effect alone.
	EXPECT_EQ (static_cast<CStDelayFil*> (rig.effect ())->m_fDelay_ms, 0.f);
	EXPECT_FALSE (processor.isBypassed ());
}

TEST (ProcessorState, VersionZeroEndsAfterBypassAndKeepsTheJoystick)
{
	ProcessorRig rig;
	rig.initialize ();
	CPlugIn* effect = rig.effect ();
	effect->setJoystickX (0.125f, 1);
	rig.processor->setParamNormalized (kJoystickXId, 0.6);
	Bytes state = productState (0, kSomeValues, 0, 1);
	state.put<int16> (1);
	ASSERT_EQ (state.data.size (), 50u);
	ASSERT_EQ (restore (*rig.processor, state.data), kResultOk);
	ASSERT_EQ (restore (*rig.processor, state.data, true), kResultOk);
	float x = 0.f;
	float y = 0.f;
	effect->getJoystickValues (x, y);
	EXPECT_EQ (x, 0.125f);
	EXPECT_EQ (rig.processor->getParamNormalized (kJoystickXId), 0.6);
	EXPECT_TRUE (rig.processor->isBypassed ());
	EXPECT_EQ (static_cast<CStDelayFil*> (effect)->m_uActive, 1u);
}

TEST (ProcessorState, EveryTruncatedStreamIsRefusedAndChangesNothing)
{
	ProcessorRig rig;
	rig.initialize ();
	Bytes full = productState (1, kSomeValues, 1, 1);
	full.put<int16> (1).put<float> (0.5f).put<float> (0.5f);
	const std::vector<unsigned char> before = stateOf (*rig.processor);
	std::vector<double> parametersBefore;
	for (ParamID id = 0; id < 10; ++id)
		parametersBefore.push_back (rig.processor->getParamNormalized (id));

	for (size_t length = 0; length < full.data.size (); ++length)
	{
		std::vector<unsigned char> cut (full.data.begin (), full.data.begin () + static_cast<long> (length));
		EXPECT_EQ (restore (*rig.processor, cut), kResultFalse) << length;
		EXPECT_EQ (restore (*rig.processor, cut, true), kResultFalse) << length;
		ASSERT_EQ (stateOf (*rig.processor), before) << length;
		for (ParamID id = 0; id < 10; ++id)
			ASSERT_EQ (rig.processor->getParamNormalized (id), parametersBefore[id]) << length;
	}
	EXPECT_FALSE (rig.processor->isBypassed ());
}

TEST (ProcessorState, ForeignVersionsAreRefused)
{
	ProcessorRig rig;
	rig.initialize ();
	const std::vector<unsigned char> before = stateOf (*rig.processor);
	for (int64 version : {int64 (2), int64 (-1), int64 (0x7473727000000000)})
	{
		Bytes state = productState (version, kSomeValues, 1, 1);
		state.put<int16> (1).put<float> (0.f).put<float> (0.f);
		EXPECT_EQ (restore (*rig.processor, state.data), kResultFalse) << version;
		EXPECT_EQ (restore (*rig.processor, state.data, true), kResultFalse) << version;
	}
	EXPECT_EQ (stateOf (*rig.processor), before);
}

TEST (ProcessorState, ValuesThatAreNotNumbersRefuseTheWholeStream)
{
	ProcessorRig rig;
	rig.initialize ();
	const std::vector<unsigned char> before = stateOf (*rig.processor);
	for (int field = 0; field < 10; ++field)
	{
		float values[8];
		std::copy (kSomeValues, kSomeValues + 8, values);
		float joystick[2] = {0.f, 0.f};
		const float bad = field % 2 ? std::numeric_limits<float>::quiet_NaN ()
		                            : std::numeric_limits<float>::infinity ();
		if (field < 8)
			values[field] = bad;
		else
			joystick[field - 8] = bad;
		Bytes state = productState (1, values, 0, 0);
		state.put<int16> (0).put<float> (joystick[0]).put<float> (joystick[1]);
		EXPECT_EQ (restore (*rig.processor, state.data), kResultFalse) << field;
		EXPECT_EQ (restore (*rig.processor, state.data, true), kResultFalse) << field;
	}
	EXPECT_EQ (stateOf (*rig.processor), before);
}

TEST (ProcessorState, ValuesOutsideTheirRangesAreClamped)
{
	ProcessorRig rig;
	rig.initialize ();
	const float wild[8] = {5000.f, -20.f, 50.f, 100.f, 0.f, 2.f, 101.f, 1.5f};
	Bytes state = productState (1, wild, 7, 0xFFFFFFFFu);
	state.put<int16> (-3).put<float> (3.f).put<float> (-9.f);
	ASSERT_EQ (restore (*rig.processor, state.data), kResultOk);
	const float clamped[8] = {2000.f, 0.f, 100.f, 10.f, 1.f, 1.f, 100.f, 1.f};
	Bytes expected = productState (1, clamped, 1, 1);
	expected.put<int16> (1).put<float> (1.f).put<float> (-1.f);
	putTail (expected);
	EXPECT_EQ (stateOf (*rig.processor), expected.data);

	ASSERT_EQ (restore (*rig.processor, state.data, true), kResultOk);
	EXPECT_EQ (rig.processor->getParamNormalized (0), 1.);
	EXPECT_EQ (rig.processor->getParamNormalized (1), 0.);
	EXPECT_EQ (rig.processor->getParamNormalized (9), 1.);
	EXPECT_EQ (rig.processor->getParamNormalized (kJoystickXId), 1.);
	EXPECT_EQ (rig.processor->getParamNormalized (kJoystickYId), 0.);
}

TEST (ProcessorState, StateOfOtherVariableTypes)
{
	ProbeControl integer = plainControl ("Int", -10.f, 10.f, -3.f);
	integer.dataType = kDataInt32;
	ProbeControl wide = plainControl ("Double", 0.f, 1000.f, 0.f);
	wide.dataType = kDataDouble;
	ProbeControl none = plainControl ("None");
	none.dataType = kDataNone;
	auto* effect = new ProbeEffect ({integer, wide, none});
	ProcessorRig rig (effect);
	rig.initialize ();
	Bytes expected;
	expected.put<int64> (1).put<int32> (-3).put<double> (0.).put<int16> (0).put<float> (0.f).put<float> (0.f);
	putTail (expected, 0);
	EXPECT_EQ (stateOf (*rig.processor), expected.data);

	Bytes state;
	state.put<int64> (1).put<int32> (7).put<double> (123.456).put<int16> (0).put<float> (0.f).put<float> (0.f);
	ASSERT_EQ (restore (*rig.processor, state.data), kResultOk);
	EXPECT_EQ (effect->ints[0], 7);
	EXPECT_EQ (effect->doubles[1], static_cast<double> (123.456f));
}

TEST (ProcessorState, RestoreLeavesTheProgramParameter)
{
	ProcessorRig rig;
	rig.initialize ();
	rig.processor->setParamNormalized (kPresetsParamId, 0.3);
	const std::vector<unsigned char> saved = stateOf (*rig.processor);
	ASSERT_EQ (restore (*rig.processor, saved), kResultOk);
	ASSERT_EQ (restore (*rig.processor, saved, true), kResultOk);
	EXPECT_EQ (rig.processor->getParamNormalized (kPresetsParamId), 0.3);
}

TEST (ProcessorState, ProgramTwoMovesEveryControlAndParameterAndRestartsOnce)
{
	ProcessorRig rig;
	rig.start ();
	ComponentHandler& handler = rig.connectHandler ();
	Processor& processor = *rig.processor;
	Parameter* presets = processor.getParameterObject (kPresetsParamId);
	ASSERT_NE (presets, nullptr);
	const ParamValue programTwo = presets->toNormalized (2);
	EXPECT_EQ (processor.setParamNormalized (kPresetsParamId, programTwo), kResultOk);
	// Not inside the host's call: with the host's next one.
	EXPECT_TRUE (handler.restarts.empty ());
	processor.getParamNormalized (kPresetsParamId);

	ASSERT_EQ (handler.restarts.size (), 1u);
	EXPECT_EQ (handler.restarts[0], kParamValuesChanged);
	CPlugIn* effect = rig.effect ();
	for (int32 i = 0; i < 10; ++i)
	{
		const ControlDescriptor* d = effect->controlAt (i);
		const float fraction = static_cast<float> ((d->presetValues[2] - d->minValue) /
		                                           (static_cast<double> (d->maxValue) - d->minValue));
		EXPECT_EQ (processor.getParamNormalized (static_cast<ParamID> (i)), fraction) << i;
	}
	EXPECT_EQ (processor.getParamNormalized (kJoystickXId), 0.5);
	EXPECT_EQ (processor.getParamNormalized (kJoystickYId), 0.5);

	// The continuous controls glide to the preset; the switches jump.
	auto* product = static_cast<CStDelayFil*> (effect);
	EXPECT_EQ (product->m_uDState, 0u);
	for (int b = 0; b < 200; ++b)
	{
		AudioBlock block (2, 512);
		ASSERT_EQ (processor.process (block.data), kResultOk);
	}
	EXPECT_NEAR (product->m_fDelay_ms, 1140.f, 0.01f);
	EXPECT_NEAR (product->m_fFeedback_pct, 82.499992f, 0.001f);
	EXPECT_NEAR (product->m_fRatio, 14.775f, 0.001f);
	EXPECT_NEAR (product->m_fWetLevel_pct, 64.f, 0.001f);
	EXPECT_NEAR (product->m_fVolume, 0.635f, 0.0001f);

	// Selecting the same program again rewrites it (one more restart).
	EXPECT_EQ (processor.setParamNormalized (kPresetsParamId, programTwo), kResultOk);
	processor.getParamNormalized (0);
	EXPECT_EQ (handler.restarts.size (), 2u);

	// A delay-mode preset, then "Automate Me" is comb mode again.
	processor.setParamNormalized (kPresetsParamId, presets->toNormalized (5));
	EXPECT_EQ (product->m_uDState, 1u);
	processor.setParamNormalized (kPresetsParamId, presets->toNormalized (10));
	EXPECT_EQ (product->m_uDState, 0u);
	EXPECT_EQ (processor.getParamNormalized (8), 0.);
}

TEST (ProcessorState, RestartAfterAProgramChangeComesOnceOutsideTheHostsCall)
{
	// Without a run loop: the host's next call on the thread that changed the program sends it,
	// not a call on another thread, not a block, not the plug-in's own work inside the call.
	{
		ProcessorRig rig;
		rig.start ();
		ComponentHandler& handler = rig.connectHandler ();
		Parameter* presets = rig.processor->getParameterObject (kPresetsParamId);
		ASSERT_EQ (rig.processor->setParamNormalized (kPresetsParamId, presets->toNormalized (5)),
		           kResultOk);
		ASSERT_EQ (rig.processor->setParamNormalized (kPresetsParamId, presets->toNormalized (6)),
		           kResultOk);
		std::thread ([&] { rig.processor->getParamNormalized (0); }).join ();
		AudioBlock block (2, 64);
		ASSERT_EQ (rig.processor->process (block.data), kResultOk);
		EXPECT_TRUE (handler.restarts.empty ());
		String128 text {};
		rig.processor->getParamStringByValue (0, 0.5, text);
		EXPECT_EQ (handler.restarts,
		           std::vector<int32> {kParamValuesChanged}); // both changes in one
		rig.processor->getParamNormalized (0);
		EXPECT_EQ (handler.restarts.size (), 1u);
		EXPECT_TRUE (handler.edits.empty ());
		// Owed at terminate: dropped, never sent after it, not even to the next life.
		ASSERT_EQ (rig.processor->setParamNormalized (kPresetsParamId, presets->toNormalized (5)),
		           kResultOk);
		rig.processor->terminate ();
		rig.processor->initialize (nullptr);
		rig.connectHandler ();
		rig.processor->getParamNormalized (0);
		EXPECT_EQ (handler.restarts.size (), 1u);
	}
	// With the host's run loop (here its context's): its timer sends it; terminate and
	// destruction let the timer go.
	TestHost::RunLoopHost host;
	{
		ProcessorRig rig;
		ASSERT_EQ (rig.processor->initialize (static_cast<IHostApplication*> (&host)), kResultOk);
		rig.initialized = true;
		ComponentHandler& handler = rig.connectHandler ();
		EXPECT_TRUE (host.timers.empty ());
		Parameter* presets = rig.processor->getParameterObject (kPresetsParamId);
		ASSERT_EQ (rig.processor->setParamNormalized (kPresetsParamId, presets->toNormalized (5)), kResultOk);
		ASSERT_EQ (host.timers.size (), 1u);
		EXPECT_TRUE (handler.restarts.empty ());
		host.runTimers ();
		host.runTimers ();
		EXPECT_EQ (handler.restarts, std::vector<int32> {kParamValuesChanged});
		ASSERT_EQ (rig.processor->setParamNormalized (kPresetsParamId, presets->toNormalized (7)),
		           kResultOk);
		EXPECT_EQ (host.timers.size (), 1u);
		rig.processor->terminate ();
		rig.initialized = false;
		EXPECT_TRUE (host.timers.empty ());
		EXPECT_EQ (handler.restarts.size (), 1u);
		ASSERT_EQ (rig.processor->initialize (static_cast<IHostApplication*> (&host)), kResultOk);
		rig.initialized = true;
		rig.connectHandler ();
		presets = rig.processor->getParameterObject (kPresetsParamId);
		ASSERT_EQ (rig.processor->setParamNormalized (kPresetsParamId, presets->toNormalized (7)),
		           kResultOk);
		EXPECT_EQ (host.timers.size (), 1u);
		rig.initialized = false; // destroyed without terminate
	}
	EXPECT_TRUE (host.timers.empty ());
}

TEST (ProcessorState, NextBlockReportsTheProgramsValuesUnlessAStateCameBetween)
{
	ProcessorRig rig;
	rig.start ();
	Processor& processor = *rig.processor;
	Parameter* presets = processor.getParameterObject (kPresetsParamId);
	const auto reported = [&] {
		AudioBlock block (2, 64);
		ParameterChanges output;
		block.data.outputParameterChanges = &output;
		EXPECT_EQ (processor.process (block.data), kResultOk);
		std::vector<std::pair<ParamID, ParamValue>> values;
		for (const auto& queue : output.queues)
			values.emplace_back (queue.id, queue.points.at (0).second);
		return values;
	};
	ASSERT_EQ (processor.setParamNormalized (kPresetsParamId, presets->toNormalized (5)),
	           kResultOk);
	std::vector<std::pair<ParamID, ParamValue>> expected;
	for (ParamID id = 0; id < 12; ++id)
		expected.emplace_back (id, processor.getParamNormalized (id));
	expected.emplace_back (kJoystickXId, processor.getParamNormalized (kJoystickXId));
	expected.emplace_back (kJoystickYId, processor.getParamNormalized (kJoystickYId));
	EXPECT_EQ (reported (), expected);
	EXPECT_TRUE (reported ().empty ());
	// What the host set after the program is what goes out.
	ASSERT_EQ (processor.setParamNormalized (kPresetsParamId, presets->toNormalized (5)), kResultOk);
	ASSERT_EQ (processor.setParamNormalized (0, 0.25), kResultOk);
	expected[0].second = 0.25;
	EXPECT_EQ (reported (), expected);

	const std::vector<unsigned char> saved = stateOf (processor);
	for (bool controller : {false, true})
	{
		ASSERT_EQ (processor.setParamNormalized (kPresetsParamId, presets->toNormalized (2)),
		           kResultOk);
		ASSERT_EQ (restore (processor, saved, controller), kResultOk);
		EXPECT_TRUE (reported ().empty ()) << controller;
	}
}

TEST (ProcessorState, ProgramChangeWithoutAHandlerStillApplies)
{
	ProcessorRig rig;
	rig.initialize ();
	Parameter* presets = rig.processor->getParameterObject (kPresetsParamId);
	EXPECT_EQ (rig.processor->setParamNormalized (kPresetsParamId, presets->toNormalized (3)), kResultOk);
	EXPECT_EQ (rig.processor->getParamNormalized (3),
	           static_cast<float> ((3.35 - 0.5) / (10. - 0.5)));
}

TEST (ProcessorState, ProgramChangeSetsTheJoystickAndTaperedControls)
{
	ProbeControl log = plainControl ("Log", 20.f, 20000.f, 20.f);
	log.logTaper = true;
	log.presets = {20., 2000.};
	ProbeControl octave = plainControl ("Octave", 20.f, 20480.f, 20.f);
	octave.voltOctaveTaper = true;
	octave.presets = {20., 640.};
	ProbeControl flat = plainControl ("Flat", 0.f, 10.f, 0.f);
	flat.presets = {0., 2.5};
	auto* effect = new ProbeEffect ({log, octave, flat}, {"First", "Second"});
	effect->joystickX.presetValues[1] = 0.5;
	effect->joystickY.presetValues[1] = -0.5;
	ProcessorRig rig (effect);
	rig.initialize ();
	ComponentHandler& handler = rig.connectHandler ();
	ASSERT_EQ (rig.processor->setParamNormalized (kPresetsParamId, 1.), kResultOk);
	rig.processor->getParamNormalized (0);
	EXPECT_EQ (handler.restarts, std::vector<int32> {kParamValuesChanged});

	const float logFraction = static_cast<float> ((2000. - 20.) / (20000. - 20.));
	EXPECT_EQ (rig.processor->getParamNormalized (0),
	           (std::pow (10.f, logFraction) - 1.f) * 0.11111111f);
	EXPECT_NEAR (rig.processor->getParamNormalized (1), 0.5, 0.001);
	EXPECT_EQ (rig.processor->getParamNormalized (2), 0.25);
	EXPECT_EQ (effect->floats[2], 2.5f);

	const double x = 0.5000755179441972;
	EXPECT_EQ (rig.processor->getParamNormalized (kJoystickXId), (x + 1.) * 0.5);
	EXPECT_EQ (rig.processor->getParamNormalized (kJoystickYId), 0.5);
	float jx = 0.f;
	float jy = 1.f;
	effect->getJoystickValues (jx, jy);
	EXPECT_EQ (jx, static_cast<float> (x));
	EXPECT_EQ (jy, 0.f);

	// Every parameter it moved was also told to the effect.
	int messages = 0;
	for (const auto& call : effect->calls)
		if (call.what == "gui" && call.a == kGuiParameterChanged)
			++messages;
	EXPECT_EQ (messages, 1 + 3 + 2);
}

TEST (ProcessorState, DependentControlsAreRefreshedAndReported)
{
	ProbeControl source = plainControl ("Source", 0.f, 100.f, 10.f);
	source.controlId = 21;
	source.presets = {10., 40.};
	ProbeControl target = plainControl ("Target", 0.f, 100.f, 0.f);
	target.controlId = 22;
	auto* effect = new ProbeEffect ({source, target}, {"A", "B"});
	effect->hasDependency = true;
	effect->dependencySourceId = 21;
	effect->dependentTargetId = 22;
	effect->dependentOffset = 5.f;
	ProcessorRig rig (effect);
	rig.initialize ();
	ComponentHandler& handler = rig.connectHandler ();

	ASSERT_EQ (rig.processor->setParamNormalized (kPresetsParamId, 1.), kResultOk);
	ASSERT_EQ (handler.edits.size (), 1u);
	EXPECT_EQ (handler.edits[0].first, 1u);
	EXPECT_EQ (handler.edits[0].second, 0.45);
	EXPECT_EQ (rig.processor->getParamNormalized (1), 0.45);
	EXPECT_TRUE (handler.begins.empty ());
	EXPECT_TRUE (handler.ends.empty ());
	EXPECT_EQ (effect->freedLists, 1);

	// The same after a controller-side restore.
	handler.edits.clear ();
	Bytes state;
	state.put<int64> (1).put<float> (70.f).put<float> (0.f).put<int16> (0).put<float> (0.f).put<float> (0.f);
	ASSERT_EQ (restore (*rig.processor, state.data, true), kResultOk);
	ASSERT_EQ (handler.edits.size (), 1u);
	EXPECT_EQ (handler.edits[0].second, 0.75);
	EXPECT_EQ (rig.processor->getParamNormalized (1), 0.75);
	EXPECT_EQ (effect->freedLists, 2);
}

TEST (ProcessorState, ControllerChangesAreCheckedAndToldToTheEffect)
{
	auto* effect = new ProbeEffect ({plainControl ("A"), plainControl ("B")});
	ProcessorRig rig (effect);
	rig.initialize ();
	Processor& processor = *rig.processor;
	EXPECT_EQ (processor.setParamNormalized (0, 0.3), kResultOk);
	EXPECT_EQ (processor.getParamNormalized (0), 0.3);
	ASSERT_FALSE (effect->calls.empty ());
	EXPECT_EQ (effect->calls.back ().what, "gui");
	EXPECT_EQ (effect->calls.back ().a, kGuiParameterChanged);
	EXPECT_EQ (effect->calls.back ().b, 0);
	EXPECT_EQ (effect->calls.back ().value, 0.3);
	// The controller side does not reach the audio path.
	EXPECT_EQ (effect->floats[0], 0.f);

	const size_t callsBefore = effect->calls.size ();
	EXPECT_EQ (processor.setParamNormalized (0, std::numeric_limits<double>::quiet_NaN ()), kResultFalse);
	EXPECT_EQ (processor.setParamNormalized (0, -std::numeric_limits<double>::infinity ()), kResultFalse);
	EXPECT_EQ (processor.getParamNormalized (0), 0.3);
	EXPECT_EQ (effect->calls.size (), callsBefore);

	EXPECT_EQ (processor.setParamNormalized (1, 7.5), kResultOk);
	EXPECT_EQ (processor.getParamNormalized (1), 1.);
	EXPECT_EQ (effect->calls.back ().value, 1.);
	EXPECT_EQ (processor.setParamNormalized (1, -2.), kResultOk);
	EXPECT_EQ (processor.getParamNormalized (1), 0.);

	EXPECT_EQ (processor.setParamNormalized (4242, 0.5), kResultFalse);
	EXPECT_EQ (processor.setParamNormalized (kPresetsParamId, 0.5), kResultFalse);
}
