// The built module driven as a VST 2 host drives it, for the hostile-host tests: the entry
// point, an effect that closes itself, a fixed noise rendered through it, and the check that
// an instance is in a defined state after whatever a test did to it.
#pragma once

#include "Vst2TestHost.h"

#include <cstdint>
#include <vector>

namespace StressVst2 {

using Vst2Test::dispatch;
namespace Abi = Vst2Test::Abi;

constexpr int32_t kBlock = 512;
constexpr int32_t kLargeBlock = 8192;
constexpr float kRate = 48000.f;

using EntryPoint = vst_effect* (*) (vst_host_callback);

// VSTPluginMain of the built module (dlopened once, kept loaded); null when it cannot be loaded.
EntryPoint moduleEntry ();

// A host callback that records nothing, so that any thread may call it: answers the version
// and the product string, nothing else (no time info).
vst_host_callback quietHost ();

// A reproducible noise (xorshift), for input signals.
class Noise
{
public:
	explicit Noise (uint32_t seed) : state (seed ? seed : 1u) {}
	void fill (float* buffer, int32_t count);

private:
	uint32_t state;
};

// One effect made by the entry point; closed by the destructor unless the test closed it.
class Vst2Effect
{
public:
	explicit Vst2Effect (vst_host_callback callback);
	~Vst2Effect ();
	Vst2Effect (const Vst2Effect&) = delete;
	Vst2Effect& operator= (const Vst2Effect&) = delete;

	vst_effect* get () const { return effect; }
	vst_effect* operator-> () const { return effect; }
	explicit operator bool () const { return effect != nullptr; }
	// effClose now (without suspending first, as careless hosts do).
	void close ();

	intptr_t call (int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr, float opt = 0.f)
	{
		return dispatch (effect, opcode, index, value, ptr, opt);
	}
	// Suspend, rate, block size, resume.
	void prepare (float rate, int32_t blockSize);

	// processReplacing of `frames` frames of the noise into out (resized, filled with a marker first).
	void process (Noise& noise, int32_t frames, std::vector<float> out[2]);
	// `blocks` blocks of `frames` frames of noise, the outputs appended to out.
	void render (Noise& noise, int blocks, int32_t frames, std::vector<float> out[2]);

private:
	vst_effect* effect;
	std::vector<float> input[2];
	std::vector<float> output[2];
};

// A chunk of a known, audible setting (program 3 with an echo that feeds back, the mix turned
// towards the effect), taken once from an instance of the module.
const std::vector<char>& knownChunk ();
// The component state inside a chunk (what a VST 3 host saves).
std::vector<uint8_t> componentStateOf (const std::vector<char>& chunk);

// Known chunk, prepared at `rate`, 24 blocks of noise (seed 99) rendered.
void renderKnown (Vst2Effect& effect, float rate, std::vector<float> out[2], int blocks = 24);

bool allFinite (const std::vector<float>& samples);
bool bitIdentical (const std::vector<float>& a, const std::vector<float>& b);
double energyOf (const std::vector<float>& samples);

// The defined-state check: after the known chunk and a fresh set-up, `effect` renders bit for
// bit what a fresh instance renders. Use with ASSERT_NO_FATAL_FAILURE.
void expectRecovers (Vst2Effect& effect, float rate = kRate);

} // namespace StressVst2
