// process and its set-up: the frame loop against the engine, bypass, silence,
// parameter and MIDI delivery, host timing, meters, and every odd state a
// host can put the processor in.
#include "ProcessorRig.h"
#include "ProbeEffect.h"
#include "TextHelpers.h"

#include "effect/CStDelayFil.h"

#include "pluginterfaces/vst/ivstprocesscontext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Vire2VUR3;
using TestHost::AudioBlock;
using TestHost::EventList;
using TestHost::ParameterChanges;

namespace {

// Deterministic noise in -0.5..0.5.
void fillNoise (AudioBlock& block, uint32_t seed)
{
	for (int32 c = 0; c < block.channelCount; ++c)
		for (int32 i = 0; i < block.frameCount; ++i)
		{
			seed = seed * 1664525u + 1013904223u;
			block.in (c, i) = static_cast<float> (seed >> 8) / 16777216.f - 0.5f;
		}
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

// The product's engine driven directly, as a reference for the adapter.
class ReferenceEngine
{
public:
	explicit ReferenceEngine (int32_t sampleRate)
	{
		engine.sampleRate = sampleRate;
		engine.prepareToProcess ();
		engine.prepareToProcess ();
	}
	void render (AudioBlock& block, std::vector<std::vector<float>>& out)
	{
		out.assign (static_cast<size_t> (block.channelCount),
		            std::vector<float> (static_cast<size_t> (block.frameCount), 0.f));
		const uint32_t channels = static_cast<uint32_t> (block.channelCount);
		for (int32 i = 0; i < block.frameCount; ++i)
		{
			float in[2] = {block.in (0, i), channels == 2 ? block.in (1, i) : 0.f};
			float result[2] = {0.f, 0.f};
			engine.processFrame (in, result, channels, channels);
			for (uint32_t c = 0; c < channels; ++c)
				out[c][static_cast<size_t> (i)] = result[c];
		}
	}
	CStDelayFil engine;
};

void expectSameBits (const std::vector<float>& actual, const std::vector<float>& expected)
{
	ASSERT_EQ (actual.size (), expected.size ());
	for (size_t i = 0; i < actual.size (); ++i)
		ASSERT_EQ (std::memcmp (&actual[i], &expected[i], sizeof (float)), 0)
		    << "frame " << i << ": " << actual[i] << " vs " << expected[i];
}

} // namespace

TEST (ProcessorProcess, StereoAudioEqualsTheEngineBitForBit)
{
	ProcessorRig rig;
	rig.start (48000.);
	ReferenceEngine reference (48000);

	for (int blockIndex = 0; blockIndex < 6; ++blockIndex)
	{
		AudioBlock block (2, 512);
		fillNoise (block, 17u + static_cast<uint32_t> (blockIndex));
		ParameterChanges changes;
		if (blockIndex == 1)
		{
			changes.add (0, 0.2);    // Delay
			changes.add (1, 0.6);    // Feedback
			changes.add (2, 0.3);    // Cutoff
			changes.add (8, 1.0);    // Delay State: Delay
			reference.engine.setNormalizedValue (0, 0.2, false);
			reference.engine.setNormalizedValue (1, 0.6, false);
			reference.engine.setNormalizedValue (2, 0.3, false);
			reference.engine.setNormalizedValue (8, 1.0, false);
		}
		if (blockIndex == 3)
		{
			// Several points: only the last one counts.
			int32 index = 0;
			IParamValueQueue* queue = changes.addParameterData (6, index);
			queue->addPoint (0, 0.1, index);
			queue->addPoint (200, 0.9, index);
			reference.engine.setNormalizedValue (6, 0.9, false);
		}
		block.data.inputParameterChanges = &changes;
		ASSERT_EQ (rig.processor->process (block.data), kResultOk);
		std::vector<std::vector<float>> expected;
		reference.render (block, expected);
		expectSameBits (block.output[0], expected[0]);
		expectSameBits (block.output[1], expected[1]);
	}
}

TEST (ProcessorProcess, MonoRunsOnlyTheLeftChannelLikeTheEngine)
{
	ProcessorRig rig;
	rig.start (44100., 1);
	SpeakerArrangement arrangement = 0;
	ASSERT_EQ (rig.processor->getBusArrangement (kOutput, 0, arrangement), kResultOk);
	ASSERT_EQ (arrangement, SpeakerArr::kMono);
	ReferenceEngine reference (44100);
	ParameterChanges changes;
	changes.add (0, 0.5);
	reference.engine.setNormalizedValue (0, 0.5, false);
	for (int blockIndex = 0; blockIndex < 3; ++blockIndex)
	{
		AudioBlock block (1, 300);
		fillNoise (block, 99u + static_cast<uint32_t> (blockIndex));
		block.data.inputParameterChanges = blockIndex == 0 ? &changes : nullptr;
		ASSERT_EQ (rig.processor->process (block.data), kResultOk);
		std::vector<std::vector<float>> expected;
		reference.render (block, expected);
		expectSameBits (block.output[0], expected[0]);
	}
}

TEST (ProcessorProcess, InPlaceBuffersGiveTheSameAudio)
{
	ProcessorRig separate;
	separate.start (48000.);
	ProcessorRig inPlace;
	inPlace.start (48000.);
	AudioBlock a (2, 256);
	AudioBlock b (2, 256);
	fillNoise (a, 5u);
	fillNoise (b, 5u);
	ParameterChanges changes;
	changes.add (7, 1.0);
	a.data.inputParameterChanges = &changes;
	b.data.inputParameterChanges = &changes;
	b.outputBus.channelBuffers32 = b.inputPointers;
	ASSERT_EQ (separate.processor->process (a.data), kResultOk);
	ASSERT_EQ (inPlace.processor->process (b.data), kResultOk);
	expectSameBits (b.input[0], a.output[0]);
	expectSameBits (b.input[1], a.output[1]);
}

TEST (ProcessorProcess, BypassCopiesInputAndSkipsTheEffect)
{
	auto* effect = new ProbeEffect ({plainControl ("Gain")});
	effect->gain = 0.5f;
	ProcessorRig rig (effect);
	rig.start ();
	AudioBlock block (2, 64);
	fillNoise (block, 3u);
	ParameterChanges changes;
	changes.add (kBypassId, 1.0);
	block.data.inputParameterChanges = &changes;
	ASSERT_EQ (rig.processor->process (block.data), kResultOk);
	EXPECT_TRUE (rig.processor->isBypassed ());
	EXPECT_EQ (block.output, block.input);
	EXPECT_EQ (effect->framesProcessed, 0);

	// Off again: the effect runs.
	changes.clear ();
	changes.add (kBypassId, 0.0);
	ASSERT_EQ (rig.processor->process (block.data), kResultOk);
	EXPECT_FALSE (rig.processor->isBypassed ());
	EXPECT_EQ (effect->framesProcessed, 64);
	EXPECT_EQ (block.out (1, 10), block.in (1, 10) * 0.5f);
}

TEST (ProcessorProcess, SilentInputGivesSilentFlaggedOutputWithoutTheEffect)
{
	auto* effect = new ProbeEffect ({plainControl ("Gain")});
	ProcessorRig rig (effect);
	rig.start ();
	AudioBlock block (2, 64);
	for (auto& channel : block.output)
		std::fill (channel.begin (), channel.end (), 7.f);
	block.inputBus.silenceFlags = 3;
	ASSERT_EQ (rig.processor->process (block.data), kResultOk);
	EXPECT_EQ (block.outputBus.silenceFlags, 3u);
	for (const auto& channel : block.output)
		for (float sample : channel)
			ASSERT_EQ (sample, 0.f);
	EXPECT_EQ (effect->framesProcessed, 0);

	// A loud block clears the output's flags.
	block.inputBus.silenceFlags = 0;
	fillNoise (block, 1u);
	ASSERT_EQ (rig.processor->process (block.data), kResultOk);
	EXPECT_EQ (block.outputBus.silenceFlags, 0u);
	EXPECT_EQ (effect->framesProcessed, 64);
}

TEST (ProcessorProcess, PitchBendExtremesAndAControlChangeInOneBlock)
{
	ProbeControl gain = plainControl ("Gain", 0.f, 10.f, 0.f);
	gain.controlId = 11;
	auto* effect = new ProbeEffect ({gain});
	ProcessorRig rig (effect);
	rig.start ();
	AudioBlock block (2, 16);
	ParameterChanges changes;
	changes.add (kPitchBendId, 0.0);
	changes.add (0, 0.25);
	block.data.inputParameterChanges = &changes;
	ASSERT_EQ (rig.processor->process (block.data), kResultOk);
	ASSERT_EQ (effect->countCalls ("pitchBend"), 1);
	for (const auto& call : effect->calls)
		if (call.what == "pitchBend")
		{
			EXPECT_EQ (call.b, -8192);
			EXPECT_EQ (call.value, -1.0);
		}
	EXPECT_EQ (effect->floats[0], 2.5f);
	EXPECT_EQ (effect->countCalls ("control"), 1);

	effect->calls.clear ();
	changes.clear ();
	changes.add (kPitchBendId, 1.0);
	ASSERT_EQ (rig.processor->process (block.data), kResultOk);
	ASSERT_EQ (effect->countCalls ("pitchBend"), 1);
	EXPECT_EQ (effect->calls[0].b, 8191);
	EXPECT_EQ (effect->calls[0].value, 1.0);

	effect->calls.clear ();
	changes.clear ();
	changes.add (kPitchBendId, 0.5);
	ASSERT_EQ (rig.processor->process (block.data), kResultOk);
	EXPECT_EQ (effect->calls[0].b, 0);
}

TEST (ProcessorProcess, MidiControllerParametersReachTheEffect)
{
	auto* effect = new ProbeEffect ({plainControl ("Gain")});
	ProcessorRig rig (effect);
	rig.start ();
	AudioBlock block (2, 8);
	ParameterChanges changes;
	changes.add (kModWheelId, 0.5);
	changes.add (kMidiVolumeId, 1.0);
	changes.add (kMidiPanId, 0.25);
	changes.add (kMidiExpressionId, 0.1);
	changes.add (kSustainPedalId, 0.6);
	changes.add (kChannelPressureId, 0.75);
	changes.add (kAllNotesOffId, 1.0);
	changes.add (kAssignButton1Id, 1.0);
	changes.add (kAssignButton2Id, 1.0);
	changes.add (kAssignButton3Id, 0.0);
	changes.add (kJoystickXId, 0.75);
	changes.add (kJoystickYId, 0.0);
	changes.add (9999, 0.5);   // no such parameter: nothing
	block.data.inputParameterChanges = &changes;
	ASSERT_EQ (rig.processor->process (block.data), kResultOk);

	std::vector<ProbeCall> calls;
	for (const auto& call : effect->calls)
		if (call.what != "prepare" && call.what != "timingWithoutBlock")
			calls.push_back (call);
	ASSERT_EQ (calls.size (), 10u);
	EXPECT_EQ (calls[0].what, "modWheel");
	EXPECT_EQ (calls[0].b, 63);
	const int64_t midi[][3] = {{7, 127, 0}, {10, 31, 0}, {11, 12, 0}, {64, 127, 0}, {208, 95, 0}};
	for (int k = 0; k < 5; ++k)
	{
		EXPECT_EQ (calls[static_cast<size_t> (k + 1)].what, "midi");
		EXPECT_EQ (calls[static_cast<size_t> (k + 1)].a, 0);
		EXPECT_EQ (calls[static_cast<size_t> (k + 1)].b, midi[k][0]);
		EXPECT_EQ (calls[static_cast<size_t> (k + 1)].c, midi[k][1]);
	}
	EXPECT_EQ (calls[6].what, "allNotesOff");
	EXPECT_EQ (calls[7].what, "control");
	EXPECT_EQ (calls[7].a, 50);
	EXPECT_EQ (calls[8].a, 51);
	EXPECT_EQ (calls[9].a, 52);

	float x = 0.f;
	float y = 0.f;
	effect->getJoystickValues (x, y);
	EXPECT_EQ (x, 0.5f);
	EXPECT_EQ (y, -1.f);

	// The sustain pedal switches at one half.
	effect->calls.clear ();
	changes.clear ();
	changes.add (kSustainPedalId, 0.5);
	ASSERT_EQ (rig.processor->process (block.data), kResultOk);
	ASSERT_EQ (effect->countCalls ("midi"), 1);
	EXPECT_EQ (effect->calls.back ().c, 0);
}

TEST (ProcessorProcess, NotesAtOneOffsetArriveBeforeThatFrame)
{
	auto* effect = new ProbeEffect ({plainControl ("Gain")});
	ProcessorRig rig (effect);
	rig.start ();
	AudioBlock block (2, 32);
	EventList events;
	events.noteOn (5, 60, 0.5f);
	events.noteOn (5, 64, 1.0f);
	events.noteOff (9, 60, 0.25f, 3);
	events.polyPressure (12, 64, 0.5f);
	block.data.inputEvents = &events;
	ASSERT_EQ (rig.processor->process (block.data), kResultOk);

	std::vector<ProbeCall> midi;
	for (const auto& call : effect->calls)
		if (call.what == "noteOn" || call.what == "noteOff" || call.what == "midi")
			midi.push_back (call);
	ASSERT_EQ (midi.size (), 4u);
	EXPECT_EQ (midi[0].what, "noteOn");
	EXPECT_EQ (midi[0].b, 60);
	EXPECT_EQ (midi[0].c, 63);
	EXPECT_EQ (midi[0].frame, 5);
	EXPECT_EQ (midi[1].b, 64);
	EXPECT_EQ (midi[1].c, 127);
	EXPECT_EQ (midi[1].frame, 5);
	EXPECT_EQ (midi[2].what, "noteOff");
	EXPECT_EQ (midi[2].a, 3);
	EXPECT_EQ (midi[2].c, 31);
	EXPECT_EQ (midi[2].frame, 9);
	EXPECT_EQ (midi[3].b, 0xA0);
	EXPECT_EQ (midi[3].c, 64);
	EXPECT_EQ (midi[3].value, 63.);
	EXPECT_EQ (midi[3].frame, 12);
}

TEST (ProcessorProcess, HostileEventsAreDeliveredSafelyOrDropped)
{
	auto* effect = new ProbeEffect ({plainControl ("Gain")});
	ProcessorRig rig (effect);
	rig.start ();
	AudioBlock block (2, 16);
	EventList events;
	events.noteOn (-4, 60, 0.5f);                                     // before the block: at once
	events.noteOn (10, 61, 0.5f);
	events.noteOn (3, 62, 0.5f);                                      // out of order: as soon as possible
	events.noteOn (11, 200, 0.5f);                                    // not a MIDI pitch
	events.noteOn (11, 63, std::numeric_limits<float>::quiet_NaN ()); // velocity not a number
	events.noteOn (11, 64, 7.f, 40);                                  // not a MIDI channel
	events.noteOn (100, 65, 0.5f);                                    // after the block
	block.data.inputEvents = &events;
	ASSERT_EQ (rig.processor->process (block.data), kResultOk);
	std::vector<ProbeCall> notes;
	for (const auto& call : effect->calls)
		if (call.what == "noteOn")
			notes.push_back (call);
	ASSERT_EQ (notes.size (), 4u);
	EXPECT_EQ (notes[0].b, 60);
	EXPECT_EQ (notes[0].frame, 0);
	EXPECT_EQ (notes[1].b, 61);
	EXPECT_EQ (notes[1].frame, 10);
	EXPECT_EQ (notes[2].b, 62);
	EXPECT_EQ (notes[2].frame, 10);
	EXPECT_EQ (notes[3].b, 63);
	EXPECT_EQ (notes[3].c, 0);
	EXPECT_EQ (effect->framesProcessed, 16);
}

TEST (ProcessorProcess, HostTimingIsSentOncePerFrame)
{
	auto* effect = new ProbeEffect ({plainControl ("Gain")});
	ProcessorRig rig (effect);
	rig.start (48000.);
	AudioBlock block (2, 10);
	ProcessContext context {};
	context.projectTimeSamples = (int64 (1) << 32) + 1000;   // only the low 32 bits count
	context.tempo = 120.;
	context.timeSigNumerator = 3;
	context.timeSigDenominator = 4;
	block.data.processContext = &context;
	ASSERT_EQ (rig.processor->process (block.data), kResultOk);
	ASSERT_EQ (effect->hostInfos.size (), 11u);
	EXPECT_EQ (effect->hostInfos[0].samplePosition, 1000u);
	EXPECT_EQ (effect->hostInfos[0].timeSeconds, 1000. * (1. / 48000));
	EXPECT_EQ (effect->hostInfos[0].tempoBpm, 120.);
	EXPECT_EQ (effect->hostInfos[0].timeSigNumerator, 3.f);
	EXPECT_EQ (effect->hostInfos[0].timeSigDenominator, 4u);
	EXPECT_EQ (effect->hostInfos[10].samplePosition, 1010u);
	EXPECT_EQ (effect->hostInfos[10].timeSeconds, 1010. * (1. / 48000));
	EXPECT_EQ (effect->hostInfo.samplePosition, 1010u);

	// Without a context the effect keeps the timing it had.
	block.data.processContext = nullptr;
	ASSERT_EQ (rig.processor->process (block.data), kResultOk);
	EXPECT_EQ (effect->hostInfos.size (), 11u);
	EXPECT_EQ (effect->countCalls ("timingWithoutBlock"), 10);
	EXPECT_EQ (effect->hostInfo.samplePosition, 1010u);
}

TEST (ProcessorProcess, NormalizedValuesOutsideZeroToOneAreClampedAndNonNumbersDropped)
{
	auto* effect = new ProbeEffect ({plainControl ("A", 0.f, 100.f, 50.f), plainControl ("B", 0.f, 100.f, 50.f)});
	ProcessorRig rig (effect);
	rig.start ();
	AudioBlock block (2, 4);
	ParameterChanges changes;
	changes.add (0, 1.5);
	changes.add (1, -0.5);
	block.data.inputParameterChanges = &changes;
	ASSERT_EQ (rig.processor->process (block.data), kResultOk);
	EXPECT_EQ (effect->floats[0], 100.f);
	EXPECT_EQ (effect->floats[1], 0.f);

	changes.clear ();
	changes.add (0, std::numeric_limits<double>::quiet_NaN ());
	changes.add (1, std::numeric_limits<double>::infinity ());
	changes.add (kBypassId, std::numeric_limits<double>::quiet_NaN ());
	int32 index = 0;
	changes.addParameterData (0, index);   // a queue without points
	ASSERT_EQ (rig.processor->process (block.data), kResultOk);
	EXPECT_EQ (effect->floats[0], 100.f);
	EXPECT_EQ (effect->floats[1], 0.f);
	EXPECT_FALSE (rig.processor->isBypassed ());
}

TEST (ProcessorProcess, LogAndVoltOctaveControlsReceiveTheirFraction)
{
	ProbeControl log = plainControl ("Log", 20.f, 20000.f, 20.f);
	log.logTaper = true;
	ProbeControl octave = plainControl ("Octave", 20.f, 20480.f, 20.f);
	octave.voltOctaveTaper = true;
	auto* effect = new ProbeEffect ({log, octave});
	ProcessorRig rig (effect);
	rig.start ();
	AudioBlock block (2, 4);
	ParameterChanges changes;
	changes.add (0, 0.5);
	changes.add (1, 0.5);
	block.data.inputParameterChanges = &changes;
	ASSERT_EQ (rig.processor->process (block.data), kResultOk);
	const float logFraction = static_cast<float> (std::log10 (0.5f * 9.f + 1.f));
	EXPECT_EQ (effect->floats[0], static_cast<float> (logFraction * (20000. - 20.) + 20.));
	EXPECT_NEAR (effect->floats[1], 640.f, 1.f);
}

TEST (ProcessorProcess, ParameterChangesInABlockWithoutAudioAreKept)
{
	auto* effect = new ProbeEffect ({plainControl ("A", 0.f, 100.f, 50.f)});
	ProcessorRig rig (effect);
	rig.start ();
	ProcessData flush {};
	flush.symbolicSampleSize = kSample32;
	ParameterChanges changes;
	changes.add (0, 0.25);
	changes.add (kBypassId, 1.);
	flush.inputParameterChanges = &changes;
	ASSERT_EQ (rig.processor->process (flush), kResultOk);
	EXPECT_EQ (effect->floats[0], 25.f);
	EXPECT_TRUE (rig.processor->isBypassed ());
	EXPECT_EQ (effect->framesProcessed, 0);
}

TEST (ProcessorProcess, OddStatesNeverCrash)
{
	auto* effect = new ProbeEffect ({plainControl ("Gain")});
	effect->gain = 2.f;
	ProcessorRig rig (effect);

	// No effect before initialize.
	AudioBlock block (2, 64);
	fillNoise (block, 8u);
	EXPECT_EQ (rig.processor->process (block.data), kResultFalse);

	// Initialized but never set up or activated: silence.
	rig.initialize ();
	for (auto& channel : block.output)
		std::fill (channel.begin (), channel.end (), 9.f);
	EXPECT_EQ (rig.processor->process (block.data), kResultOk);
	EXPECT_EQ (block.output[0], std::vector<float> (64, 0.f));
	EXPECT_EQ (block.output[1], std::vector<float> (64, 0.f));
	EXPECT_EQ (effect->framesProcessed, 0);

	SpeakerArrangement stereo = SpeakerArr::kStereo;
	rig.processor->setBusArrangements (&stereo, 1, &stereo, 1);
	ProcessSetup setup {kRealtime, kSample32, 64, 48000.};
	ASSERT_EQ (rig.processor->setupProcessing (setup), kResultOk);
	ASSERT_EQ (rig.processor->setActive (true), kResultOk);

	// Zero samples: buffers untouched.
	std::fill (block.output[0].begin (), block.output[0].end (), 9.f);
	block.data.numSamples = 0;
	EXPECT_EQ (rig.processor->process (block.data), kResultOk);
	EXPECT_EQ (block.out (0, 0), 9.f);
	block.data.numSamples = -5;
	EXPECT_EQ (rig.processor->process (block.data), kResultOk);
	block.data.numSamples = 64;

	// Null output channels: nothing written, no crash.
	block.outputBus.channelBuffers32 = nullptr;
	EXPECT_EQ (rig.processor->process (block.data), kResultOk);
	block.outputBus.channelBuffers32 = block.outputPointers;
	float* missing[2] = {block.outputPointers[0], nullptr};
	block.outputBus.channelBuffers32 = missing;
	EXPECT_EQ (rig.processor->process (block.data), kResultOk);
	block.outputBus.channelBuffers32 = block.outputPointers;
	block.outputBus.numChannels = 1;
	EXPECT_EQ (rig.processor->process (block.data), kResultOk);
	block.outputBus.numChannels = 2;
	EXPECT_EQ (effect->framesProcessed, 0);

	// Null input channels: silence.
	float* noInput[2] = {nullptr, block.inputPointers[1]};
	block.inputBus.channelBuffers32 = noInput;
	std::fill (block.output[1].begin (), block.output[1].end (), 9.f);
	EXPECT_EQ (rig.processor->process (block.data), kResultOk);
	EXPECT_EQ (block.output[1], std::vector<float> (64, 0.f));
	block.inputBus.channelBuffers32 = nullptr;
	EXPECT_EQ (rig.processor->process (block.data), kResultOk);
	block.inputBus.channelBuffers32 = block.inputPointers;

	// Missing buses.
	block.data.inputs = nullptr;
	EXPECT_EQ (rig.processor->process (block.data), kResultOk);
	block.data.inputs = &block.inputBus;
	block.data.numInputs = 0;
	EXPECT_EQ (rig.processor->process (block.data), kResultOk);
	block.data.numInputs = 1;
	block.data.outputs = nullptr;
	EXPECT_EQ (rig.processor->process (block.data), kResultOk);
	block.data.outputs = &block.outputBus;
	EXPECT_EQ (effect->framesProcessed, 0);

	// 64-bit buffers were refused at set-up; a block of them is refused too.
	block.data.symbolicSampleSize = kSample64;
	EXPECT_EQ (rig.processor->process (block.data), kResultFalse);
	block.data.symbolicSampleSize = kSample32;

	// More frames than announced are processed all the same.
	AudioBlock large (2, 4096);
	fillNoise (large, 2u);
	EXPECT_EQ (rig.processor->process (large.data), kResultOk);
	EXPECT_EQ (large.out (1, 4095), large.in (1, 4095) * 2.f);
	EXPECT_EQ (effect->framesProcessed, 4096);
}

TEST (ProcessorProcess, AFailedPrepareIsReportedAndLeavesSilence)
{
	auto* effect = new ProbeEffect ({plainControl ("Gain")});
	effect->prepareResult = false;
	ProcessorRig rig (effect);
	rig.initialize ();
	ProcessSetup setup {kRealtime, kSample32, 64, 48000.};
	EXPECT_EQ (rig.processor->setupProcessing (setup), kResultFalse);
	EXPECT_EQ (rig.processor->setActive (true), kResultFalse);
	AudioBlock block (2, 64);
	fillNoise (block, 4u);
	for (auto& channel : block.output)
		std::fill (channel.begin (), channel.end (), 9.f);
	EXPECT_EQ (rig.processor->process (block.data), kResultOk);
	EXPECT_EQ (block.output[0], std::vector<float> (64, 0.f));
	EXPECT_EQ (effect->framesProcessed, 0);

	// Once a prepare succeeds, audio flows.
	effect->prepareResult = true;
	EXPECT_EQ (rig.processor->setActive (true), kResultOk);
	EXPECT_EQ (rig.processor->process (block.data), kResultOk);
	EXPECT_EQ (effect->framesProcessed, 64);
}

TEST (ProcessorProcess, SampleRatesOutsideTheSupportedRangeAreRefused)
{
	auto* effect = new ProbeEffect ({plainControl ("Gain")});
	ProcessorRig rig (effect);
	rig.initialize ();
	const double refused[] = {0., 7999.99, 384000.5, 1.0e9, -48000.,
	                          std::numeric_limits<double>::quiet_NaN (),
	                          std::numeric_limits<double>::infinity ()};
	for (double rate : refused)
	{
		ProcessSetup setup {kRealtime, kSample32, 512, rate};
		EXPECT_EQ (rig.processor->setupProcessing (setup), kResultFalse) << rate;
		EXPECT_EQ (effect->sampleRate, 44100) << rate;
	}
	EXPECT_EQ (effect->countCalls ("prepare"), 0);
	const double accepted[] = {8000., 22050., 44100.9, 96000., 384000.};
	for (double rate : accepted)
	{
		ProcessSetup setup {kRealtime, kSample32, 512, rate};
		EXPECT_EQ (rig.processor->setupProcessing (setup), kResultOk) << rate;
		EXPECT_EQ (effect->sampleRate, static_cast<int32_t> (rate));
	}
	ProcessSetup doubles {kRealtime, kSample64, 512, 48000.};
	EXPECT_EQ (rig.processor->setupProcessing (doubles), kResultFalse);
	EXPECT_EQ (rig.processor->canProcessSampleSize (kSample32), kResultTrue);
	EXPECT_EQ (rig.processor->canProcessSampleSize (kSample64), kResultFalse);
}

TEST (ProcessorProcess, ARefusedSetupLeavesTheLastAcceptedOneInForce)
{
	auto* effect = new ProbeEffect ({plainControl ("Gain")});
	ProcessorRig rig (effect);
	rig.initialize ();
	ProcessSetup good {kRealtime, kSample32, 64, 48000.};
	ASSERT_EQ (rig.processor->setupProcessing (good), kResultOk);
	ASSERT_EQ (effect->countCalls ("prepare"), 1);
	// What Steinberg's validator offers after the supported rates.
	for (double rate : {1234.568, 1234567.8, std::numeric_limits<double>::quiet_NaN ()})
	{
		ProcessSetup bad {kRealtime, kSample32, 64, rate};
		EXPECT_EQ (rig.processor->setupProcessing (bad), kResultFalse) << rate;
	}
	ProcessSetup doubles {kRealtime, kSample64, 64, 96000.};
	EXPECT_EQ (rig.processor->setupProcessing (doubles), kResultFalse);
	EXPECT_EQ (effect->countCalls ("prepare"), 1);
	EXPECT_EQ (rig.processor->getProcessSetup ().sampleRate, 48000.);
	EXPECT_EQ (rig.processor->getProcessSetup ().symbolicSampleSize, kSample32);

	EXPECT_EQ (rig.processor->setActive (true), kResultOk);
	EXPECT_EQ (effect->sampleRate, 48000);
	AudioBlock block (2, 64);
	fillNoise (block, 21u);
	EXPECT_EQ (rig.processor->process (block.data), kResultOk);
	EXPECT_EQ (effect->framesProcessed, 64);
}

TEST (ProcessorProcess, ActivationWithoutSetupRunsAtTheDefaultRate)
{
	auto* effect = new ProbeEffect ({plainControl ("Gain")});
	ProcessorRig rig (effect);
	rig.initialize ();
	EXPECT_EQ (rig.processor->setActive (true), kResultOk);
	EXPECT_EQ (effect->sampleRate, 44100);
	AudioBlock block (2, 32);
	EXPECT_EQ (rig.processor->process (block.data), kResultOk);
	EXPECT_EQ (effect->framesProcessed, 32);
	EXPECT_EQ (rig.processor->setActive (false), kResultOk);
}

TEST (ProcessorProcess, ProductRunsAtBothEndsOfTheRateRange)
{
	for (double rate : {8000., 384000.})
	{
		ProcessorRig rig;
		rig.start (rate);
		ParameterChanges changes;
		changes.add (0, 1.0);   // longest delay
		changes.add (8, 1.0);   // delay mode
		changes.add (1, 0.9);
		changes.add (5, 1.0);   // right voice one millisecond longer
		changes.add (2, 1.0);   // cutoff at the top of its range
		changes.add (3, 1.0);
		for (int blockIndex = 0; blockIndex < 40; ++blockIndex)
		{
			AudioBlock block (2, 512);
			fillNoise (block, static_cast<uint32_t> (blockIndex));
			block.data.inputParameterChanges = blockIndex == 0 ? &changes : nullptr;
			ASSERT_EQ (rig.processor->process (block.data), kResultOk);
			for (const auto& channel : block.output)
				for (float sample : channel)
					ASSERT_TRUE (std::isfinite (sample)) << rate;
		}
	}
}

TEST (ProcessorProcess, BusArrangementsAreMonoOrStereoOnly)
{
	ProcessorRig rig;
	rig.initialize ();
	Processor& processor = *rig.processor;
	SpeakerArrangement stereo = SpeakerArr::kStereo;
	SpeakerArrangement mono = SpeakerArr::kMono;
	SpeakerArrangement surround = SpeakerArr::k51;
	SpeakerArrangement quad = SpeakerArr::kStereo | SpeakerArr::kStereoSurround;
	SpeakerArrangement empty = SpeakerArr::kEmpty;
	SpeakerArrangement arrangement = 0;

	EXPECT_EQ (processor.setBusArrangements (&stereo, 1, &mono, 1), kResultFalse);
	EXPECT_EQ (processor.setBusArrangements (&surround, 1, &surround, 1), kResultFalse);
	EXPECT_EQ (processor.setBusArrangements (&quad, 1, &quad, 1), kResultFalse);
	EXPECT_EQ (processor.setBusArrangements (&empty, 1, &empty, 1), kResultFalse);
	SpeakerArrangement two[2] = {stereo, stereo};
	EXPECT_EQ (processor.setBusArrangements (two, 2, &stereo, 1), kResultFalse);
	EXPECT_EQ (processor.setBusArrangements (&stereo, 0, &stereo, 1), kResultFalse);
	EXPECT_EQ (processor.setBusArrangements (&stereo, -1, &stereo, 1), kInvalidArgument);
	EXPECT_EQ (processor.setBusArrangements (nullptr, 1, &stereo, 1), kInvalidArgument);
	ASSERT_EQ (processor.getBusArrangement (kOutput, 0, arrangement), kResultOk);
	EXPECT_EQ (arrangement, SpeakerArr::kStereo);

	EXPECT_EQ (processor.setBusArrangements (&mono, 1, &mono, 1), kResultOk);
	ASSERT_EQ (processor.getBusArrangement (kInput, 0, arrangement), kResultOk);
	EXPECT_EQ (arrangement, SpeakerArr::kMono);
	// A refused request leaves what was set.
	EXPECT_EQ (processor.setBusArrangements (&surround, 1, &surround, 1), kResultFalse);
	ASSERT_EQ (processor.getBusArrangement (kOutput, 0, arrangement), kResultOk);
	EXPECT_EQ (arrangement, SpeakerArr::kMono);
	EXPECT_EQ (processor.setBusArrangements (&stereo, 1, &stereo, 1), kResultOk);
}

TEST (ProcessorProcess, MetersAreReportedToTheHost)
{
	ProbeControl meterA = plainControl ("Left");
	meterA.controlType = kControlMeter;
	ProbeControl meterB = plainControl ("Right");
	meterB.controlType = kControlMeter;
	auto* effect = new ProbeEffect ({plainControl ("Gain"), meterA, meterB});
	effect->meters[1] = 0.25f;
	effect->meters[2] = 1.7f;
	ProcessorRig rig (effect);
	rig.start ();
	AudioBlock block (2, 32);
	ParameterChanges output;
	block.data.outputParameterChanges = &output;
	ASSERT_EQ (rig.processor->process (block.data), kResultOk);
	ASSERT_EQ (output.queues.size (), 2u);
	EXPECT_EQ (output.queues[0].id, 1u);
	ASSERT_EQ (output.queues[0].points.size (), 1u);
	EXPECT_EQ (output.queues[0].points[0].second, static_cast<double> (0.25f));
	EXPECT_EQ (output.queues[1].id, 2u);
	EXPECT_EQ (output.queues[1].points[0].first, 1);
	EXPECT_EQ (output.queues[1].points[0].second, 1.0);

	// Bypassed: no meters.
	output.clear ();
	ParameterChanges changes;
	changes.add (kBypassId, 1.);
	block.data.inputParameterChanges = &changes;
	ASSERT_EQ (rig.processor->process (block.data), kResultOk);
	EXPECT_TRUE (output.queues.empty ());
}

TEST (ProcessorProcess, BlockWiseEffectsGetOneCallAndZeroMeters)
{
	ProbeControl meter = plainControl ("Level");
	meter.controlType = kControlMeter;
	auto* effect = new ProbeEffect ({meter});
	effect->wantsBuffers = true;
	effect->meters[0] = 0.5f;
	ProcessorRig rig (effect);
	rig.start ();
	AudioBlock block (2, 100);
	fillNoise (block, 6u);
	ParameterChanges output;
	block.data.outputParameterChanges = &output;
	ASSERT_EQ (rig.processor->process (block.data), kResultOk);
	ASSERT_EQ (effect->countCalls ("buffers"), 1);
	EXPECT_EQ (effect->framesProcessed, 0);
	EXPECT_EQ (block.out (1, 99), block.in (1, 99) + 0.25f);
	ASSERT_EQ (output.queues.size (), 1u);
	EXPECT_EQ (output.queues[0].points[0].second, 0.);
}

TEST (ProcessorProcess, EffectWithoutAudioInputGetsSilenceOfAnyLength)
{
	auto* effect = new ProbeEffect ({plainControl ("Gain")});
	effect->noAudioInput = true;
	effect->wantsBuffers = true;
	ProcessorRig rig (effect);
	rig.initialize ();
	EXPECT_EQ (rig.processor->getBusCount (kAudio, kInput), 0);
	SpeakerArrangement stereo = SpeakerArr::kStereo;
	SpeakerArrangement mono = SpeakerArr::kMono;
	EXPECT_EQ (rig.processor->setBusArrangements (&stereo, 1, &stereo, 1), kResultFalse);
	EXPECT_EQ (rig.processor->setBusArrangements (nullptr, 0, &mono, 1), kResultFalse);
	EXPECT_EQ (rig.processor->setBusArrangements (nullptr, 0, &stereo, 1), kResultOk);
	ProcessSetup setup {kRealtime, kSample32, 512, 48000.};
	ASSERT_EQ (rig.processor->setupProcessing (setup), kResultOk);
	ASSERT_EQ (rig.processor->setActive (true), kResultOk);

	AudioBlock block (2, 100);
	block.data.numInputs = 0;
	block.data.inputs = nullptr;
	ASSERT_EQ (rig.processor->process (block.data), kResultOk);
	EXPECT_EQ (effect->countCalls ("buffers"), 4);
	EXPECT_EQ (block.output[0], std::vector<float> (100, 0.25f));
	EXPECT_EQ (block.output[1], std::vector<float> (100, 0.25f));
}

TEST (ProcessorProcess, AuxInputFeedsTheSideChainFrameByFrame)
{
	auto* effect = new ProbeEffect ({plainControl ("Gain")});
	effect->options.wantsAuxInput = true;
	ProcessorRig rig (effect);
	rig.start ();
	ASSERT_EQ (rig.processor->getBusCount (kAudio, kInput), 2);
	BusInfo bus {};
	ASSERT_EQ (rig.processor->getBusInfo (kAudio, kInput, 1, bus), kResultOk);
	EXPECT_EQ (text16 (bus.name), u"AuxInput");
	EXPECT_EQ (bus.busType, kAux);

	AudioBlock block (2, 8);
	AudioBlock aux (1, 8);
	fillNoise (aux, 12u);
	AudioBusBuffers inputs[2] = {block.inputBus, aux.inputBus};
	block.data.inputs = inputs;
	block.data.numInputs = 2;
	// Hosts activate the buses they feed.
	ASSERT_EQ (rig.processor->process (block.data), kResultOk);
	EXPECT_EQ (effect->countCalls ("sidechain"), 0);
	rig.processor->activateBus (kAudio, kInput, 1, true);
	effect->calls.clear ();
	effect->framesProcessed = 0;
	ASSERT_EQ (rig.processor->process (block.data), kResultOk);
	std::vector<ProbeCall> sidechain;
	for (const auto& call : effect->calls)
		if (call.what == "sidechain")
			sidechain.push_back (call);
	ASSERT_EQ (sidechain.size (), 8u);
	EXPECT_EQ (sidechain[5].a, 1);
	EXPECT_EQ (sidechain[5].b, 1);
	EXPECT_EQ (sidechain[5].value, aux.in (0, 5));
	EXPECT_EQ (sidechain[5].frame, 5);

	// An inactive aux bus is not read.
	effect->calls.clear ();
	rig.processor->activateBus (kAudio, kInput, 1, false);
	ASSERT_EQ (rig.processor->process (block.data), kResultOk);
	EXPECT_EQ (effect->countCalls ("sidechain"), 0);
}
