#include "Vst2ModuleRig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <dlfcn.h>

namespace StressVst2 {

namespace {

intptr_t quietHostCall (vst_effect*, int32_t opcode, int32_t, intptr_t, void* ptr, float)
{
	switch (opcode)
	{
		case Abi::kHostVersion: return 2400;
		case Abi::kHostGetProductString:
			if (ptr != nullptr)
				std::strcpy (static_cast<char*> (ptr), "StressHost");
			return 1;
		default: return 0;
	}
}

constexpr float kMarker = 1234.5f;

} // namespace

EntryPoint moduleEntry ()
{
	// Kept mapped for the whole run: the leak checker and late X callbacks need its code.
	static void* library = dlopen (TARNWICK_MODULE_PATH, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
	return library ? reinterpret_cast<EntryPoint> (dlsym (library, "VSTPluginMain")) : nullptr;
}

vst_host_callback quietHost ()
{
	Abi::HostCallback real = &quietHostCall;
	return reinterpret_cast<vst_host_callback> (reinterpret_cast<void (*) ()> (real));
}

void Noise::fill (float* buffer, int32_t count)
{
	for (int32_t i = 0; i < count; ++i)
	{
		state ^= state << 13;
		state ^= state >> 17;
		state ^= state << 5;
		buffer[i] = static_cast<float> (state >> 8) * (2.f / 16777216.f) - 1.f;
	}
}

//------------------------------------------------------------------------
Vst2Effect::Vst2Effect (vst_host_callback callback) : effect (nullptr)
{
	if (EntryPoint entry = moduleEntry ())
		effect = entry (callback);
	for (int c = 0; c < 2; ++c)
	{
		input[c].resize (kLargeBlock);
		output[c].resize (kLargeBlock);
	}
}

Vst2Effect::~Vst2Effect ()
{
	close ();
}

void Vst2Effect::close ()
{
	if (effect != nullptr)
		dispatch (effect, Abi::kEffClose);
	effect = nullptr;
}

void Vst2Effect::prepare (float rate, int32_t blockSize)
{
	call (Abi::kEffMainsChanged, 0, 0);
	call (Abi::kEffSetSampleRate, 0, 0, nullptr, rate);
	call (Abi::kEffSetBlockSize, 0, blockSize);
	call (Abi::kEffMainsChanged, 0, 1);
}

void Vst2Effect::process (Noise& noise, int32_t frames, std::vector<float> out[2])
{
	const auto size = static_cast<size_t> (frames);
	for (int c = 0; c < 2; ++c)
	{
		if (input[c].size () < size)
		{
			input[c].resize (size);
			output[c].resize (size);
		}
		noise.fill (input[c].data (), frames);
		std::fill (output[c].begin (), output[c].begin () + frames, kMarker);
	}
	const float* in[2] = {input[0].data (), input[1].data ()};
	float* outs[2] = {output[0].data (), output[1].data ()};
	effect->process_float (effect, in, outs, frames);
	for (int c = 0; c < 2; ++c)
		out[c].assign (output[c].begin (), output[c].begin () + frames);
}

void Vst2Effect::render (Noise& noise, int blocks, int32_t frames, std::vector<float> out[2])
{
	std::vector<float> block[2];
	for (int b = 0; b < blocks; ++b)
	{
		process (noise, frames, block);
		for (int c = 0; c < 2; ++c)
			out[c].insert (out[c].end (), block[c].begin (), block[c].end ());
	}
}

//------------------------------------------------------------------------
const std::vector<char>& knownChunk ()
{
	static const std::vector<char> chunk = [] {
		Vst2Effect reference (quietHost ());
		if (!reference)
			return std::vector<char> ();
		reference.prepare (kRate, kBlock);
		reference.call (Abi::kEffSetProgram, 0, 3);
		reference->set_parameter (reference.get (), 1, 0.6f);
		reference->set_parameter (reference.get (), 6, 0.8f);
		Noise noise (7);
		std::vector<float> out[2];
		reference.render (noise, 4, kBlock, out); // the processor takes the values
		return Vst2Test::chunkOf (reference.get ());
	}();
	return chunk;
}

std::vector<uint8_t> componentStateOf (const std::vector<char>& chunk)
{
	if (chunk.size () < 8)
		return {};
	int64_t length = 0;
	std::memcpy (&length, chunk.data (), 8);
	if (length < 0 || static_cast<size_t> (length) > chunk.size () - 8)
		return {};
	return std::vector<uint8_t> (chunk.begin () + 8, chunk.begin () + 8 + length);
}

void renderKnown (Vst2Effect& effect, float rate, std::vector<float> out[2], int blocks)
{
	std::vector<char> chunk = knownChunk ();
	ASSERT_FALSE (chunk.empty ());
	effect.call (Abi::kEffMainsChanged, 0, 0);
	ASSERT_EQ (effect.call (Abi::kEffSetChunk, 0, static_cast<intptr_t> (chunk.size ()), chunk.data ()), 1);
	effect.prepare (rate, kBlock);
	Noise noise (99);
	effect.render (noise, blocks, kBlock, out);
}

bool allFinite (const std::vector<float>& samples)
{
	for (float x : samples)
		if (!std::isfinite (x))
			return false;
	return true;
}

bool bitIdentical (const std::vector<float>& a, const std::vector<float>& b)
{
	return a.size () == b.size () && std::memcmp (a.data (), b.data (), a.size () * sizeof (float)) == 0;
}

double energyOf (const std::vector<float>& samples)
{
	double energy = 0.;
	for (float x : samples)
		energy += static_cast<double> (x) * x;
	return energy;
}

void expectRecovers (Vst2Effect& effect, float rate)
{
	ASSERT_TRUE (effect);
	std::vector<float> expected[2];
	{
		Vst2Effect fresh (quietHost ());
		ASSERT_TRUE (fresh);
		ASSERT_NO_FATAL_FAILURE (renderKnown (fresh, rate, expected));
	}
	std::vector<float> actual[2];
	ASSERT_NO_FATAL_FAILURE (renderKnown (effect, rate, actual));
	ASSERT_TRUE (allFinite (expected[0]) && allFinite (expected[1]));
	EXPECT_TRUE (bitIdentical (actual[0], expected[0]));
	EXPECT_TRUE (bitIdentical (actual[1], expected[1]));
	// The known setting is audible: an echo, not silence.
	EXPECT_GT (energyOf (expected[0]), 1.);
}

} // namespace StressVst2
