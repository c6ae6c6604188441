// The VST 2 wrapper in front of a small VST 3 plug-in with separate component
// and controller, driven the way VST 2 hosts drive an effect.
#include "TestPlugIn.h"
#include "Vst2PlugFrame.h"
#include "Vst2TestHost.h"
#include "Vst2Wrapper.h"

#include "pluginterfaces/vst/ivstmidicontrollers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Vst2Test;

namespace {

class Vst2WrapperTest : public ::testing::Test
{
protected:
	void SetUp () override
	{
		probe () = Probe ();
		factory = createTestFactory ();
	}

	void TearDown () override
	{
		for (vst_effect* e : effects)
			dispatch (e, Abi::kEffClose);
		factory->release ();
	}

	vst_effect* makeEffect ()
	{
		vst_effect* e = Vst2Wrapper::create (factory, kComponentClassId, 'T' << 24 | 'e' << 16 | 's' << 8 | 't',
		                                     host.callback ());
		if (e != nullptr)
			effects.push_back (e);
		return e;
	}

	std::vector<float> ones (size_t n, float v = 1.f) { return std::vector<float> (n, v); }

	Vst2TestHost host;
	IPluginFactory* factory {nullptr};
	std::vector<vst_effect*> effects;
};

TEST_F (Vst2WrapperTest, CreateRefusesMissingFactoryCallbackOrClass)
{
	EXPECT_EQ (Vst2Wrapper::create (nullptr, kComponentClassId, 1, host.callback ()), nullptr);
	EXPECT_EQ (Vst2Wrapper::create (factory, kComponentClassId, 1, nullptr), nullptr);
	const TUID unknown = INLINE_UID (1, 2, 3, 4);
	EXPECT_EQ (Vst2Wrapper::create (factory, unknown, 1, host.callback ()), nullptr);
	// The controller class is not an audio processor.
	EXPECT_EQ (Vst2Wrapper::create (factory, kControllerClassId, 1, host.callback ()), nullptr);
}

TEST_F (Vst2WrapperTest, EffectRecordDescribesThePlugIn)
{
	vst_effect* e = makeEffect ();
	ASSERT_NE (e, nullptr);
	EXPECT_EQ (e->magic_number, ('V' << 24) | ('s' << 16) | ('t' << 8) | 'P');
	EXPECT_EQ (e->unique_id, 'T' << 24 | 'e' << 16 | 's' << 8 | 't');
	EXPECT_EQ (e->num_params, 3); // gain, long name, fixed; not meter, hidden, bypass, program
	EXPECT_EQ (e->num_programs, 3);
	EXPECT_EQ (e->num_inputs, 2);
	EXPECT_EQ (e->num_outputs, 2);
	EXPECT_EQ (e->flags, Abi::kFlagCanReplacing | Abi::kFlagProgramChunks);
	EXPECT_EQ (e->delay, 17);
	EXPECT_EQ (e->version, 1234);
	EXPECT_NE (e->process_float, nullptr);
	EXPECT_EQ (e->process_double, nullptr);
	EXPECT_EQ (probe ().connections, 1);

	EXPECT_EQ (dispatch (e, Abi::kEffGetPlugCategory), VST_CATEGORY_01);
	EXPECT_EQ (dispatch (e, Abi::kEffGetVendorVersion), 1234);
	EXPECT_EQ (dispatch (e, Abi::kEffGetVstVersion), 2400);
	EXPECT_EQ (dispatch (e, Abi::kEffGetTailSize), 4800);
	EXPECT_EQ (dispatch (e, Abi::kEffGetNumMidiInputChannels), 16);
	EXPECT_EQ (parameterText (e, Abi::kEffGetEffectName, 0), "Test Fx With A Name Longer Than");
	EXPECT_EQ (parameterText (e, Abi::kEffGetVendorString, 0), "Test Vendor");
	EXPECT_EQ (parameterText (e, Abi::kEffGetProductString, 0), "Test Fx With A Name Longer Than 32");
}

TEST_F (Vst2WrapperTest, CanDoAnswersWhatTheWrapperSupports)
{
	vst_effect* e = makeEffect ();
	ASSERT_NE (e, nullptr);
	const auto canDo = [e] (const char* s) { return dispatch (e, Abi::kEffCanDo, 0, 0, const_cast<char*> (s)); };
	EXPECT_EQ (canDo ("receiveVstEvents"), 1);
	EXPECT_EQ (canDo ("receiveVstMidiEvent"), 1);
	EXPECT_EQ (canDo ("receiveVstTimeInfo"), 1);
	EXPECT_EQ (canDo ("bypass"), 1);
	EXPECT_EQ (canDo ("2in2out"), 1);
	EXPECT_EQ (canDo ("1in1out"), 0);
	EXPECT_EQ (canDo ("sendVstMidiEvent"), -1);
	EXPECT_EQ (canDo ("offline"), -1);
	EXPECT_EQ (canDo ("somethingNobodyKnows"), 0);
	EXPECT_EQ (dispatch (e, Abi::kEffCanDo, 0, 0, nullptr), 0);
}

TEST_F (Vst2WrapperTest, ParametersAreInIdOrderWithTextsCutToTheHostBuffer)
{
	vst_effect* e = makeEffect ();
	ASSERT_NE (e, nullptr);
	EXPECT_EQ (parameterText (e, Abi::kEffGetParamName, 0), "Gain");
	EXPECT_EQ (parameterText (e, Abi::kEffGetParamLabel, 0), "dB");
	EXPECT_EQ (parameterText (e, Abi::kEffGetParamName, 1), "Very Lo");
	EXPECT_EQ (parameterText (e, Abi::kEffGetParamLabel, 1), "millise");
	EXPECT_EQ (parameterText (e, Abi::kEffGetParamName, 2), "Fixed");
	EXPECT_FLOAT_EQ (e->get_parameter (e, 0), 1.f);
	EXPECT_FLOAT_EQ (e->get_parameter (e, 1), 0.5f);
	EXPECT_EQ (parameterText (e, Abi::kEffGetParamDisplay, 1), "0.5000");
	EXPECT_EQ (dispatch (e, Abi::kEffCanBeAutomated, 0), 1);
	EXPECT_EQ (dispatch (e, Abi::kEffCanBeAutomated, 2), 0);

	// The properties: the whole title and the short name, steps for a stepped parameter.
	Abi::ParameterProperties properties {};
	std::memset (&properties, 0x55, sizeof (properties));
	ASSERT_EQ (dispatch (e, Abi::kEffGetParameterProperties, 1, 0, &properties), 1);
	EXPECT_STREQ (properties.label, "Very Long Parameter Name");
	EXPECT_STREQ (properties.shortLabel, "Very Lo");
	EXPECT_EQ (properties.flags, 0);
	EXPECT_EQ (properties.category, 0);
	ASSERT_EQ (dispatch (e, Abi::kEffGetParameterProperties, 2, 0, &properties), 1);
	EXPECT_STREQ (properties.label, "Fixed");
	EXPECT_EQ (properties.flags, Abi::kParameterUsesIntegerMinMax | Abi::kParameterUsesIntStep);
	EXPECT_EQ (properties.minInteger, 0);
	EXPECT_EQ (properties.maxInteger, 3);
	EXPECT_EQ (properties.stepInteger, 1);
	EXPECT_EQ (dispatch (e, Abi::kEffGetParameterProperties, 3, 0, &properties), 0);
	EXPECT_EQ (dispatch (e, Abi::kEffGetParameterProperties, 0, 0, nullptr), 0);

	// Nothing is written past the eight bytes hosts reserve.
	char text[32];
	std::memset (text, 0x55, sizeof (text));
	dispatch (e, Abi::kEffGetParamName, 1, 0, text);
	EXPECT_EQ (text[7], 0);
	for (size_t i = 8; i < sizeof (text); ++i)
		EXPECT_EQ (text[i], 0x55) << "byte " << i;
}

TEST_F (Vst2WrapperTest, HostParameterChangeReachesControllerAndNextProcess)
{
	vst_effect* e = makeEffect ();
	ASSERT_NE (e, nullptr);
	resume (e, 48000.f, 64);
	e->set_parameter (e, 0, 0.5f);
	EXPECT_FLOAT_EQ (e->get_parameter (e, 0), 0.5f);
	EXPECT_EQ (parameterText (e, Abi::kEffGetParamDisplay, 0), "0.5000");

	auto left = ones (64, 0.8f), right = ones (64, -0.6f);
	std::vector<float> outL, outR;
	processStereo (e, left, right, outL, outR);
	for (size_t i = 0; i < 64; ++i)
	{
		EXPECT_EQ (outL[i], 0.8f * 0.5f);
		EXPECT_EQ (outR[i], -0.6f * 0.5f);
	}
	ASSERT_EQ (probe ().changedIds.size (), 1u);
	EXPECT_EQ (probe ().changedIds[0], static_cast<ParamID> (kGainId));
	EXPECT_EQ (probe ().changeOffsets[0], 0);
	EXPECT_DOUBLE_EQ (probe ().changeValues[0], 0.5);

	// Delivered once only.
	processStereo (e, left, right, outL, outR);
	EXPECT_EQ (probe ().changedIds.size (), 1u);
	EXPECT_EQ (outL[0], 0.8f * 0.5f);
}

TEST_F (Vst2WrapperTest, RestartFromThePlugInUpdatesLatencyAndTitles)
{
	vst_effect* e = makeEffect ();
	ASSERT_NE (e, nullptr);
	EXPECT_EQ (parameterText (e, Abi::kEffGetParamName, 2), "Fixed");
	probe ().latency = 99;
	host.calls.clear ();
	e->set_parameter (e, 2, 1.f);
	EXPECT_EQ (e->delay, 99);
	EXPECT_EQ (host.count (Abi::kHostIOChanged), 1);
	EXPECT_EQ (host.count (Abi::kHostUpdateDisplay), 1);
	EXPECT_EQ (parameterText (e, Abi::kEffGetParamName, 2), "Renamed");
}

TEST_F (Vst2WrapperTest, StringToParameterParsesThroughTheController)
{
	vst_effect* e = makeEffect ();
	ASSERT_NE (e, nullptr);
	EXPECT_EQ (dispatch (e, Abi::kEffString2Parameter, 0, 0, const_cast<char*> ("0.25")), 1);
	EXPECT_FLOAT_EQ (e->get_parameter (e, 0), 0.25f);
	EXPECT_EQ (dispatch (e, Abi::kEffString2Parameter, 0, 0, nullptr), 0);
	EXPECT_EQ (dispatch (e, Abi::kEffString2Parameter, 5, 0, const_cast<char*> ("0.5")), 0);
	EXPECT_FLOAT_EQ (e->get_parameter (e, 0), 0.25f);
}

TEST_F (Vst2WrapperTest, ProgramsComeFromTheRootUnitList)
{
	vst_effect* e = makeEffect ();
	ASSERT_NE (e, nullptr);
	EXPECT_EQ (programName (e, 0), "Alpha");
	EXPECT_EQ (programName (e, 1), "Beta");
	EXPECT_EQ (programName (e, 2), "Gamma Program Long Name"); // 23 characters fit exactly
	EXPECT_EQ (dispatch (e, Abi::kEffGetProgram), 0);

	resume (e, 44100.f, 32);
	EXPECT_EQ (dispatch (e, Abi::kEffSetProgram, 0, 1), 1);
	EXPECT_EQ (dispatch (e, Abi::kEffGetProgram), 1);
	EXPECT_EQ (parameterText (e, Abi::kEffGetProgramName, 0), "Beta");
	EXPECT_FLOAT_EQ (e->get_parameter (e, 0), 0.5f); // the program moved the gain
	EXPECT_GE (host.count (Abi::kHostUpdateDisplay), 1);

	dispatch (e, Abi::kEffSetProgram, 0, 2);
	auto left = ones (32), right = ones (32);
	std::vector<float> outL, outR;
	processStereo (e, left, right, outL, outR);
	EXPECT_EQ (outL[31], 0.75f); // the processor received the program change
	EXPECT_EQ (dispatch (e, Abi::kEffSetProgramName, 0, 0, const_cast<char*> ("x")), 0);
}

TEST_F (Vst2WrapperTest, ProgramChangeReachesTheProcessorBeforeLaterParameterChanges)
{
	vst_effect* e = makeEffect ();
	ASSERT_NE (e, nullptr);
	resume (e, 44100.f, 4);
	dispatch (e, Abi::kEffSetProgram, 0, 2);
	e->set_parameter (e, 0, 0.125f);
	auto left = ones (4), right = ones (4);
	std::vector<float> outL, outR;
	processStereo (e, left, right, outL, outR);
	ASSERT_EQ (probe ().changedIds.size (), 2u);
	EXPECT_EQ (probe ().changedIds[0], static_cast<ParamID> (kProgramId));
	EXPECT_EQ (probe ().changedIds[1], static_cast<ParamID> (kGainId));
	EXPECT_EQ (outL[0], 0.125f);
}

TEST_F (Vst2WrapperTest, ChunkHoldsComponentAndControllerStateWithLengths)
{
	vst_effect* a = makeEffect ();
	ASSERT_NE (a, nullptr);
	a->set_parameter (a, 0, 0.375f);
	resume (a, 44100.f, 16);
	auto left = ones (16), right = ones (16);
	std::vector<float> outL, outR;
	processStereo (a, left, right, outL, outR); // the component takes the value

	const std::vector<char> chunk = chunkOf (a);
	ASSERT_EQ (chunk.size (), 8u + 12u + 8u + 4u);
	int64_t componentLength = 0, controllerLength = 0;
	std::memcpy (&componentLength, chunk.data (), 8);
	std::memcpy (&controllerLength, chunk.data () + 20, 8);
	EXPECT_EQ (componentLength, 12);
	EXPECT_EQ (controllerLength, 4);
	double gain = 0;
	std::memcpy (&gain, chunk.data () + 8, 8);
	EXPECT_EQ (gain, 0.375);
	EXPECT_EQ (dispatch (a, Abi::kEffGetChunk, 0, 0, nullptr), 0);

	vst_effect* b = makeEffect ();
	ASSERT_NE (b, nullptr);
	const int readsBefore = probe ().controllerStateReads;
	EXPECT_EQ (dispatch (b, Abi::kEffSetChunk, 0, static_cast<intptr_t> (chunk.size ()),
	                     const_cast<char*> (chunk.data ())),
	           1);
	EXPECT_EQ (probe ().controllerStateReads, readsBefore + 1);
	EXPECT_FLOAT_EQ (b->get_parameter (b, 0), 0.375f);
	EXPECT_EQ (chunkOf (b), chunk);
	resume (b, 44100.f, 16);
	std::vector<float> outL2, outR2;
	processStereo (b, left, right, outL2, outR2);
	EXPECT_EQ (outL2, outL);
}

TEST_F (Vst2WrapperTest, ChunkOfTheWrongSizeIsRefusedWithoutRestoringAnything)
{
	vst_effect* a = makeEffect ();
	ASSERT_NE (a, nullptr);
	a->set_parameter (a, 0, 0.25f);
	std::vector<char> chunk = chunkOf (a);
	ASSERT_FALSE (chunk.empty ());

	vst_effect* b = makeEffect ();
	ASSERT_NE (b, nullptr);
	const auto setChunk = [b] (std::vector<char>& bytes, intptr_t size) {
		return dispatch (b, Abi::kEffSetChunk, 0, size, bytes.data ());
	};
	std::vector<char> longer = chunk;
	longer.push_back (0);
	EXPECT_EQ (setChunk (chunk, static_cast<intptr_t> (chunk.size ()) - 1), 0);
	EXPECT_EQ (setChunk (longer, static_cast<intptr_t> (longer.size ())), 0);
	EXPECT_EQ (setChunk (chunk, 0), 0);
	EXPECT_EQ (setChunk (chunk, -5), 0);
	EXPECT_EQ (dispatch (b, Abi::kEffSetChunk, 0, 32, nullptr), 0);
	std::vector<char> huge = chunk;
	const int64_t bigLength = INT64_MAX;
	std::memcpy (huge.data (), &bigLength, 8);
	EXPECT_EQ (setChunk (huge, static_cast<intptr_t> (huge.size ())), 0);
	const int64_t negative = -1;
	std::memcpy (huge.data (), &negative, 8);
	EXPECT_EQ (setChunk (huge, static_cast<intptr_t> (huge.size ())), 0);
	std::vector<char> tiny (7, 0);
	EXPECT_EQ (setChunk (tiny, 7), 0);
	EXPECT_FLOAT_EQ (b->get_parameter (b, 0), 1.f);
	EXPECT_EQ (probe ().controllerStateReads, 0);
}

TEST_F (Vst2WrapperTest, BypassOpcodeDrivesTheBypassParameter)
{
	vst_effect* e = makeEffect ();
	ASSERT_NE (e, nullptr);
	e->set_parameter (e, 0, 0.5f);
	resume (e, 44100.f, 8);
	EXPECT_EQ (dispatch (e, Abi::kEffSetBypass, 0, 1), 1);
	auto left = ones (8, 0.3f), right = ones (8, 0.7f);
	std::vector<float> outL, outR;
	processStereo (e, left, right, outL, outR);
	EXPECT_EQ (outL, left);
	EXPECT_EQ (outR, right);
	EXPECT_EQ (dispatch (e, Abi::kEffSetBypass, 0, 0), 1);
	processStereo (e, left, right, outL, outR);
	EXPECT_EQ (outL[0], 0.3f * 0.5f);
}

TEST_F (Vst2WrapperTest, ResumeAndSuspendManageTheProcessingState)
{
	vst_effect* e = makeEffect ();
	ASSERT_NE (e, nullptr);
	resume (e, 48000.f, 256);
	EXPECT_EQ (probe ().setActiveTrue, 1);
	EXPECT_EQ (probe ().processingOn, 1);
	EXPECT_EQ (probe ().lastSetup.sampleRate, 48000.0);
	EXPECT_EQ (probe ().lastSetup.maxSamplesPerBlock, 256);
	EXPECT_EQ (probe ().lastSetup.symbolicSampleSize, kSample32);
	EXPECT_EQ (probe ().lastSetup.processMode, kRealtime);

	// A new rate while running restarts processing with it.
	dispatch (e, Abi::kEffSetSampleRate, 0, 0, nullptr, 96000.f);
	EXPECT_EQ (probe ().lastSetup.sampleRate, 96000.0);
	EXPECT_EQ (probe ().setActiveFalse, 1);
	EXPECT_EQ (probe ().setActiveTrue, 2);

	dispatch (e, Abi::kEffMainsChanged, 0, 0);
	EXPECT_EQ (probe ().processingOff, 2);
	EXPECT_EQ (probe ().setActiveFalse, 2);
	EXPECT_EQ (dispatch (e, Abi::kEffSetSampleRate, 0, 0, nullptr, 0.f), 0);
	EXPECT_EQ (dispatch (e, Abi::kEffSetSampleRate, 0, 0, nullptr, NAN), 0);
	EXPECT_EQ (dispatch (e, Abi::kEffSetBlockSize, 0, 0), 0);
	EXPECT_EQ (dispatch (e, Abi::kEffSetBlockSize, 0, -4), 0);
	EXPECT_EQ (dispatch (e, Abi::kEffSetProcessPrecision, 0, 1), 0);
	EXPECT_EQ (dispatch (e, Abi::kEffSetProcessPrecision, 0, 0), 1);
}

TEST_F (Vst2WrapperTest, ProcessWithoutResumeGivesSilence)
{
	vst_effect* e = makeEffect ();
	ASSERT_NE (e, nullptr);
	auto left = ones (8), right = ones (8);
	std::vector<float> outL (8, 9.f), outR (8, 9.f);
	const float* inputs[2] = {left.data (), right.data ()};
	float* outputs[2] = {outL.data (), outR.data ()};
	e->process_float (e, inputs, outputs, 8);
	EXPECT_EQ (outL, std::vector<float> (8, 0.f));
	EXPECT_EQ (probe ().processCalls, 0);
	e->process_float (e, nullptr, nullptr, 8); // refused quietly

	// A missing channel buffer after resuming: silence where possible, no call.
	resume (e, 44100.f, 8);
	const float* oneInput[2] = {left.data (), nullptr};
	std::fill (outL.begin (), outL.end (), 9.f);
	e->process_float (e, oneInput, outputs, 8);
	EXPECT_EQ (outL, std::vector<float> (8, 0.f));
	float* oneOutput[2] = {nullptr, outR.data ()};
	std::fill (outR.begin (), outR.end (), 9.f);
	e->process_float (e, inputs, oneOutput, 8);
	EXPECT_EQ (outR, std::vector<float> (8, 0.f));
	EXPECT_EQ (probe ().processCalls, 0);
	e->process_float (e, inputs, outputs, 8);
	EXPECT_EQ (probe ().processCalls, 1);
}

TEST_F (Vst2WrapperTest, LongerBlocksThanAnnouncedAreProcessedInPieces)
{
	vst_effect* e = makeEffect ();
	ASSERT_NE (e, nullptr);
	e->set_parameter (e, 0, 0.5f);
	resume (e, 44100.f, 64);
	std::vector<float> left (200), right (200);
	for (size_t i = 0; i < 200; ++i)
	{
		left[i] = static_cast<float> (i);
		right[i] = -static_cast<float> (i);
	}
	std::vector<float> outL, outR;
	processStereo (e, left, right, outL, outR);
	EXPECT_EQ (probe ().processCalls, 4);
	EXPECT_EQ (probe ().maxBlockSeen, 64);
	for (size_t i = 0; i < 200; ++i)
		ASSERT_EQ (outL[i], static_cast<float> (i) * 0.5f) << i;
	EXPECT_EQ (probe ().changedIds.size (), 1u);
}

TEST_F (Vst2WrapperTest, AccumulatingProcessAddsToTheOutput)
{
	vst_effect* e = makeEffect ();
	ASSERT_NE (e, nullptr);
	e->set_parameter (e, 0, 0.5f);
	resume (e, 44100.f, 16);
	auto left = ones (40), right = ones (40, 2.f);
	std::vector<float> outL (40, 1.f), outR (40, 1.f);
	const float* inputs[2] = {left.data (), right.data ()};
	float* outputs[2] = {outL.data (), outR.data ()};
	e->process (e, inputs, outputs, 40);
	EXPECT_EQ (outL, std::vector<float> (40, 1.5f));
	EXPECT_EQ (outR, std::vector<float> (40, 2.f));
}

TEST_F (Vst2WrapperTest, MidiEventsBecomeNoteEventsAndMappedParameterChanges)
{
	vst_effect* e = makeEffect ();
	ASSERT_NE (e, nullptr);
	resume (e, 44100.f, 32);

	Abi::MidiEvent midi[6] {};
	const unsigned char bytes[6][3] = {
	    {0x91, 60, 100}, {0x91, 60, 0}, {0x82, 61, 64}, {0xB0, 7, 64}, {0xE0, 0x00, 0x40}, {0x90, 62, 127}};
	const int32_t deltas[6] = {5, 9, 9, 10, 12, 5000};
	Abi::Events* events = static_cast<Abi::Events*> (std::malloc (sizeof (Abi::Events) + 6 * sizeof (void*)));
	events->numEvents = 6;
	events->reserved = 0;
	for (int i = 0; i < 6; ++i)
	{
		midi[i].type = Abi::kMidiEventType;
		midi[i].byteSize = sizeof (Abi::MidiEvent);
		midi[i].deltaFrames = deltas[i];
		std::memcpy (midi[i].midiData, bytes[i], 3);
		events->events[i] = reinterpret_cast<Abi::Event*> (&midi[i]);
	}
	EXPECT_EQ (dispatch (e, Abi::kEffProcessEvents, 0, 0, events), 1);
	auto left = ones (32), right = ones (32);
	std::vector<float> outL, outR;
	processStereo (e, left, right, outL, outR);
	std::free (events);

	const auto& seen = probe ().events;
	ASSERT_EQ (seen.size (), 4u);
	EXPECT_EQ (seen[0].type, Event::kNoteOnEvent);
	EXPECT_EQ (seen[0].sampleOffset, 5);
	EXPECT_EQ (seen[0].noteOn.channel, 1);
	EXPECT_EQ (seen[0].noteOn.pitch, 60);
	EXPECT_FLOAT_EQ (seen[0].noteOn.velocity, 100.f / 127.f);
	EXPECT_EQ (seen[1].type, Event::kNoteOffEvent); // note-on with velocity 0
	EXPECT_EQ (seen[1].noteOff.pitch, 60);
	EXPECT_EQ (seen[2].type, Event::kNoteOffEvent);
	EXPECT_EQ (seen[2].noteOff.channel, 2);
	EXPECT_FLOAT_EQ (seen[2].noteOff.velocity, 64.f / 127.f);
	EXPECT_EQ (seen[3].sampleOffset, 31); // an offset past the block is kept inside it

	ASSERT_EQ (probe ().changedIds.size (), 2u);
	EXPECT_EQ (probe ().changedIds[0], static_cast<ParamID> (kGainId));
	EXPECT_EQ (probe ().changeOffsets[0], 10);
	EXPECT_DOUBLE_EQ (probe ().changeValues[0], 64.0 / 127.0);
	EXPECT_EQ (probe ().changedIds[1], static_cast<ParamID> (kLongNameId));
	EXPECT_EQ (probe ().changeOffsets[1], 12);
	EXPECT_DOUBLE_EQ (probe ().changeValues[1], 8192.0 / 16383.0);

	EXPECT_EQ (dispatch (e, Abi::kEffProcessEvents, 0, 0, nullptr), 0);
}

TEST_F (Vst2WrapperTest, HostTimeBecomesTheProcessContext)
{
	vst_effect* e = makeEffect ();
	ASSERT_NE (e, nullptr);
	resume (e, 48000.f, 16);
	host.timeValid = true;
	host.timeInfo.samplePos = 96000.0;
	host.timeInfo.sampleRate = 48000.0;
	host.timeInfo.ppqPos = 4.0;
	host.timeInfo.tempo = 120.0;
	host.timeInfo.barStartPos = 4.0;
	host.timeInfo.timeSigNumerator = 3;
	host.timeInfo.timeSigDenominator = 4;
	host.timeInfo.flags = Abi::kTransportPlaying | Abi::kPpqPosValid | Abi::kTempoValid | Abi::kBarsValid |
	                      Abi::kTimeSigValid;
	auto left = ones (16), right = ones (16);
	std::vector<float> outL, outR;
	processStereo (e, left, right, outL, outR);

	ASSERT_TRUE (probe ().hadContext);
	const ProcessContext& c = probe ().lastContext;
	EXPECT_EQ (c.projectTimeSamples, 96000);
	EXPECT_EQ (c.sampleRate, 48000.0);
	EXPECT_EQ (c.tempo, 120.0);
	EXPECT_EQ (c.projectTimeMusic, 4.0);
	EXPECT_EQ (c.barPositionMusic, 4.0);
	EXPECT_EQ (c.timeSigNumerator, 3);
	EXPECT_EQ (c.timeSigDenominator, 4);
	const uint32 expected = ProcessContext::kPlaying | ProcessContext::kProjectTimeMusicValid |
	                        ProcessContext::kTempoValid | ProcessContext::kBarPositionValid |
	                        ProcessContext::kTimeSigValid;
	EXPECT_EQ (c.state, expected);
	const auto requests = host.callsOf (Abi::kHostGetTime);
	ASSERT_FALSE (requests.empty ());
	EXPECT_NE (requests.back ().value & Abi::kTempoValid, 0);

	// Without an answer from the host: no valid fields, the rate still known.
	host.timeValid = false;
	processStereo (e, left, right, outL, outR);
	EXPECT_EQ (probe ().lastContext.state, 0u);
	EXPECT_EQ (probe ().lastContext.sampleRate, 48000.0);
}

TEST_F (Vst2WrapperTest, SpeakerArrangementSetsTheMainBuses)
{
	vst_effect* e = makeEffect ();
	ASSERT_NE (e, nullptr);
	Abi::SpeakerArrangementHead mono {0, 1}, stereo {1, 2}, three {-2, 3};
	EXPECT_EQ (dispatch (e, Abi::kEffSetSpeakerArrangement, 0, reinterpret_cast<intptr_t> (&mono), &stereo), 0);
	EXPECT_EQ (dispatch (e, Abi::kEffSetSpeakerArrangement, 0, reinterpret_cast<intptr_t> (&three), &three), 0);
	EXPECT_EQ (dispatch (e, Abi::kEffSetSpeakerArrangement, 0, 0, &mono), 0);
	EXPECT_EQ (e->num_inputs, 2);
	EXPECT_EQ (dispatch (e, Abi::kEffSetSpeakerArrangement, 0, reinterpret_cast<intptr_t> (&mono), &mono), 1);
	EXPECT_EQ (e->num_inputs, 1);
	EXPECT_EQ (e->num_outputs, 1);

	e->set_parameter (e, 0, 0.5f);
	resume (e, 44100.f, 8);
	std::vector<float> in (8, 1.f), out (8, 0.f);
	const float* inputs[1] = {in.data ()};
	float* outputs[1] = {out.data ()};
	e->process_float (e, inputs, outputs, 8);
	EXPECT_EQ (out, std::vector<float> (8, 0.5f));
}

TEST_F (Vst2WrapperTest, PinPropertiesNameTheStereoPair)
{
	vst_effect* e = makeEffect ();
	ASSERT_NE (e, nullptr);
	Abi::PinProperties pin {};
	ASSERT_EQ (dispatch (e, Abi::kEffGetInputProperties, 1, 0, &pin), 1);
	EXPECT_STREQ (pin.label, "Input R");
	EXPECT_EQ (pin.flags, Abi::kPinIsActive);
	ASSERT_EQ (dispatch (e, Abi::kEffGetOutputProperties, 0, 0, &pin), 1);
	EXPECT_STREQ (pin.label, "Output L");
	EXPECT_EQ (pin.flags, Abi::kPinIsActive | Abi::kPinIsStereo);
	EXPECT_EQ (dispatch (e, Abi::kEffGetOutputProperties, 2, 0, &pin), 0);
	EXPECT_EQ (dispatch (e, Abi::kEffGetOutputProperties, 0, 0, nullptr), 0);
}

TEST_F (Vst2WrapperTest, HostileInputIsRefusedWithoutWritingPastBuffers)
{
	vst_effect* e = makeEffect ();
	ASSERT_NE (e, nullptr);
	const int32_t badIndices[] = {-1, 3, 1000, INT32_MIN, INT32_MAX};
	const int32_t textOpcodes[] = {Abi::kEffGetParamName, Abi::kEffGetParamLabel, Abi::kEffGetParamDisplay};
	for (int32_t opcode : textOpcodes)
	{
		for (int32_t index : badIndices)
		{
			char text[16];
			std::memset (text, 0x55, sizeof (text));
			EXPECT_EQ (dispatch (e, opcode, index, 0, text), 0);
			EXPECT_EQ (text[0], 0);
			EXPECT_EQ (text[1], 0x55);
		}
		EXPECT_EQ (dispatch (e, opcode, 0, 0, nullptr), 0);
	}
	for (int32_t index : badIndices)
	{
		EXPECT_EQ (dispatch (e, Abi::kEffCanBeAutomated, index), 0);
		EXPECT_EQ (e->get_parameter (e, static_cast<uint32_t> (index)), 0.f);
		e->set_parameter (e, static_cast<uint32_t> (index), 0.7f);
		EXPECT_EQ (programName (e, index), "");
	}
	e->set_parameter (e, 0, NAN);
	EXPECT_FLOAT_EQ (e->get_parameter (e, 0), 1.f);
	e->set_parameter (e, 0, 7.f); // out of range values are clamped
	EXPECT_FLOAT_EQ (e->get_parameter (e, 0), 1.f);

	EXPECT_EQ (dispatch (e, Abi::kEffSetProgram, 0, -1), 0);
	EXPECT_EQ (dispatch (e, Abi::kEffSetProgram, 0, 3), 0);
	EXPECT_EQ (dispatch (e, Abi::kEffGetProgram), 0);
	EXPECT_EQ (dispatch (e, Abi::kEffGetProgramName, 0, 0, nullptr), 0);
	EXPECT_EQ (dispatch (e, Abi::kEffGetProgramNameIndexed, 0, 0, nullptr), 0);
	EXPECT_EQ (dispatch (e, Abi::kEffGetEffectName, 0, 0, nullptr), 0);
	EXPECT_EQ (dispatch (e, Abi::kEffGetVendorString, 0, 0, nullptr), 0);
	EXPECT_EQ (dispatch (e, Abi::kEffGetProductString, 0, 0, nullptr), 0);
	EXPECT_EQ (dispatch (e, Abi::kEffEditGetRect, 0, 0, nullptr), 0);
	EXPECT_EQ (dispatch (e, Abi::kEffEditOpen, 0, 0, nullptr), 0);
	EXPECT_EQ (dispatch (e, Abi::kEffEditClose), 0);
	EXPECT_EQ (dispatch (e, Abi::kEffEditIdle), 0);
	EXPECT_EQ (dispatch (e, 0x7777), 0);
	EXPECT_EQ (dispatch (e, -3), 0);

	// Program names stay within the 24 bytes hosts reserve.
	char name[64];
	std::memset (name, 0x55, sizeof (name));
	dispatch (e, Abi::kEffGetProgramNameIndexed, 2, -1, name);
	EXPECT_EQ (std::strlen (name), 23u);
	for (size_t i = 24; i < sizeof (name); ++i)
		EXPECT_EQ (name[i], 0x55);

	// Events with null entries or foreign types are skipped.
	Abi::Events events {};
	events.numEvents = 2;
	events.events[0] = nullptr;
	Abi::Event sysex {};
	sysex.type = 6;
	events.events[1] = &sysex;
	EXPECT_EQ (dispatch (e, Abi::kEffProcessEvents, 0, 0, &events), 1);
	events.numEvents = -7;
	EXPECT_EQ (dispatch (e, Abi::kEffProcessEvents, 0, 0, &events), 1);
}

TEST_F (Vst2WrapperTest, EditorRunsInTheHostWindowAndItsEditsReachTheHost)
{
	probe ().editorAvailable = true;
	vst_effect* e = makeEffect ();
	ASSERT_NE (e, nullptr);
	EXPECT_NE (e->flags & Abi::kFlagHasEditor, 0);

	vst_rect* rect = nullptr;
	ASSERT_EQ (dispatch (e, Abi::kEffEditGetRect, 0, 0, &rect), 1);
	ASSERT_NE (rect, nullptr);
	EXPECT_EQ (rect->right - rect->left, 485);
	EXPECT_EQ (rect->bottom - rect->top, 270);

	int window = 0; // the test view never touches the window
	ASSERT_EQ (dispatch (e, Abi::kEffEditOpen, 0, 0, &window), 1);
	EXPECT_EQ (dispatch (e, Abi::kEffEditOpen, 0, 0, &window), 0); // already open
	Vst2Wrapper* wrapper = Vst2Wrapper::fromEffect (e);
	ASSERT_NE (wrapper, nullptr);
	EXPECT_EQ (wrapper->getEditor ().getFrame ()->timerCount (), 1);

	resume (e, 44100.f, 8);
	probe ().editorPerformsEdit = true;
	for (int i = 0; i < 200 && host.count (Abi::kHostAutomate) == 0; ++i)
	{
		std::this_thread::sleep_for (std::chrono::milliseconds (2));
		dispatch (e, Abi::kEffEditIdle);
	}
	const auto automate = host.callsOf (Abi::kHostAutomate);
	ASSERT_EQ (automate.size (), 1u);
	EXPECT_EQ (automate[0].index, 0);
	EXPECT_EQ (automate[0].opt, 0.125f);
	ASSERT_EQ (host.callsOf (Abi::kHostBeginEdit).size (), 1u);
	EXPECT_EQ (host.callsOf (Abi::kHostBeginEdit)[0].index, 0);
	EXPECT_EQ (host.callsOf (Abi::kHostEndEdit).size (), 1u);

	// The edit also reaches the processor.
	auto left = ones (8), right = ones (8);
	std::vector<float> outL, outR;
	processStereo (e, left, right, outL, outR);
	EXPECT_EQ (outL[0], 0.125f);

	EXPECT_EQ (dispatch (e, Abi::kEffEditClose), 1);
	EXPECT_EQ (wrapper->getEditor ().getFrame ()->timerCount (), 0);
	dispatch (e, Abi::kEffEditIdle);
	// A second opening after closing works.
	ASSERT_EQ (dispatch (e, Abi::kEffEditOpen, 0, 0, &window), 1);
	EXPECT_EQ (wrapper->getEditor ().getFrame ()->timerCount (), 1);
}

TEST_F (Vst2WrapperTest, WithoutEditorTheRectRequestIsRefusedWithAValidRecord)
{
	vst_effect* e = makeEffect ();
	ASSERT_NE (e, nullptr);
	vst_rect* rect = nullptr;
	EXPECT_EQ (dispatch (e, Abi::kEffEditGetRect, 0, 0, &rect), 0);
	ASSERT_NE (rect, nullptr);
	EXPECT_EQ (rect->right, 0);
	int window = 0;
	EXPECT_EQ (dispatch (e, Abi::kEffEditOpen, 0, 0, &window), 0);
}

} // namespace
