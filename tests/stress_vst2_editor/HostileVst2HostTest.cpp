// What careless VST 2 hosts do to the built module, one step per test: nothing may crash, the
// output stays finite, and afterwards the instance is in a defined state (with a known chunk
// and a fresh set-up it renders bit for bit what a fresh instance renders).
#include "Vst2ModuleRig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <cstring>
#include <dlfcn.h>
#include <limits>
#include <memory>
#include <sys/resource.h>
#include <thread>

using namespace StressVst2;
using Vst2Test::Vst2TestHost;

namespace {

const float kNaN = std::numeric_limits<float>::quiet_NaN ();
const float kInf = std::numeric_limits<float>::infinity ();

long peakResidentKiB ()
{
	rusage usage {};
	getrusage (RUSAGE_SELF, &usage);
	return usage.ru_maxrss;
}

bool allZero (const std::vector<float>& samples)
{
	return std::all_of (samples.begin (), samples.end (), [] (float x) { return x == 0.f; });
}

// One fixed stereo signal rendered in blocks of `frames`, whatever the block size announced.
void renderSignal (Vst2Effect& effect, const std::vector<float> signal[2], int32_t frames, std::vector<float> out[2])
{
	const auto length = static_cast<int32_t> (signal[0].size ());
	std::vector<float> blockOut[2] = {std::vector<float> (static_cast<size_t> (frames)),
	                                  std::vector<float> (static_cast<size_t> (frames))};
	for (int c = 0; c < 2; ++c)
		out[c].clear ();
	for (int32_t start = 0; start < length; start += frames)
	{
		const float* in[2] = {signal[0].data () + start, signal[1].data () + start};
		float* outs[2] = {blockOut[0].data (), blockOut[1].data ()};
		effect->process_float (effect.get (), in, outs, frames);
		for (int c = 0; c < 2; ++c)
			out[c].insert (out[c].end (), blockOut[c].begin (), blockOut[c].end ());
	}
}

class HostileVst2Host : public ::testing::Test
{
protected:
	void SetUp () override
	{
		ASSERT_NE (moduleEntry (), nullptr) << dlerror ();
		ASSERT_FALSE (knownChunk ().empty ());
	}

	// Blocks of 1, 512 and 8192 frames; every output sample finite. True when anything was audible.
	bool processAllSizes (Vst2Effect& effect, uint32_t seed)
	{
		Noise noise (seed);
		bool audible = false;
		std::vector<float> out[2];
		for (int32_t frames : {1, 1, 1, kBlock, kLargeBlock})
		{
			effect.process (noise, frames, out);
			EXPECT_TRUE (allFinite (out[0]) && allFinite (out[1])) << frames << " frames";
			audible = audible || !allZero (out[0]) || !allZero (out[1]);
		}
		return audible;
	}

	Vst2TestHost host;
};

TEST_F (HostileVst2Host, ProcessBeforeAnySetUp)
{
	Vst2Effect effect (host.callback ());
	ASSERT_TRUE (effect);
	// Never resumed: silence, every frame written.
	EXPECT_FALSE (processAllSizes (effect, 1));
	// A rate but no resume: still silence.
	effect.call (Abi::kEffSetSampleRate, 0, 0, nullptr, 44100.f);
	EXPECT_FALSE (processAllSizes (effect, 2));
	// Suspended before it was ever resumed, then resumed twice, with the wrapper's default
	// block size and no rate of the host's own.
	Vst2Effect defaults (host.callback ());
	ASSERT_TRUE (defaults);
	EXPECT_EQ (defaults.call (Abi::kEffMainsChanged, 0, 0), 1);
	EXPECT_FALSE (processAllSizes (defaults, 3));
	EXPECT_EQ (defaults.call (Abi::kEffMainsChanged, 0, 1), 1);
	EXPECT_EQ (defaults.call (Abi::kEffMainsChanged, 0, 1), 1);
	EXPECT_TRUE (processAllSizes (defaults, 3));
	// Null buffers.
	effect->process_float (effect.get (), nullptr, nullptr, kBlock);
	float* noOutputs[2] = {nullptr, nullptr};
	effect->process_float (effect.get (), nullptr, noOutputs, kBlock);
	ASSERT_NO_FATAL_FAILURE (expectRecovers (effect));
	ASSERT_NO_FATAL_FAILURE (expectRecovers (defaults));
}

TEST_F (HostileVst2Host, EverySampleRateInTurnOnOneInstance)
{
	Vst2Effect effect (host.callback ());
	ASSERT_TRUE (effect);
	effect.prepare (kRate, kBlock);
	for (float rate : {8000.f, 11025.f, 22050.f, 32000.f, 44100.f, 96000.f, 192000.f, 384000.f})
	{
		SCOPED_TRACE (rate);
		// Changed while running: the wrapper restarts processing at the new rate.
		EXPECT_EQ (effect.call (Abi::kEffSetSampleRate, 0, 0, nullptr, rate), 1);
		EXPECT_TRUE (processAllSizes (effect, 4));
		std::vector<float> expected[2];
		{
			Vst2Effect fresh (host.callback ());
			ASSERT_NO_FATAL_FAILURE (renderKnown (fresh, rate, expected, 8));
		}
		std::vector<float> actual[2];
		ASSERT_NO_FATAL_FAILURE (renderKnown (effect, rate, actual, 8));
		EXPECT_TRUE (bitIdentical (actual[0], expected[0]));
		EXPECT_TRUE (bitIdentical (actual[1], expected[1]));
		EXPECT_GT (energyOf (expected[0]), 0.1);
	}
	// Not rates at all: refused, the running set-up goes on.
	for (float rate : {0.f, -1.f, kNaN, -kInf, kInf})
	{
		SCOPED_TRACE (rate);
		EXPECT_EQ (effect.call (Abi::kEffSetSampleRate, 0, 0, nullptr, rate), 0);
		EXPECT_TRUE (processAllSizes (effect, 5));
	}
	// A rate the effect cannot run at: silence, nothing else.
	effect.call (Abi::kEffSetSampleRate, 0, 0, nullptr, 1e9f);
	EXPECT_FALSE (processAllSizes (effect, 6));
	// Still resumed as far as the host knows: a rate that works brings the sound back.
	EXPECT_EQ (effect.call (Abi::kEffSetSampleRate, 0, 0, nullptr, kRate), 1);
	EXPECT_TRUE (processAllSizes (effect, 7));
	ASSERT_NO_FATAL_FAILURE (expectRecovers (effect));
}

TEST_F (HostileVst2Host, BlockSizesOfOneTo8192ZeroAndHuge)
{
	// Without automation the announced and the actual block size do not matter: one signal
	// comes out bit for bit as it does with 512 announced and 512 handed in.
	const int32_t length = 2 * kLargeBlock;
	std::vector<float> signal[2];
	Noise noise (11);
	for (auto& channel : signal)
	{
		channel.resize (static_cast<size_t> (length));
		noise.fill (channel.data (), length);
	}
	std::vector<char> chunk = knownChunk ();
	const auto chunkSize = static_cast<intptr_t> (chunk.size ());
	std::vector<float> expected[2];
	{
		Vst2Effect reference (host.callback ());
		ASSERT_EQ (reference.call (Abi::kEffSetChunk, 0, chunkSize, chunk.data ()), 1);
		reference.prepare (kRate, kBlock);
		renderSignal (reference, signal, kBlock, expected);
		ASSERT_GT (energyOf (expected[0]), 1.);
	}

	Vst2Effect effect (host.callback ());
	ASSERT_TRUE (effect);
	effect.prepare (kRate, kBlock);
	const intptr_t huge = INT32_MAX;
	const long peakBefore = peakResidentKiB ();
	for (intptr_t announced : {intptr_t {1}, intptr_t {kLargeBlock}, huge, intptr_t {1} << 20})
	{
		SCOPED_TRACE (announced);
		// Changed while running, as some hosts do.
		EXPECT_EQ (effect.call (Abi::kEffSetBlockSize, 0, announced), 1);
		EXPECT_TRUE (processAllSizes (effect, 12));
		for (int32_t frames : {1, kLargeBlock})
		{
			SCOPED_TRACE (frames);
			effect.call (Abi::kEffMainsChanged, 0, 0);
			ASSERT_EQ (effect.call (Abi::kEffSetChunk, 0, chunkSize, chunk.data ()), 1);
			effect.call (Abi::kEffSetBlockSize, 0, announced);
			effect.call (Abi::kEffMainsChanged, 0, 1);
			std::vector<float> actual[2];
			renderSignal (effect, signal, frames, actual);
			EXPECT_TRUE (bitIdentical (actual[0], expected[0]));
			EXPECT_TRUE (bitIdentical (actual[1], expected[1]));
		}
	}
	// Whatever was announced, the wrapper did not size its buffers by it.
	EXPECT_LT (peakResidentKiB () - peakBefore, 64 * 1024);
	// Not block sizes: refused, the running set-up goes on.
	for (intptr_t announced : {intptr_t {0}, intptr_t {-1}, intptr_t {INT32_MIN}, intptr_t {INT32_MAX} + 1})
	{
		SCOPED_TRACE (announced);
		EXPECT_EQ (effect.call (Abi::kEffSetBlockSize, 0, announced), 0);
		EXPECT_TRUE (processAllSizes (effect, 13));
	}
	// A block that is not one.
	std::vector<float> out[2];
	for (int c = 0; c < 2; ++c)
		out[c].assign (4, 1.f);
	const float* in[2] = {signal[0].data (), signal[1].data ()};
	float* outs[2] = {out[0].data (), out[1].data ()};
	effect->process_float (effect.get (), in, outs, 0);
	effect->process_float (effect.get (), in, outs, -5);
	EXPECT_EQ (out[0], std::vector<float> (4, 1.f));
	ASSERT_NO_FATAL_FAILURE (expectRecovers (effect));
}

TEST_F (HostileVst2Host, ParameterIndicesAndValuesThatAreNotThere)
{
	Vst2Effect effect (host.callback ());
	ASSERT_TRUE (effect);
	effect.prepare (kRate, kBlock);
	std::vector<char> chunk = knownChunk ();
	ASSERT_EQ (effect.call (Abi::kEffSetChunk, 0, static_cast<intptr_t> (chunk.size ()), chunk.data ()), 1);
	const auto count = static_cast<uint32_t> (effect->num_params);
	ASSERT_GT (count, 0u);
	processAllSizes (effect, 20);
	const std::vector<char> before = Vst2Test::chunkOf (effect.get ());

	// Indices past the end, and negative ones as the unsigned field carries them.
	const uint32_t outside[] = {count, count + 1, 1000, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu};
	for (uint32_t index : outside)
	{
		for (float value : {0.5f, -1.f, 2.f, kNaN, kInf})
			effect->set_parameter (effect.get (), index, value);
		EXPECT_EQ (effect->get_parameter (effect.get (), index), 0.f) << index;
	}
	processAllSizes (effect, 21);
	EXPECT_EQ (Vst2Test::chunkOf (effect.get ()), before);

	// Values outside 0..1 on every real parameter: clamped, or (not numbers) ignored.
	for (float value : {-1.f, 2.f, kNaN, kInf, -kInf})
	{
		SCOPED_TRACE (value);
		for (uint32_t index = 0; index < count; ++index)
		{
			const float was = effect->get_parameter (effect.get (), index);
			effect->set_parameter (effect.get (), index, value);
			const float now = effect->get_parameter (effect.get (), index);
			EXPECT_TRUE (now >= 0.f && now <= 1.f) << index;
			if (std::isnan (value) || std::isinf (value))
			{
				EXPECT_EQ (now, was) << index;
			}
		}
		EXPECT_TRUE (processAllSizes (effect, 22));
		// Let the smoothers glide wherever they were sent.
		Noise noise (23);
		std::vector<float> out[2];
		effect.render (noise, 20, kBlock, out);
		EXPECT_TRUE (allFinite (out[0]) && allFinite (out[1]));
	}
	// Moved without a block in between before the host loads a chunk: the chunk wins.
	for (uint32_t index = 0; index < count; ++index)
		effect->set_parameter (effect.get (), index, index % 2 == 0 ? 1.f : 0.f);
	ASSERT_NO_FATAL_FAILURE (expectRecovers (effect));
}

TEST_F (HostileVst2Host, TruncatedAllOnesEmptyAndNullChunks)
{
	// Another instance's chunk is the source of the cuts.
	std::vector<char> valid;
	{
		Vst2Effect other (host.callback ());
		ASSERT_TRUE (other);
		other.call (Abi::kEffSetProgram, 0, 7);
		valid = Vst2Test::chunkOf (other.get ());
	}
	ASSERT_GT (valid.size (), 16u);

	Vst2Effect effect (host.callback ());
	ASSERT_TRUE (effect);
	effect.prepare (kRate, kBlock);
	std::vector<char> known = knownChunk ();
	ASSERT_EQ (effect.call (Abi::kEffSetChunk, 0, static_cast<intptr_t> (known.size ()), known.data ()), 1);
	processAllSizes (effect, 30);
	const std::vector<char> before = Vst2Test::chunkOf (effect.get ());
	std::vector<float> parametersBefore;
	for (int32_t i = 0; i < effect->num_params; ++i)
		parametersBefore.push_back (effect->get_parameter (effect.get (), static_cast<uint32_t> (i)));

	auto expectUnchanged = [&] (const char* what, size_t size) {
		EXPECT_EQ (Vst2Test::chunkOf (effect.get ()), before) << what << " " << size;
		for (int32_t i = 0; i < effect->num_params; ++i)
			EXPECT_EQ (effect->get_parameter (effect.get (), static_cast<uint32_t> (i)),
			           parametersBefore[static_cast<size_t> (i)])
			    << what << " " << size << " parameter " << i;
	};

	for (size_t length = 0; length < valid.size (); ++length)
	{
		// A copy of exactly that length, so that reading past it is caught.
		std::vector<char> cut (valid.begin (), valid.begin () + static_cast<long> (length));
		char* data = cut.empty () ? nullptr : cut.data ();
		EXPECT_EQ (effect.call (Abi::kEffSetChunk, 0, static_cast<intptr_t> (length), data), 0) << length;
		expectUnchanged ("truncated", length);
		if (length % 16 == 0)
		{
			EXPECT_TRUE (processAllSizes (effect, 31));
		}
	}
	for (size_t size : {valid.size (), size_t {16}, size_t {4096}})
	{
		std::vector<char> ones (size, static_cast<char> (0xFF));
		EXPECT_EQ (effect.call (Abi::kEffSetChunk, 0, static_cast<intptr_t> (size), ones.data ()), 0) << size;
		expectUnchanged ("all ones", size);
	}
	// Size 0, a null pointer with a size, a negative size.
	EXPECT_EQ (effect.call (Abi::kEffSetChunk, 0, 0, valid.data ()), 0);
	EXPECT_EQ (effect.call (Abi::kEffSetChunk, 0, static_cast<intptr_t> (valid.size ()), nullptr), 0);
	EXPECT_EQ (effect.call (Abi::kEffSetChunk, 0, 1 << 20, nullptr), 0);
	EXPECT_EQ (effect.call (Abi::kEffSetChunk, 0, -1, valid.data ()), 0);
	EXPECT_EQ (effect.call (Abi::kEffSetChunk, 0, INTPTR_MIN, valid.data ()), 0);
	expectUnchanged ("empty or null", 0);
	// The length fields right, everything inside them all ones: whatever is taken stays in range.
	std::vector<char> framed = valid;
	int64_t componentLength = 0;
	std::memcpy (&componentLength, framed.data (), 8);
	ASSERT_LT (static_cast<size_t> (8 + componentLength + 8), framed.size () + 1);
	std::fill (framed.begin () + 8, framed.begin () + 8 + componentLength, static_cast<char> (0xFF));
	std::fill (framed.begin () + 16 + componentLength, framed.end (), static_cast<char> (0xFF));
	effect.call (Abi::kEffSetChunk, 0, static_cast<intptr_t> (framed.size ()), framed.data ());
	for (int32_t i = 0; i < effect->num_params; ++i)
	{
		const float value = effect->get_parameter (effect.get (), static_cast<uint32_t> (i));
		EXPECT_TRUE (value >= 0.f && value <= 1.f) << i;
	}
	EXPECT_TRUE (processAllSizes (effect, 32));
	ASSERT_NO_FATAL_FAILURE (expectRecovers (effect));
}

TEST_F (HostileVst2Host, ProgramsPastTheEndAndNegative)
{
	Vst2Effect effect (host.callback ());
	ASSERT_TRUE (effect);
	effect.prepare (kRate, kBlock);
	ASSERT_EQ (effect.call (Abi::kEffSetProgram, 0, 2), 1);
	processAllSizes (effect, 40);
	const std::vector<char> before = Vst2Test::chunkOf (effect.get ());
	const intptr_t programs = effect->num_programs;
	ASSERT_EQ (programs, 11);
	for (intptr_t program : {programs, programs + 1, intptr_t {-1}, intptr_t {INT32_MIN}, intptr_t {INT32_MAX},
	                         INTPTR_MAX, INTPTR_MIN})
	{
		SCOPED_TRACE (program);
		EXPECT_EQ (effect.call (Abi::kEffSetProgram, 0, program), 0);
		EXPECT_EQ (effect.call (Abi::kEffGetProgram), 2);
		EXPECT_TRUE (processAllSizes (effect, 41));
	}
	for (int32_t index : {11, 12, -1, INT32_MIN, INT32_MAX})
	{
		char name[256];
		std::memset (name, 0x55, sizeof (name));
		EXPECT_EQ (effect.call (Abi::kEffGetProgramNameIndexed, index, -1, name), 0) << index;
		EXPECT_EQ (name[0], 0) << index;
	}
	EXPECT_EQ (Vst2Test::chunkOf (effect.get ()), before);
	EXPECT_EQ (Vst2Test::programName (effect.get (), 2), "Hollow Ring");
	// A program picked without a block in between before the host loads a chunk: the chunk wins.
	ASSERT_EQ (effect.call (Abi::kEffSetProgram, 0, 9), 1);
	ASSERT_NO_FATAL_FAILURE (expectRecovers (effect));
}

TEST_F (HostileVst2Host, CloseWithoutSuspending)
{
	for (int round = 0; round < 3; ++round)
	{
		Vst2Effect effect (host.callback ());
		ASSERT_TRUE (effect);
		effect.prepare (44100.f, kBlock);
		EXPECT_TRUE (processAllSizes (effect, 50));
		if (round == 1)
			effect.call (Abi::kEffSetChunk, 0, static_cast<intptr_t> (knownChunk ().size ()),
			             const_cast<char*> (knownChunk ().data ()));
		// No effMainsChanged(0), no stop: straight to close.
		effect.close ();
		EXPECT_FALSE (effect);
	}
	Vst2Effect after (host.callback ());
	ASSERT_NO_FATAL_FAILURE (expectRecovers (after));
}

TEST_F (HostileVst2Host, HundredInstancesCreatedAndClosed)
{
	std::vector<std::unique_ptr<Vst2Effect>> effects;
	for (int i = 0; i < 100; ++i)
	{
		effects.push_back (std::make_unique<Vst2Effect> (host.callback ()));
		ASSERT_TRUE (*effects.back ()) << i;
		effects.back ()->prepare (kRate, kBlock);
	}
	// All alike and independent: the same input gives the same output everywhere.
	std::vector<float> first[2];
	for (auto& effect : effects)
	{
		Noise noise (60);
		std::vector<float> out[2];
		effect->render (noise, 2, kBlock, out);
		ASSERT_TRUE (allFinite (out[0]) && allFinite (out[1]));
		if (first[0].empty ())
		{
			first[0] = out[0];
			first[1] = out[1];
		}
		ASSERT_TRUE (bitIdentical (out[0], first[0]) && bitIdentical (out[1], first[1]));
	}
	// Closed in an order unlike creation, half of them while running.
	for (size_t i = 0; i < effects.size (); i += 2)
		effects[i].reset ();
	for (size_t i = effects.size (); i-- > 0;)
	{
		if (effects[i] && i % 3 == 0)
			effects[i]->call (Abi::kEffMainsChanged, 0, 0);
		effects[i].reset ();
	}
	Vst2Effect after (host.callback ());
	ASSERT_NO_FATAL_FAILURE (expectRecovers (after));
}

TEST_F (HostileVst2Host, TwoInstancesOnTwoThreadsAtOnce)
{
	// The recording test host is not made for two audio threads: a quiet one here.
	const int blocks = 300;
	std::vector<float> expected[2];
	{
		Vst2Effect single (quietHost ());
		ASSERT_NO_FATAL_FAILURE (renderKnown (single, kRate, expected, blocks));
	}
	Vst2Effect a (quietHost ()), b (quietHost ());
	ASSERT_TRUE (a && b);
	std::vector<char> chunk = knownChunk ();
	for (Vst2Effect* effect : {&a, &b})
	{
		ASSERT_EQ (effect->call (Abi::kEffSetChunk, 0, static_cast<intptr_t> (chunk.size ()), chunk.data ()), 1);
		effect->prepare (kRate, kBlock);
	}
	std::vector<float> outA[2], outB[2];
	std::atomic<int> ready {0};
	auto run = [&ready, blocks] (Vst2Effect* effect, std::vector<float>* out) {
		ready.fetch_add (1);
		while (ready.load () < 2)
			std::this_thread::yield ();
		Noise noise (99);
		effect->render (noise, blocks, kBlock, out);
	};
	std::thread first (run, &a, outA);
	std::thread second (run, &b, outB);
	first.join ();
	second.join ();
	for (int c = 0; c < 2; ++c)
	{
		EXPECT_TRUE (bitIdentical (outA[c], expected[c]));
		EXPECT_TRUE (bitIdentical (outB[c], expected[c]));
	}
	ASSERT_NO_FATAL_FAILURE (expectRecovers (a));
	ASSERT_NO_FATAL_FAILURE (expectRecovers (b));
}

} // namespace
