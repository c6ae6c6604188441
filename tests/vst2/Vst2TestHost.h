// The host side of the VST 2 tests: a host callback with the real ABI that
// records what the plug-in tells the host, and small helpers to drive an effect.
#pragma once

#include "Vst2Abi.h"

#include <string>
#include <vector>

namespace Vst2Test {

namespace Abi = Steinberg::Vst::Vst2Abi;

struct HostCall
{
	int32_t opcode;
	int32_t index;
	intptr_t value;
	float opt;
};

class Vst2TestHost
{
public:
	Vst2TestHost ();
	~Vst2TestHost ();

	// The callback to hand to VSTPluginMain / Vst2Wrapper::create.
	vst_host_callback callback () const;

	// Answer of the version request; 0 makes the entry refuse.
	intptr_t versionAnswer {2400};
	// Answer of the size-window request.
	intptr_t sizeWindowAnswer {1};
	// Returned for the time request when timeValid is set.
	Abi::TimeInfo timeInfo {};
	bool timeValid {false};

	std::vector<HostCall> calls;
	int count (int32_t opcode) const;
	// The calls with this opcode, in order.
	std::vector<HostCall> callsOf (int32_t opcode) const;

	static intptr_t dispatchCall (vst_effect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
	                              float opt);
};

// Dispatcher shorthand.
intptr_t dispatch (vst_effect* effect, int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                   float opt = 0.f);
std::string parameterText (vst_effect* effect, int32_t opcode, int32_t index);
std::string programName (vst_effect* effect, int32_t index);
void resume (vst_effect* effect, float sampleRate, int32_t blockSize);
// processReplacing over planar stereo buffers.
void processStereo (vst_effect* effect, std::vector<float>& left, std::vector<float>& right,
                    std::vector<float>& outLeft, std::vector<float>& outRight);
// A copy of the effect's chunk.
std::vector<char> chunkOf (vst_effect* effect);

} // namespace Vst2Test
