#include "BundleProcessRig.h"

#include "BundleFixture.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"

#include <algorithm>
#include <cmath>

namespace Tarnwick {
namespace Realtime {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// Two seconds of material: long enough for the largest block, short enough to make quickly.
constexpr int32 kMaterialFrames = 96000;
// Room for every parameter of the bundle with several points each, and for the meters it
// reports back.
constexpr int32 kMaxChangedParameters = 128;
constexpr int32 kMaxPointsPerParameter = 16;
constexpr int32 kMaxEvents = 512;

} // namespace

BundleProcessRig::BundleProcessRig ()
: silence (kMaxBlock, 0.f)
, outputs (kMaxChannels, std::vector<float> (kMaxBlock, 0.f))
, inputChanges (kMaxChangedParameters, kMaxPointsPerParameter)
, outputChanges (kMaxChangedParameters, kMaxPointsPerParameter)
, inputEvents (kMaxEvents)
, transport (kSampleRate)
{
	for (int32 c = 0; c < kMaxChannels; ++c)
		outputPointers[c] = outputs[static_cast<size_t> (c)].data ();
}

BundleProcessRig::~BundleProcessRig ()
{
	pluginInstance.reset ();
	module.unload ();
}

bool BundleProcessRig::fail (const std::string& message)
{
	lastError = message;
	return false;
}

bool BundleProcessRig::load (const std::string& bundlePath, int32 channelCount)
{
	if (channelCount < 1 || channelCount > kMaxChannels)
		return fail ("only mono or stereo");
	channels = channelCount;
	if (!module.load (bundlePath))
		return fail (module.error ());
	pluginInstance = std::make_unique<HostKit::PluginInstance> (module);
	if (!pluginInstance->create ())
		return fail (pluginInstance->error ());
	if (!pluginInstance->setup (kSampleRate, kMaxBlock, channels))
		return fail (pluginInstance->error ());
	processor = pluginInstance->getProcessor ();
	material = TarnwickHostTest::makeTestSignal (channels, kMaterialFrames, kSampleRate);
	findParameters ();
	transport.setPlaying (true);
	return true;
}

void BundleProcessRig::findParameters ()
{
	writable.clear ();
	for (const HostKit::ParameterDescription& p : pluginInstance->parameters ())
	{
		if (p.flags & ParameterInfo::kIsReadOnly)
			continue;
		writable.push_back (p.id);
		if (p.flags & ParameterInfo::kIsBypass)
		{
			bypassFound = true;
			bypassId = p.id;
		}
		if (p.flags & ParameterInfo::kIsProgramChange)
		{
			programChangeFound = true;
			programChangeId = p.id;
			programs = p.stepCount + 1;
		}
	}
}

const float* const* BundleProcessRig::nextInput (int32 frames)
{
	if (silentInput)
	{
		for (int32 c = 0; c < channels; ++c)
		{
			inputPointers[c] = silence.data ();
			if (processInPlace)
			{
				std::fill (outputPointers[c], outputPointers[c] + frames, 0.f);
				inputPointers[c] = outputPointers[c];
			}
		}
		return inputPointers;
	}
	if (materialPosition + static_cast<size_t> (frames) > material[0].size ())
		materialPosition = 0;
	for (int32 c = 0; c < channels; ++c)
		inputPointers[c] = material[static_cast<size_t> (c)].data () + materialPosition;
	materialPosition += static_cast<size_t> (frames);
	if (processInPlace)
	{
		for (int32 c = 0; c < channels; ++c)
		{
			std::copy (inputPointers[c], inputPointers[c] + frames, outputPointers[c]);
			inputPointers[c] = outputPointers[c];
		}
	}
	return inputPointers;
}

tresult BundleProcessRig::process (int32 frames, MeasuredSection* section)
{
	if (processor == nullptr || frames < 0 || frames > kMaxBlock)
		return kInvalidArgument;

	AudioBusBuffers inputBus {};
	inputBus.numChannels = channels;
	inputBus.silenceFlags = inputSilence;
	inputBus.channelBuffers32 = const_cast<float**> (nextInput (frames));
	AudioBusBuffers outputBus {};
	outputBus.numChannels = channels;
	outputBus.channelBuffers32 = outputPointers;

	ProcessData data {};
	data.processMode = kRealtime;
	data.symbolicSampleSize = kSample32;
	data.numSamples = frames;
	data.numInputs = 1;
	data.inputs = &inputBus;
	data.numOutputs = 1;
	data.outputs = &outputBus;
	data.inputParameterChanges = &inputChanges;
	data.outputParameterChanges = &outputChanges;
	data.inputEvents = &inputEvents;
	data.processContext = transport.context ();

	if (section)
		section->enter ();
	const tresult result = processor->process (data);
	if (section)
		section->leave ();

	lastFrames = frames;
	for (int32 c = 0; c < channels; ++c)
		for (int32 i = 0; i < frames; ++i)
			peak = std::max (peak, std::fabs (outputs[static_cast<size_t> (c)][static_cast<size_t> (i)]));
	transport.advance (frames);
	inputChanges.clear ();
	outputChanges.clear ();
	inputEvents.clear ();
	return result;
}

bool BundleProcessRig::outputFinite () const
{
	for (int32 c = 0; c < channels; ++c)
		for (int32 i = 0; i < lastFrames; ++i)
			if (!std::isfinite (outputs[static_cast<size_t> (c)][static_cast<size_t> (i)]))
				return false;
	return true;
}

} // namespace Realtime
} // namespace Tarnwick
