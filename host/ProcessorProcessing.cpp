// The real-time side of the Processor: set-up, bus arrangements and process.
#include "Processor.h"

#include "CVSTMidiEventList.h"
#include "CVSTParamUpdateQueue.h"
#include "MidiEventDelivery.h"
#include "RangedParameterInfo.h"
#include "adapter/ControlChange.h"
#include "adapter/FlushSubnormals.h"
#include "adapter/MidiControllers.h"
#include "adapter/SampleRates.h"

#include "pluginterfaces/vst/ivstparameterchanges.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"
#include "pluginterfaces/vst/vstspeaker.h"

#include <cmath>
#include <cstring>

namespace Vire2VUR3 {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// Stand-ins for the input channels of an effect without audio input.
constexpr int32 kSilentInputLength = 32;
float silentInput[2][kSilentInputLength] = {};
float* silentInputChannels[2] = {silentInput[0], silentInput[1]};

// Channels of bus `bus` that the loop can use: all of the first `wanted`
// pointers must be there.
bool hasChannels (const AudioBusBuffers& bus, int32 wanted)
{
	if (bus.numChannels < wanted || !bus.channelBuffers32)
		return false;
	for (int32 c = 0; c < wanted; ++c)
		if (!bus.channelBuffers32[c])
			return false;
	return true;
}

void clearOutput (AudioBusBuffers& bus, int32 channels, int32 numSamples)
{
	for (int32 c = 0; c < channels; ++c)
		std::memset (bus.channelBuffers32[c], 0, sizeof (float) * static_cast<size_t> (numSamples));
}

void copyChannels (const AudioBusBuffers& input, AudioBusBuffers& output, int32 channels,
                   int32 numSamples)
{
	for (int32 c = 0; c < channels; ++c)
		if (input.channelBuffers32[c] != output.channelBuffers32[c])
			std::memcpy (output.channelBuffers32[c], input.channelBuffers32[c],
			             sizeof (float) * static_cast<size_t> (numSamples));
}

} // namespace

tresult PLUGIN_API Processor::canProcessSampleSize (int32 symbolicSampleSize)
{
	return symbolicSampleSize == kSample32 ? kResultTrue : kResultFalse;
}

bool Processor::prepareEffect (double sampleRate)
{
	effect->sampleRate = static_cast<int32_t> (sampleRate);
	prepared = effect->prepareToProcess ();
	return prepared;
}

tresult PLUGIN_API Processor::setupProcessing (ProcessSetup& setup)
{
	// Rates outside what the delay lines and filters are made for are refused
	// (NaN fails both comparisons). A refused set-up changes nothing: the last
	// accepted one stays in force, so activation still works.
	if (!isSupportedSampleRate (setup.sampleRate))
		return kResultFalse;
	const tresult result = SingleComponentEffect::setupProcessing (setup);
	if (result != kResultOk || !effect)
		return result;
	return prepareEffect (processSetup.sampleRate) ? kResultOk : kResultFalse;
}

tresult PLUGIN_API Processor::setActive (TBool state)
{
	if (state && effect)
		return prepareEffect (processSetup.sampleRate) ? kResultOk : kResultFalse;
	return kResultOk;
}

tresult PLUGIN_API Processor::setBusArrangements (SpeakerArrangement* inputs, int32 numIns,
                                                  SpeakerArrangement* outputs, int32 numOuts)
{
	if (numIns < 0 || numOuts < 0)
		return kInvalidArgument;
	if ((numIns > 0 && !inputs) || (numOuts > 0 && !outputs))
		return kInvalidArgument;
	if (effect && effect->noAudioInput)
	{
		if (numIns == 0 && numOuts == 1 && outputs[0] == SpeakerArr::kStereo)
			return SingleComponentEffect::setBusArrangements (nullptr, 0, outputs, 1);
		return kResultFalse;
	}
	// A frame carries at most two channels: mono->mono and stereo->stereo only.
	if (numIns == 1 && numOuts == 1 && inputs[0] == outputs[0])
	{
		const int32 channels = SpeakerArr::getChannelCount (outputs[0]);
		if (channels >= 1 && channels <= 2)
			return SingleComponentEffect::setBusArrangements (inputs, 1, outputs, 1);
	}
	return kResultFalse;
}

uint32 PLUGIN_API Processor::getLatencySamples ()
{
	return latency;
}

uint32 PLUGIN_API Processor::getTailSamples ()
{
	if (!effect)
		return 0;
	if (effect->options.infiniteTail == 1)
		return kInfiniteTail;
	// The tail of the settings last asked for, whether or not a block has carried them yet:
	// hosts ask when they need it (JUCE on every request, VST 2 hosts with effGetTailSize).
	const std::vector<float> values = latestValues.values ();
	if (static_cast<int32> (values.size ()) != effect->controlCount ())
		return 0;
	const float tailMs = effect->tailTimeMs (values.data ());
	if (tailMs < 0.f)
		return kInfiniteTail;
	const double samples = tailMs * 0.001 * processSetup.sampleRate;
	if (!(samples > 0.))
		return 0;
	if (samples >= 4294967295.)
		return kInfiniteTail;
	return static_cast<uint32> (samples);
}

void Processor::applyControlChange (int32 position, ParamValue v, IParamValueQueue* queue,
                                    int32 numSamples)
{
	ControlDescriptor* d = effect->controlAt (position);
	const double fraction = controlFractionOfHostValue (*d, v);

	CVSTParamUpdateQueue* updateQueue = nullptr;
	if (sampleAccurateUpdates && updateQueues && position < updateQueueCount)
		updateQueue = updateQueues[position];
	if (updateQueue)
		updateQueue->beginBlock (numSamples, queue);
	d->updateQueue = updateQueue;

	effect->setNormalizedValue (position, fraction, false);
	latestValues.setFromBlock (position, static_cast<float> (effect->valueFromNormalized (position, fraction)));
}

void Processor::applyAdapterChange (ParamID id, ParamValue v)
{
	if (applyMidiControllerValue (*effect, id, v))
		return;
	switch (id)
	{
		case kBypassId:
			bypass = v != 0.;
			latestValues.setBypassFromBlock (bypass);
			break;
		case kAssignButton1Id:
		case kAssignButton2Id:
		case kAssignButton3Id:
			effect->onControlChange (50 + (id - kAssignButton1Id));
			break;
		case kJoystickXId:
			joystickX = 2. * v - 1.;
			effect->setJoystickX (static_cast<float> (joystickX), 1);
			break;
		case kJoystickYId:
			joystickY = 2. * v - 1.;
			effect->setJoystickY (static_cast<float> (joystickY), 1);
			break;
		default:
			break;
	}
}

void Processor::applyParameterChanges (ProcessData& data)
{
	// The host's queues of the last block are gone: no update queue may keep
	// pointing at one (controls that change again get theirs below).
	if (updateQueues)
		for (int32 i = 0; i < updateQueueCount; ++i)
			if (updateQueues[i])
				updateQueues[i]->beginBlock (data.numSamples, nullptr);

	IParameterChanges* changes = data.inputParameterChanges;
	if (!changes)
		return;
	const int32 queueCount = changes->getParameterCount ();
	if (queueCount <= 0)
		return;
	// Counted along the control list: only for blocks that bring changes.
	const int32 controlCount = effect->controlCount ();
	for (int32 index = 0; index < queueCount; ++index)
	{
		IParamValueQueue* queue = changes->getParameterData (index);
		if (!queue)
			continue;
		const ParamID id = queue->getParameterId ();
		const int32 pointCount = queue->getPointCount ();
		int32 offset = 0;
		ParamValue value = 0.;
		if (pointCount <= 0 || queue->getPoint (pointCount - 1, offset, value) != kResultOk)
			continue;
		// Values that are not numbers are dropped; the rest is kept inside 0..1.
		if (!std::isfinite (value))
			continue;
		value = clampNormalized (value);
		if (id < static_cast<ParamID> (controlCount) && effect->controlAt (static_cast<int32> (id)))
			applyControlChange (static_cast<int32> (id), value, queue, data.numSamples);
		else
			applyAdapterChange (id, value);
	}
}

void Processor::reportProgramValues (ProcessData& data)
{
	if (!programToReport.load () || !programToReport.exchange (false))
		return;
	IParameterChanges* output = data.outputParameterChanges;
	if (!output)
		return;
	const int32 controls = programValueCount - 2;
	for (int32 k = 0; k < programValueCount; ++k)
	{
		ParamID id = static_cast<ParamID> (k);
		if (k >= controls)
			id = k == controls ? kJoystickXId : kJoystickYId;
		else if (const ControlDescriptor* d = effect->controlAt (k);
		         !d || d->controlType == kControlMeter)
			continue;
		int32 queueIndex = 0;
		if (IParamValueQueue* queue = output->addParameterData (id, queueIndex))
		{
			int32 pointIndex = 0;
			queue->addPoint (0, programValues[static_cast<size_t> (k)].load (), pointIndex);
		}
	}
}

void Processor::writeMeters (ProcessData& data, bool reportValues)
{
	IParameterChanges* output = data.outputParameterChanges;
	if (!output || meterIndices.empty ())
		return;
	int32 sampleOffset = 0;
	for (const int32 position : meterIndices)
	{
		const ControlDescriptor* d = effect->controlAt (position);
		if (!d)
			continue;
		int32 queueIndex = 0;
		IParamValueQueue* queue = output->addParameterData (static_cast<ParamID> (position), queueIndex);
		if (queue && d->meterVariable)
		{
			const double level = reportValues ? clampNormalized (*d->meterVariable) : 0.;
			int32 pointIndex = 0;
			queue->addPoint (sampleOffset, level, pointIndex);
		}
		++sampleOffset;
	}
}

bool Processor::hasRungOutOnSilence (ProcessData& data, int32 channels, uint64 flaggedChannels)
{
	// Sound mostly shows in the first sample.
	for (int32 c = 0; c < channels; ++c)
		if ((flaggedChannels & (1ull << c)) == 0 && data.inputs[0].channelBuffers32[c][0] != 0.f)
			return false;
	// Events and a side chain may make sound of their own.
	if (data.inputEvents && data.inputEvents->getEventCount () > 0)
		return false;
	if (auxInputWanted && data.numInputs > 1)
		return false;
	// The effect answers quickly while it rings: before the whole input is looked through.
	if (!effect->hasRungOut ())
		return false;
	for (int32 c = 0; c < channels; ++c)
	{
		if (flaggedChannels & (1ull << c))
			continue;
		const float* samples = data.inputs[0].channelBuffers32[c];
		for (int32 i = 0; i < data.numSamples; ++i)
			if (samples[i] != 0.f)
				return false;
	}
	return true;
}

void Processor::runFrameLoop (ProcessData& data, float* const* in, int32 channels,
                              HostInfoBlock& hostInfoBlock, bool hasContext)
{
	float sidechainFrame[2] = {0.f, 0.f};

	IEventList* events = data.inputEvents;
	const int32 eventCount = events ? events->getEventCount () : 0;
	Event event {};
	bool pending = eventCount > 0 && events->getEvent (0, event) == kResultOk;
	int32 nextEvent = 1;

	AudioBusBuffers* sidechainBus = nullptr;
	if (auxInputWanted && data.numInputs > 1)
	{
		AudioBus* aux = getAudioInput (1);
		if (aux && aux->isActive () && hasChannels (data.inputs[1], data.inputs[1].numChannels > 1 ? 2 : 1))
			sidechainBus = &data.inputs[1];
	}

	const double secondsPerSample = 1. / effect->sampleRate;
	const int32 numSamples = data.numSamples;
	const uint32_t frameChannels = static_cast<uint32_t> (channels);
	float* const* out = data.outputs[0].channelBuffers32;
	const float* runInputs[2] = {nullptr, nullptr};
	float* runOutputs[2] = {nullptr, nullptr};
	CPlugIn* const fx = effect;
	int32 i = 0;
	while (i < numSamples)
	{
		if (sidechainBus)
		{
			SidechainRecord record {};
			record.structVersion = 1;
			record.channelCount = sidechainBus->numChannels;
			sidechainFrame[0] = sidechainBus->channelBuffers32[0][i];
			sidechainFrame[1] = sidechainBus->numChannels > 1 ? sidechainBus->channelBuffers32[1][i] : 0.f;
			record.frame = sidechainFrame;
			record.present = true;
			fx->onSidechain (&record);
		}
		// Events due at this frame (late or unsorted ones as soon as possible).
		while (pending && event.sampleOffset <= i)
		{
			deliverMidiEvent (*fx, event);
			pending = nextEvent < eventCount && events->getEvent (nextEvent, event) == kResultOk;
			++nextEvent;
		}
		// The frames up to the next event go to the effect in one run (a side-chain frame at a
		// time); the effect still sees them frame by frame, with the host timing after each.
		int32 end = numSamples;
		if (sidechainBus)
			end = i + 1;
		else if (pending && event.sampleOffset < end)
			end = event.sampleOffset;
		for (int32 c = 0; c < channels; ++c)
		{
			runInputs[c] = in ? in[c] + i : nullptr;
			runOutputs[c] = out[c] + i;
		}
		fx->processFrameRun (in ? runInputs : nullptr, runOutputs, frameChannels,
		                     static_cast<uint32_t> (end - i), hostInfoBlock, hasContext, secondsPerSample);
		i = end;
	}
}

void Processor::runBlock (ProcessData& data, float** inputChannels, int32 channels)
{
	if (auxInputWanted && data.numInputs > 1)
	{
		AudioBus* aux = getAudioInput (1);
		if (aux && aux->isActive () && data.inputs[1].channelBuffers32)
		{
			SidechainRecord record {};
			record.structVersion = 1;
			record.channelBuffers = data.inputs[1].channelBuffers32;
			record.channelCount = data.inputs[1].numChannels;
			record.present = true;
			effect->onSidechain (&record);
		}
	}
	if (!effect->noAudioInput)
	{
		effect->processChannelBuffers (inputChannels, data.outputs[0].channelBuffers32,
		                               static_cast<uint32_t> (channels),
		                               static_cast<uint32_t> (data.numSamples));
		return;
	}
	// The silent stand-in input is short: longer blocks go in pieces.
	float** outputs = data.outputs[0].channelBuffers32;
	for (int32 start = 0; start < data.numSamples; start += kSilentInputLength)
	{
		const int32 length = data.numSamples - start < kSilentInputLength ? data.numSamples - start
		                                                                   : kSilentInputLength;
		float* outputPiece[2] = {outputs[0] + start, channels > 1 ? outputs[1] + start : nullptr};
		effect->processChannelBuffers (silentInputChannels, outputPiece,
		                               static_cast<uint32_t> (channels),
		                               static_cast<uint32_t> (length));
	}
}

tresult PLUGIN_API Processor::process (ProcessData& data)
{
	if (!effect)
		return kResultFalse;
	const FlushSubnormalsScope flushSubnormals;

	SpeakerArrangement arrangement = 0;
	int32 channels = 0;
	if (getBusArrangement (kOutput, 0, arrangement) == kResultOk)
		channels = SpeakerArr::getChannelCount (arrangement);
	if (channels > 2)
		channels = 2;

	// Changes count even in blocks without audio (hosts flush parameters that way).
	applyParameterChanges (data);
	reportProgramValues (data);

	const bool takesInput = !effect->noAudioInput;
	if (!data.outputs || data.numOutputs <= 0 || (takesInput && (!data.inputs || data.numInputs <= 0)))
		return kResultOk;
	if (data.numSamples <= 0 || channels <= 0)
		return kResultOk;
	if (data.symbolicSampleSize != kSample32)
		return kResultFalse;

	AudioBusBuffers& output = data.outputs[0];
	if (!hasChannels (output, channels))
		return kResultOk;
	// Without usable input, or before the effect is ready, the block is silent.
	if (!prepared || (takesInput && !hasChannels (data.inputs[0], channels)))
	{
		clearOutput (output, channels, data.numSamples);
		output.silenceFlags = (1ull << channels) - 1;
		return kResultOk;
	}

	HostInfoBlock hostInfoBlock {};
	const bool hasContext = data.processContext != nullptr;
	if (hasContext)
	{
		const ProcessContext& context = *data.processContext;
		hostInfoBlock.samplePosition = static_cast<uint32_t> (context.projectTimeSamples);
		hostInfoBlock.timeSeconds =
		    static_cast<double> (hostInfoBlock.samplePosition) * (1. / effect->sampleRate);
		hostInfoBlock.tempoBpm = context.tempo;
		hostInfoBlock.timeSigNumerator = static_cast<float> (context.timeSigNumerator);
		hostInfoBlock.timeSigDenominator = static_cast<uint32_t> (context.timeSigDenominator);
		EffectMessage message {};
		message.hostInfo = &hostInfoBlock;
		message.entryCount = -1;
		effect->handleMessage (kMessageHostInfo, &message);
		// A host that gives no tempo leaves the effect at the last one it gave.
		if ((context.state & ProcessContext::kTempoValid) != 0)
			effect->setHostTempo (context.tempo);
	}

	// An effect whose output rings on runs on silent input until it has rung out; any other
	// (and a bypassed one) trusts the host's silence flags at once.
	const bool ringsOn = takesInput && effect->runsOnSilence && !bypass;
	if (takesInput && !ringsOn && data.inputs[0].silenceFlags != 0)
	{
		output.silenceFlags = data.inputs[0].silenceFlags;
		for (int32 c = 0; c < channels; ++c)
			if (data.inputs[0].channelBuffers32[c] != output.channelBuffers32[c])
				std::memset (output.channelBuffers32[c], 0,
				             sizeof (float) * static_cast<size_t> (data.numSamples));
		return kResultOk;
	}
	output.silenceFlags = 0;

	float* inputChannels[2] = {nullptr, nullptr};
	if (takesInput)
		for (int32 c = 0; c < channels; ++c)
			inputChannels[c] = data.inputs[0].channelBuffers32[c];
	if (ringsOn)
	{
		const uint64 allChannels = (1ull << channels) - 1;
		const uint64 flagged = data.inputs[0].silenceFlags & allChannels;
		if (hasRungOutOnSilence (data, channels, flagged))
		{
			clearOutput (output, channels, data.numSamples);
			output.silenceFlags = allChannels;
			return kResultOk;
		}
		// A flagged channel is silence whatever its buffer holds: the effect reads zeros from
		// the output buffer instead (unless that is another channel's input).
		for (int32 c = 0; flagged != 0 && c < channels; ++c)
		{
			float* out = output.channelBuffers32[c];
			if ((flagged & (1ull << c)) == 0 || (channels == 2 && out == inputChannels[1 - c]))
				continue;
			std::memset (out, 0, sizeof (float) * static_cast<size_t> (data.numSamples));
			inputChannels[c] = out;
		}
	}

	if (takesInput && bypass)
	{
		copyChannels (data.inputs[0], output, channels, data.numSamples);
		return kResultOk;
	}

	if (midiEventList)
		midiEventList->beginBlock (data.inputEvents);
	if (!effect->wantsBuffers)
	{
		runFrameLoop (data, takesInput ? inputChannels : nullptr, channels, hostInfoBlock, hasContext);
		writeMeters (data, true);
	}
	else
	{
		runBlock (data, inputChannels, channels);
		writeMeters (data, false);
	}
	if (midiEventList)
		midiEventList->endBlock ();
	return kResultOk;
}

} // namespace Vire2VUR3
