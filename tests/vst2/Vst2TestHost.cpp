#include "Vst2TestHost.h"

#include <cstring>

namespace Vst2Test {

namespace {
Vst2TestHost* currentHost = nullptr;
}

Vst2TestHost::Vst2TestHost ()
{
	currentHost = this;
}

Vst2TestHost::~Vst2TestHost ()
{
	if (currentHost == this)
		currentHost = nullptr;
}

vst_host_callback Vst2TestHost::callback () const
{
	Abi::HostCallback real = &Vst2TestHost::dispatchCall;
	return reinterpret_cast<vst_host_callback> (reinterpret_cast<void (*) ()> (real));
}

intptr_t Vst2TestHost::dispatchCall (vst_effect*, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                     float opt)
{
	Vst2TestHost* host = currentHost;
	if (host == nullptr)
		return 0;
	host->calls.push_back ({opcode, index, value, opt});
	switch (opcode)
	{
		case Abi::kHostVersion: return host->versionAnswer;
		case Abi::kHostGetTime:
			return host->timeValid ? reinterpret_cast<intptr_t> (&host->timeInfo) : 0;
		case Abi::kHostSizeWindow: return host->sizeWindowAnswer;
		case Abi::kHostGetProductString:
			if (ptr != nullptr)
				std::strcpy (static_cast<char*> (ptr), "Vst2TestHost");
			return 1;
		default: return 0;
	}
}

int Vst2TestHost::count (int32_t opcode) const
{
	int n = 0;
	for (const auto& call : calls)
		n += call.opcode == opcode ? 1 : 0;
	return n;
}

std::vector<HostCall> Vst2TestHost::callsOf (int32_t opcode) const
{
	std::vector<HostCall> result;
	for (const auto& call : calls)
		if (call.opcode == opcode)
			result.push_back (call);
	return result;
}

intptr_t dispatch (vst_effect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
	return effect->control (effect, static_cast<VST_EFFECT_OPCODE> (opcode), index, value, ptr, opt);
}

std::string parameterText (vst_effect* effect, int32_t opcode, int32_t index)
{
	char text[256];
	std::memset (text, 0x7F, sizeof (text));
	dispatch (effect, opcode, index, 0, text);
	text[255] = 0;
	return text;
}

std::string programName (vst_effect* effect, int32_t index)
{
	char text[256];
	std::memset (text, 0x7F, sizeof (text));
	dispatch (effect, Abi::kEffGetProgramNameIndexed, index, -1, text);
	text[255] = 0;
	return text;
}

void resume (vst_effect* effect, float sampleRate, int32_t blockSize)
{
	dispatch (effect, Abi::kEffSetSampleRate, 0, 0, nullptr, sampleRate);
	dispatch (effect, Abi::kEffSetBlockSize, 0, blockSize);
	dispatch (effect, Abi::kEffMainsChanged, 0, 1);
}

void processStereo (vst_effect* effect, std::vector<float>& left, std::vector<float>& right,
                    std::vector<float>& outLeft, std::vector<float>& outRight)
{
	outLeft.assign (left.size (), 0.f);
	outRight.assign (right.size (), 0.f);
	const float* inputs[2] = {left.data (), right.data ()};
	float* outputs[2] = {outLeft.data (), outRight.data ()};
	effect->process_float (effect, inputs, outputs, static_cast<int32_t> (left.size ()));
}

std::vector<char> chunkOf (vst_effect* effect)
{
	void* data = nullptr;
	const intptr_t size = dispatch (effect, Abi::kEffGetChunk, 0, 0, &data);
	if (size <= 0 || data == nullptr)
		return {};
	const char* bytes = static_cast<const char*> (data);
	return std::vector<char> (bytes, bytes + size);
}

} // namespace Vst2Test
