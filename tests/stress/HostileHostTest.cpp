// What careless hosts do, one step per test: the plug-in must not crash, its output must stay
// finite, and afterwards it must be in a defined state: with a known state restored and the
// processing set up again, it renders bit for bit what a fresh instance renders.
#include "ProcessorDriver.h"

#include "pluginterfaces/vst/ivstunits.h"

#include <gtest/gtest.h>

#if defined(__SSE__)
#include <xmmintrin.h>
#endif

#include <atomic>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <thread>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Tarnwick::Stress;

namespace {

constexpr int32 kBlock = 512;
constexpr ParamID kProgramId = 0x70727374;
const double kNaN = std::numeric_limits<double>::quiet_NaN ();
const double kInf = std::numeric_limits<double>::infinity ();

void append (std::vector<uint8_t>& bytes, const void* value, size_t size)
{
	const auto* p = static_cast<const uint8_t*> (value);
	bytes.insert (bytes.end (), p, p + size);
}

// A saved state in the product's layout (little-endian, version 1): delay mode, an audible
// echo with feedback, a resonant filter, joystick off centre.
std::vector<uint8_t> knownState ()
{
	std::vector<uint8_t> bytes;
	const int64 version = 1;
	append (bytes, &version, 8);
	const float values[8] = {300.f, 60.f, 3000.f, 4.f, 1.5f, 0.3f, 60.f, 0.8f};
	for (float v : values)
		append (bytes, &v, 4);
	const uint32 delayState = 1, active = 0;
	append (bytes, &delayState, 4);
	append (bytes, &active, 4);
	const int16 bypass = 0;
	append (bytes, &bypass, 2);
	const float joystick[2] = {0.25f, -0.5f};
	append (bytes, joystick, 8);
	return bytes;
}

// `blocks` blocks of a fixed noise (seed 99) through the driver; the outputs appended.
void renderNoise (ProcessorDriver& driver, int blocks, int32 frames, std::vector<float> out[2])
{
	NoiseSource noise (99);
	for (int b = 0; b < blocks; ++b)
	{
		noise.fill (driver.input (0), frames);
		noise.fill (driver.input (1), frames);
		ASSERT_EQ (driver.process (frames), kResultOk);
		for (int c = 0; c < 2; ++c)
			out[c].insert (out[c].end (), driver.output (c), driver.output (c) + frames);
	}
}

// Restores the known state, prepares at `rate` and renders; what every recovered instance
// must render.
void renderKnown (ProcessorDriver& driver, double rate, std::vector<float> out[2], int blocks = 24)
{
	ASSERT_EQ (driver.setState (knownState ()), kResultOk);
	ASSERT_EQ (driver.setComponentState (knownState ()), kResultOk);
	ASSERT_EQ (driver.arrange (2), kResultOk);
	driver.channels = 2;
	ASSERT_EQ (driver.setup (rate, kBlock), kResultOk);
	ASSERT_EQ (driver.get ().setActive (true), kResultOk);
	driver.inputSilence = 0;
	renderNoise (driver, blocks, kBlock, out);
}

bool allFinite (const std::vector<float>& v)
{
	for (float x : v)
		if (!std::isfinite (x))
			return false;
	return true;
}

bool bitIdentical (const std::vector<float>& a, const std::vector<float>& b)
{
	return a.size () == b.size () && std::memcmp (a.data (), b.data (), a.size () * sizeof (float)) == 0;
}

// The defined-state check after a hostile step.
void expectRecovers (ProcessorDriver& driver, double rate = 48000.)
{
	std::vector<float> expected[2];
	{
		ProcessorDriver fresh;
		ASSERT_TRUE (fresh.start (rate, 2, kBlock));
		renderKnown (fresh, rate, expected);
	}
	std::vector<float> actual[2];
	renderKnown (driver, rate, actual);
	ASSERT_TRUE (allFinite (expected[0]) && allFinite (expected[1]));
	EXPECT_TRUE (bitIdentical (actual[0], expected[0]));
	EXPECT_TRUE (bitIdentical (actual[1], expected[1]));
	// The known state is audible (an echo, not silence or a copy of the input).
	float energy = 0.f;
	for (float x : expected[0])
		energy += x * x;
	EXPECT_GT (energy, 1.f);
}

TEST (HostileHost, ProcessWithoutSetUp)
{
	ProcessorDriver driver;
	NoiseSource noise;
	noise.fill (driver.input (0), kBlock);
	noise.fill (driver.input (1), kBlock);
	// Before initialize there is no effect to run.
	EXPECT_NE (driver.process (kBlock), kResultOk);
	ASSERT_EQ (driver.initialize (), kResultOk);
	// Initialized, never set up nor activated: silence.
	for (int32 frames : {kBlock, 1, ProcessorDriver::kMaxBlock})
	{
		std::fill (driver.output (0), driver.output (0) + frames, 1.f);
		EXPECT_EQ (driver.process (frames), kResultOk);
		EXPECT_TRUE (driver.outputFinite (frames));
		for (int32 i = 0; i < frames; ++i)
			ASSERT_EQ (driver.output (0)[i], 0.f);
	}
	// Null buffers and a missing bus.
	ProcessData data {};
	data.numSamples = kBlock;
	data.symbolicSampleSize = kSample32;
	EXPECT_NO_FATAL_FAILURE (driver.get ().process (data));
	AudioBusBuffers empty[2] {};
	empty[0].numChannels = 2;
	empty[1].numChannels = 2;
	data.inputs = &empty[0];
	data.outputs = &empty[1];
	data.numInputs = 1;
	data.numOutputs = 1;
	EXPECT_EQ (driver.get ().process (data), kResultOk);
	expectRecovers (driver);
}

TEST (HostileHost, EverySampleRateInTurnOnOneInstance)
{
	ProcessorDriver driver;
	ASSERT_TRUE (driver.start (48000., 2, kBlock));
	for (double rate : {8000., 11025., 22050., 32000., 44100., 96000., 192000., 384000.})
	{
		SCOPED_TRACE (rate);
		std::vector<float> expected[2];
		{
			ProcessorDriver fresh;
			ASSERT_TRUE (fresh.start (rate, 2, kBlock));
			renderKnown (fresh, rate, expected, 8);
		}
		std::vector<float> actual[2];
		renderKnown (driver, rate, actual, 8);
		EXPECT_TRUE (allFinite (actual[0]) && allFinite (actual[1]));
		EXPECT_TRUE (bitIdentical (actual[0], expected[0]));
		EXPECT_TRUE (bitIdentical (actual[1], expected[1]));
	}
	// Rates outside the range are refused and leave the last set-up working.
	for (double rate : {0., -44100., 7999., 384001., kNaN, kInf})
		EXPECT_EQ (driver.setup (rate, kBlock), kResultFalse);
	std::vector<float> out[2];
	renderNoise (driver, 2, kBlock, out);
	EXPECT_TRUE (allFinite (out[0]) && allFinite (out[1]));
	expectRecovers (driver);
}

TEST (HostileHost, BlocksOfOneAndOf8192FramesRenderAlike)
{
	// Without automation the block size must not matter: one signal rendered in blocks of
	// 1, 512 and 8192 frames comes out bit for bit the same.
	const int32 length = 2 * ProcessorDriver::kMaxBlock;
	std::vector<float> signal[2];
	NoiseSource noise (99);
	for (int c = 0; c < 2; ++c)
	{
		signal[c].resize (static_cast<size_t> (length));
		noise.fill (signal[c].data (), length);
	}
	std::vector<float> rendered[3][2];
	const int32 sizes[3] = {1, kBlock, ProcessorDriver::kMaxBlock};
	for (int s = 0; s < 3; ++s)
	{
		ProcessorDriver driver;
		ASSERT_TRUE (driver.start (48000., 2, kBlock));
		ASSERT_EQ (driver.setState (knownState ()), kResultOk);
		for (int32 start = 0; start < length; start += sizes[s])
		{
			for (int c = 0; c < 2; ++c)
				std::memcpy (driver.input (c), signal[c].data () + start, sizeof (float) * sizes[s]);
			ASSERT_EQ (driver.process (sizes[s]), kResultOk);
			for (int c = 0; c < 2; ++c)
				rendered[s][c].insert (rendered[s][c].end (), driver.output (c), driver.output (c) + sizes[s]);
		}
		EXPECT_TRUE (allFinite (rendered[s][0]) && allFinite (rendered[s][1]));
		if (s != 1)
			expectRecovers (driver);
	}
	for (int c = 0; c < 2; ++c)
	{
		EXPECT_TRUE (bitIdentical (rendered[0][c], rendered[1][c]));
		EXPECT_TRUE (bitIdentical (rendered[2][c], rendered[1][c]));
	}
}

TEST (HostileHost, ParameterIdsThatDoNotExist)
{
	const ParamID unknown[] = {12, 13, 100, 1000, 2047, 2057, 32767, 32771, 32772, 32775, 0x70727373, 0xFFFFFFFF};
	ProcessorDriver driver;
	ASSERT_TRUE (driver.start (48000., 2, kBlock));
	ASSERT_EQ (driver.setState (knownState ()), kResultOk);
	ProcessorDriver plain;
	ASSERT_TRUE (plain.start (48000., 2, kBlock));
	ASSERT_EQ (plain.setState (knownState ()), kResultOk);

	const std::vector<uint8_t> stateBefore = [&] {
		std::vector<uint8_t> s;
		driver.getState (s);
		return s;
	}();
	for (ParamID id : unknown)
	{
		EXPECT_EQ (driver.get ().setParamNormalized (id, 0.7), kResultFalse);
		EXPECT_EQ (driver.get ().getParamNormalized (id), 0.);
	}
	// In the audio path they change nothing: the output equals an instance that got none.
	NoiseSource noise (5);
	for (int b = 0; b < 16; ++b)
	{
		noise.fill (driver.input (0), kBlock);
		noise.fill (driver.input (1), kBlock);
		std::memcpy (plain.input (0), driver.input (0), sizeof (float) * kBlock);
		std::memcpy (plain.input (1), driver.input (1), sizeof (float) * kBlock);
		for (ParamID id : unknown)
			driver.changes.addChange (id, b * 31 % kBlock, (b % 4) / 3.);
		ASSERT_EQ (driver.process (kBlock), kResultOk);
		ASSERT_EQ (plain.process (kBlock), kResultOk);
		ASSERT_EQ (std::memcmp (driver.output (0), plain.output (0), sizeof (float) * kBlock), 0);
		ASSERT_EQ (std::memcmp (driver.output (1), plain.output (1), sizeof (float) * kBlock), 0);
	}
	std::vector<uint8_t> stateAfter;
	ASSERT_TRUE (driver.getState (stateAfter));
	EXPECT_EQ (stateAfter, stateBefore);
	expectRecovers (driver);
}

TEST (HostileHost, NormalizedValuesOutsideZeroToOne)
{
	const double hostile[] = {-1., 2., kNaN, kInf, -kInf};
	ProcessorDriver driver;
	ASSERT_TRUE (driver.start (48000., 2, kBlock));
	std::vector<ParamID> ids;
	for (int32 i = 0; i < driver.get ().getParameterCount (); ++i)
	{
		ParameterInfo info {};
		ASSERT_EQ (driver.get ().getParameterInfo (i, info), kResultOk);
		ids.push_back (info.id);
	}
	NoiseSource noise (6);
	for (double value : hostile)
	{
		SCOPED_TRACE (value);
		for (ParamID id : ids)
		{
			driver.get ().setParamNormalized (id, value);
			const double stored = driver.get ().getParamNormalized (id);
			EXPECT_TRUE (stored >= 0. && stored <= 1.) << "id " << id;
			driver.changes.addChange (id, 0, value);
			driver.changes.addChange (id, 100, value);
		}
		noise.fill (driver.input (0), kBlock);
		noise.fill (driver.input (1), kBlock);
		ASSERT_EQ (driver.process (kBlock), kResultOk);
		EXPECT_TRUE (driver.outputFinite (kBlock));
		// Every control stays inside its range.
		CPlugIn* effect = driver.effect ();
		for (int position = 0; position < effect->controlCount (); ++position)
		{
			const ControlDescriptor* d = effect->controlAt (position);
			const float v = effect->getPlainValue (position);
			EXPECT_TRUE (v >= d->minValue && v <= d->maxValue) << d->controlName;
		}
		// Let the smoothers glide wherever they were sent.
		for (int b = 0; b < 20; ++b)
		{
			noise.fill (driver.input (0), kBlock);
			noise.fill (driver.input (1), kBlock);
			ASSERT_EQ (driver.process (kBlock), kResultOk);
			ASSERT_TRUE (driver.outputFinite (kBlock));
		}
	}
	expectRecovers (driver);
}

TEST (HostileHost, ForeignTruncatedAndAllOnesStates)
{
	ProcessorDriver driver;
	ASSERT_TRUE (driver.start (48000., 2, kBlock));
	ASSERT_EQ (driver.setState (knownState ()), kResultOk);
	ASSERT_EQ (driver.setComponentState (knownState ()), kResultOk);
	std::vector<uint8_t> before;
	ASSERT_TRUE (driver.getState (before));
	const std::vector<double> parametersBefore = driver.parameterValues ();

	std::vector<std::vector<uint8_t>> streams;
	// Another plug-in's state: a chunk with a text header and its own fields.
	const char foreign[] = "VST3\x01\x00\x00\x00" "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345" "Comp\x00\x00\x80\x3f";
	streams.emplace_back (foreign, foreign + sizeof (foreign));
	// Every truncation of a valid state.
	const std::vector<uint8_t> valid = knownState ();
	for (size_t length = 0; length < valid.size (); ++length)
		streams.emplace_back (valid.begin (), valid.begin () + static_cast<long> (length));
	streams.emplace_back (valid.size (), 0xFF);
	streams.emplace_back (4096, 0xFF);

	for (const auto& stream : streams)
	{
		SCOPED_TRACE (stream.size ());
		EXPECT_EQ (driver.setState (stream), kResultFalse);
		EXPECT_EQ (driver.setComponentState (stream), kResultFalse);
		std::vector<uint8_t> after;
		ASSERT_TRUE (driver.getState (after));
		EXPECT_EQ (after, before);
		EXPECT_EQ (driver.parameterValues (), parametersBefore);
		ASSERT_EQ (driver.process (kBlock), kResultOk);
		ASSERT_TRUE (driver.outputFinite (kBlock));
	}

	// A version-1 stream of a plug-in with more controls than ours cannot be told from ours
	// with trailing bytes: it may be read, but only into the controls' ranges.
	std::vector<uint8_t> longer = knownState ();
	longer.insert (longer.begin () + 8, 40, 0x41);
	driver.setState (longer);
	driver.setComponentState (longer);
	CPlugIn* effect = driver.effect ();
	for (int position = 0; position < effect->controlCount (); ++position)
	{
		const ControlDescriptor* d = effect->controlAt (position);
		const float v = effect->getPlainValue (position);
		EXPECT_TRUE (v >= d->minValue && v <= d->maxValue) << d->controlName;
	}
	for (double value : driver.parameterValues ())
		EXPECT_TRUE (value >= 0. && value <= 1.);
	ASSERT_EQ (driver.process (kBlock), kResultOk);
	ASSERT_TRUE (driver.outputFinite (kBlock));
	expectRecovers (driver);
}

TEST (HostileHost, ProgramIndicesPastTheEnd)
{
	ProcessorDriver driver;
	ASSERT_TRUE (driver.start (48000., 2, kBlock));
	IUnitInfo& units = driver.get ();
	ProgramListInfo list {};
	ASSERT_EQ (units.getProgramListInfo (0, list), kResultOk);
	ASSERT_EQ (list.programCount, 11);
	EXPECT_EQ (units.getProgramListInfo (1, list), kResultFalse);
	EXPECT_EQ (units.getProgramListInfo (-1, list), kResultFalse);
	String128 name {};
	for (int32 index : {11, 12, 16, 100, -1, std::numeric_limits<int32>::max (), std::numeric_limits<int32>::min ()})
		EXPECT_EQ (units.getProgramName (kProgramId, index, name), kResultFalse) << index;
	EXPECT_EQ (units.getProgramName (0x12345678, 0, name), kResultFalse);

	// Program parameter values past the list's end, from the controller and in the audio path.
	for (double value : {1.1, 2., 16. / 10., 1e9, -0.1, kNaN, kInf})
	{
		driver.get ().setParamNormalized (kProgramId, value);
		const double stored = driver.get ().getParamNormalized (kProgramId);
		EXPECT_TRUE (stored >= 0. && stored <= 1.);
		driver.changes.addChange (kProgramId, 0, value);
		ASSERT_EQ (driver.process (kBlock), kResultOk);
		ASSERT_TRUE (driver.outputFinite (kBlock));
	}
	expectRecovers (driver);
}

TEST (HostileHost, TerminateWithoutDeactivating)
{
	for (int round = 0; round < 3; ++round)
	{
		auto driver = std::make_unique<ProcessorDriver> ();
		ASSERT_TRUE (driver->start (44100., 2, kBlock));
		NoiseSource noise;
		noise.fill (driver->input (0), kBlock);
		noise.fill (driver->input (1), kBlock);
		ASSERT_EQ (driver->process (kBlock), kResultOk);
		// No setProcessing(false), no setActive(false).
		EXPECT_EQ (driver->terminate (), kResultOk);
		if (round == 1)
		{
			// A host that keeps calling after terminate.
			EXPECT_NO_FATAL_FAILURE (driver->process (kBlock));
			driver->get ().setActive (false);
			driver->get ().setParamNormalized (0, 0.5);
		}
		if (round == 2)
		{
			// Initialized again after terminate: back in service.
			ASSERT_EQ (driver->initialize (), kResultOk);
			expectRecovers (*driver);
		}
	}
}

TEST (HostileHost, HundredInstancesCreatedAndReleased)
{
	std::vector<std::unique_ptr<ProcessorDriver>> instances;
	for (int i = 0; i < 100; ++i)
	{
		instances.push_back (std::make_unique<ProcessorDriver> ());
		ASSERT_TRUE (instances.back ()->start (48000., 2, kBlock));
		ASSERT_EQ (instances.back ()->setState (knownState ()), kResultOk);
	}
	NoiseSource noise (8);
	std::vector<float> in (kBlock);
	noise.fill (in.data (), kBlock);
	for (auto& instance : instances)
	{
		std::memcpy (instance->input (0), in.data (), sizeof (float) * kBlock);
		std::memcpy (instance->input (1), in.data (), sizeof (float) * kBlock);
		ASSERT_EQ (instance->process (kBlock), kResultOk);
		// All instances are alike and independent.
		ASSERT_EQ (std::memcmp (instance->output (0), instances.front ()->output (0), sizeof (float) * kBlock), 0);
	}
	// Released in an order unlike creation.
	for (size_t i = 0; i < instances.size (); i += 2)
		instances[i].reset ();
	for (size_t i = instances.size (); i-- > 0;)
		instances[i].reset ();
	ProcessorDriver after;
	ASSERT_TRUE (after.start (48000., 2, kBlock));
	expectRecovers (after);
}

TEST (HostileHost, TwoInstancesOnTwoThreadsAtOnce)
{
	const int blocks = 400;
	std::vector<float> expected[2];
	{
		ProcessorDriver single;
		ASSERT_TRUE (single.start (48000., 2, kBlock));
		renderKnown (single, 48000., expected, blocks);
	}
	ProcessorDriver a, b;
	ASSERT_TRUE (a.start (48000., 2, kBlock));
	ASSERT_TRUE (b.start (48000., 2, kBlock));
	std::vector<float> outA[2], outB[2];
	std::atomic<int> ready {0};
	auto run = [&] (ProcessorDriver& driver, std::vector<float>* out) {
		ready.fetch_add (1);
		while (ready.load () < 2)
			std::this_thread::yield ();
		renderKnown (driver, 48000., out, blocks);
	};
	std::thread first (run, std::ref (a), outA);
	std::thread second (run, std::ref (b), outB);
	first.join ();
	second.join ();
	for (int c = 0; c < 2; ++c)
	{
		EXPECT_TRUE (bitIdentical (outA[c], expected[c]));
		EXPECT_TRUE (bitIdentical (outB[c], expected[c]));
	}
	expectRecovers (a);
	expectRecovers (b);
}

TEST (HostileHost, TailAfterLoudNoiseReachesExactZero)
{
	// Short delay, feedback 50 %, top resonance: the echoes halve every millisecond, so after
	// a second of silence nothing may be left, not even subnormal dust.
	std::vector<uint8_t> state = knownState ();
	const float delayMs = 1.f, feedback = 50.f, resonance = 10.f;
	std::memcpy (state.data () + 8, &delayMs, 4);
	std::memcpy (state.data () + 12, &feedback, 4);
	std::memcpy (state.data () + 20, &resonance, 4);
	const float ratio = 1.f, offset = 0.f;
	std::memcpy (state.data () + 24, &ratio, 4);
	std::memcpy (state.data () + 28, &offset, 4);
	ProcessorDriver driver;
	ASSERT_TRUE (driver.start (48000., 2, kBlock));
	ASSERT_EQ (driver.setState (state), kResultOk);
	NoiseSource noise (4);
	for (int b = 0; b < 94; ++b)
	{
		noise.fill (driver.input (0), kBlock);
		noise.fill (driver.input (1), kBlock);
		ASSERT_EQ (driver.process (kBlock), kResultOk);
	}
	std::fill (driver.input (0), driver.input (0) + kBlock, 0.f);
	std::fill (driver.input (1), driver.input (1) + kBlock, 0.f);
	for (int b = 0; b < 94; ++b)
		ASSERT_EQ (driver.process (kBlock), kResultOk);
	for (int c = 0; c < 2; ++c)
		for (int32 i = 0; i < kBlock; ++i)
			ASSERT_EQ (driver.output (c)[i], 0.f) << "channel " << c << " frame " << i;
}

#if defined(__SSE__)
TEST (HostileHost, CallersFloatingPointModeIsKept)
{
	ProcessorDriver driver;
	ASSERT_TRUE (driver.start (48000., 2, kBlock));
	NoiseSource noise (2);
	const unsigned int original = _mm_getcsr ();
	// The host's mode, whatever it is, comes back unchanged: plain, and with its own flags.
	for (unsigned int mode : {original & ~0x8040u, original | 0x8040u, (original & ~0x8040u) | 0x6000u})
	{
		_mm_setcsr (mode);
		noise.fill (driver.input (0), kBlock);
		noise.fill (driver.input (1), kBlock);
		const tresult result = driver.process (kBlock);
		const unsigned int after = _mm_getcsr ();
		_mm_setcsr (original);
		EXPECT_EQ (result, kResultOk);
		// Exception flags (the low six bits) may be raised by the arithmetic itself.
		EXPECT_EQ (after & ~0x3Fu, mode & ~0x3Fu);
	}
}
#endif

} // namespace
