// One Tarnwick Processor driven in-process through its VST 3 interfaces, with the host-side
// buffers, parameter changes and events of a block allocated up front (so a block allocates
// nothing on the host side either). Used by the stress tests, the allocation test, the
// benchmarks and the fuzzers.
#pragma once

#include "Processor.h"

#include "hostkit/HostEventList.h"
#include "hostkit/HostParameterChanges.h"

#include "public.sdk/source/common/memorystream.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"
#include "pluginterfaces/vst/vstspeaker.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace Tarnwick {
namespace Stress {

class ProcessorDriver
{
public:
	static constexpr Steinberg::int32 kMaxBlock = 8192;

	ProcessorDriver ()
	: processor (new Vire2VUR3::Processor)
	, changes (64, 64)
	, events (512)
	, inputs (2, std::vector<float> (kMaxBlock, 0.f))
	, outputs (2, std::vector<float> (kMaxBlock, 0.f))
	{
	}
	~ProcessorDriver ()
	{
		if (initialized)
			processor->terminate ();
		processor->release ();
	}
	ProcessorDriver (const ProcessorDriver&) = delete;
	ProcessorDriver& operator= (const ProcessorDriver&) = delete;

	Vire2VUR3::Processor& get () { return *processor; }
	CPlugIn* effect () const { return processor->getEffect (); }

	Steinberg::tresult initialize ()
	{
		initialized = true;
		return processor->initialize (nullptr);
	}
	Steinberg::tresult terminate ()
	{
		initialized = false;
		return processor->terminate ();
	}

	Steinberg::tresult arrange (Steinberg::int32 channelCount)
	{
		Steinberg::Vst::SpeakerArrangement arrangement = channelCount == 1
		                                                     ? Steinberg::Vst::SpeakerArr::kMono
		                                                     : Steinberg::Vst::SpeakerArr::kStereo;
		Steinberg::Vst::SpeakerArrangement out = arrangement;
		return processor->setBusArrangements (&arrangement, 1, &out, 1);
	}

	Steinberg::tresult setup (double sampleRate, Steinberg::int32 maxBlock = 512)
	{
		Steinberg::Vst::ProcessSetup setup {Steinberg::Vst::kRealtime, Steinberg::Vst::kSample32,
		                                    maxBlock, sampleRate};
		return processor->setupProcessing (setup);
	}

	// initialize, bus arrangement, setupProcessing, setActive(true), setProcessing(true).
	bool start (double sampleRate = 48000., Steinberg::int32 channelCount = 2,
	            Steinberg::int32 maxBlock = 512)
	{
		channels = channelCount;
		return initialize () == Steinberg::kResultOk && arrange (channelCount) == Steinberg::kResultOk &&
		       setup (sampleRate, maxBlock) == Steinberg::kResultOk &&
		       processor->setActive (true) == Steinberg::kResultOk && startProcessing ();
	}

	// setProcessing is optional for a plug-in (kNotImplemented is a valid answer).
	bool startProcessing ()
	{
		const Steinberg::tresult result = processor->setProcessing (true);
		return result == Steinberg::kResultOk || result == Steinberg::kNotImplemented;
	}

	float* input (int channel) { return inputs[static_cast<size_t> (channel)].data (); }
	float* output (int channel) { return outputs[static_cast<size_t> (channel)].data (); }

	// One block of numFrames (at most kMaxBlock) from input(c) into output(c), with the changes
	// and events filled in beforehand (cleared afterwards). The bus carries `channels` channels.
	Steinberg::tresult process (Steinberg::int32 numFrames,
	                            Steinberg::Vst::ProcessContext* context = nullptr)
	{
		float* in[2] = {input (0), input (1)};
		float* out[2] = {output (0), output (1)};
		Steinberg::Vst::AudioBusBuffers inputBus {};
		inputBus.numChannels = channels;
		inputBus.silenceFlags = inputSilence;
		inputBus.channelBuffers32 = in;
		Steinberg::Vst::AudioBusBuffers outputBus {};
		outputBus.numChannels = channels;
		outputBus.channelBuffers32 = out;

		Steinberg::Vst::ProcessData data {};
		data.processMode = Steinberg::Vst::kRealtime;
		data.symbolicSampleSize = Steinberg::Vst::kSample32;
		data.numSamples = numFrames;
		data.numInputs = 1;
		data.numOutputs = 1;
		data.inputs = &inputBus;
		data.outputs = &outputBus;
		data.inputParameterChanges = &changes;
		data.outputParameterChanges = &outputChanges;
		data.inputEvents = &events;
		data.processContext = context;
		const Steinberg::tresult result = processor->process (data);
		changes.clear ();
		events.clear ();
		outputChanges.clear ();
		return result;
	}

	bool outputFinite (Steinberg::int32 numFrames) const
	{
		for (Steinberg::int32 c = 0; c < channels; ++c)
			for (Steinberg::int32 i = 0; i < numFrames; ++i)
				if (!std::isfinite (outputs[static_cast<size_t> (c)][static_cast<size_t> (i)]))
					return false;
		return true;
	}

	bool getState (std::vector<uint8_t>& bytes)
	{
		Steinberg::MemoryStream stream;
		if (processor->getState (&stream) != Steinberg::kResultOk)
			return false;
		const char* begin = stream.getData ();
		bytes.assign (begin, begin + stream.getSize ());
		return true;
	}
	Steinberg::tresult setState (const void* bytes, size_t size)
	{
		Steinberg::MemoryStream stream (const_cast<void*> (bytes), static_cast<Steinberg::TSize> (size));
		return processor->setState (&stream);
	}
	Steinberg::tresult setState (const std::vector<uint8_t>& bytes)
	{
		return setState (bytes.data (), bytes.size ());
	}
	Steinberg::tresult setComponentState (const void* bytes, size_t size)
	{
		Steinberg::MemoryStream stream (const_cast<void*> (bytes), static_cast<Steinberg::TSize> (size));
		return processor->setComponentState (&stream);
	}
	Steinberg::tresult setComponentState (const std::vector<uint8_t>& bytes)
	{
		return setComponentState (bytes.data (), bytes.size ());
	}

	// Normalized values of every controller-side parameter, in index order.
	std::vector<double> parameterValues ()
	{
		std::vector<double> values;
		const Steinberg::int32 count = processor->getParameterCount ();
		for (Steinberg::int32 i = 0; i < count; ++i)
		{
			Steinberg::Vst::ParameterInfo info {};
			if (processor->getParameterInfo (i, info) == Steinberg::kResultOk)
				values.push_back (processor->getParamNormalized (info.id));
		}
		return values;
	}

	Steinberg::int32 channels = 2;
	Steinberg::uint64 inputSilence = 0;
	Vire2VUR3::Processor* processor;
	HostKit::HostParameterChanges changes;
	HostKit::HostParameterChanges outputChanges;
	HostKit::HostEventList events;

private:
	bool initialized = false;
	std::vector<std::vector<float>> inputs;
	std::vector<std::vector<float>> outputs;
};

// A reproducible noise source (xorshift), for input signals.
class NoiseSource
{
public:
	explicit NoiseSource (uint32_t seed = 0x12345678u) : state (seed ? seed : 1u) {}
	float next (float amplitude = 1.f)
	{
		state ^= state << 13;
		state ^= state >> 17;
		state ^= state << 5;
		return amplitude * (static_cast<float> (state >> 8) * (2.f / 16777216.f) - 1.f);
	}
	void fill (float* buffer, Steinberg::int32 count, float amplitude = 1.f)
	{
		for (Steinberg::int32 i = 0; i < count; ++i)
			buffer[i] = next (amplitude);
	}

private:
	uint32_t state;
};

} // namespace Stress
} // namespace Tarnwick
