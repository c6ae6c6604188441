#include "Vst2AudioBridge.h"

#include "pluginterfaces/vst/ivstmidicontrollers.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace Steinberg {
namespace Vst {

namespace {

constexpr int32 kTimeRequest = Vst2Abi::kNanosValid | Vst2Abi::kPpqPosValid | Vst2Abi::kTempoValid |
                               Vst2Abi::kBarsValid | Vst2Abi::kCyclePosValid | Vst2Abi::kTimeSigValid |
                               Vst2Abi::kSmpteValid | Vst2Abi::kClockValid;

SpeakerArrangement arrangementFor (int32 channels)
{
	if (channels == 1)
		return SpeakerArr::kMono;
	if (channels == 2)
		return SpeakerArr::kStereo;
	return SpeakerArr::kEmpty;
}

} // namespace

Vst2AudioBridge::Vst2AudioBridge (IComponent* component, IAudioProcessor* processor,
                                  IMidiMapping* midiMapping, std::vector<ParamID> ids,
                                  vst_effect* effect, Vst2Abi::HostCallback hostCallback)
: component (component)
, processor (processor)
, midiMapping (midiMapping)
, changeIds (std::move (ids))
, pending (new PendingChange[changeIds.size () + 1])
, effect (effect)
, hostCallback (hostCallback)
// MIDI controllers may map to any parameter, so room for all of them plus a few.
, inputChanges (static_cast<int32> (changeIds.size ()) + 16)
, outputChanges (static_cast<int32> (changeIds.size ()) + 16)
{
}

bool Vst2AudioBridge::setupBuses ()
{
	if (component == nullptr || processor == nullptr)
		return false;
	if (processor->canProcessSampleSize (kSample32) != kResultTrue)
		return false;

	const int32 inputs = component->getBusCount (kAudio, kInput);
	const int32 outputs = component->getBusCount (kAudio, kOutput);
	inputBuffers.assign (static_cast<size_t> (std::max (inputs, 0)), AudioBusBuffers ());
	outputBuffers.assign (static_cast<size_t> (std::max (outputs, 0)), AudioBusBuffers ());

	for (int32 i = 0; i < inputs; ++i)
	{
		BusInfo info {};
		if (component->getBusInfo (kAudio, kInput, i, info) != kResultOk)
			continue;
		const bool isMain = info.busType == kMain && mainInputBus < 0;
		if (isMain)
		{
			mainInputBus = i;
			mainInputChannels = std::min (std::max (info.channelCount, 0), static_cast<int32> (VST_MAX_CHANNELS));
		}
		component->activateBus (kAudio, kInput, i, isMain);
	}
	for (int32 i = 0; i < outputs; ++i)
	{
		BusInfo info {};
		if (component->getBusInfo (kAudio, kOutput, i, info) != kResultOk)
			continue;
		const bool isMain = info.busType == kMain && mainOutputBus < 0;
		if (isMain)
		{
			mainOutputBus = i;
			mainOutputChannels = std::min (std::max (info.channelCount, 0), static_cast<int32> (VST_MAX_CHANNELS));
		}
		component->activateBus (kAudio, kOutput, i, isMain);
	}
	const int32 eventInputs = component->getBusCount (kEvent, kInput);
	for (int32 i = 0; i < eventInputs; ++i)
	{
		const bool first = i == 0;
		component->activateBus (kEvent, kInput, i, first);
		if (first)
			eventInputBus = 0;
	}
	return true;
}

bool Vst2AudioBridge::setMainChannels (int32 inputs, int32 outputs)
{
	if (active || processor == nullptr)
		return false;
	if ((mainInputBus < 0 && inputs != 0) || (mainOutputBus < 0 && outputs != 0))
		return false;

	std::vector<SpeakerArrangement> ins (inputBuffers.size (), SpeakerArr::kEmpty);
	std::vector<SpeakerArrangement> outs (outputBuffers.size (), SpeakerArr::kEmpty);
	for (size_t i = 0; i < ins.size (); ++i)
		processor->getBusArrangement (kInput, static_cast<int32> (i), ins[i]);
	for (size_t i = 0; i < outs.size (); ++i)
		processor->getBusArrangement (kOutput, static_cast<int32> (i), outs[i]);
	if (mainInputBus >= 0)
	{
		ins[static_cast<size_t> (mainInputBus)] = arrangementFor (inputs);
		if (ins[static_cast<size_t> (mainInputBus)] == SpeakerArr::kEmpty)
			return false;
	}
	if (mainOutputBus >= 0)
	{
		outs[static_cast<size_t> (mainOutputBus)] = arrangementFor (outputs);
		if (outs[static_cast<size_t> (mainOutputBus)] == SpeakerArr::kEmpty)
			return false;
	}
	if (processor->setBusArrangements (ins.data (), static_cast<int32> (ins.size ()), outs.data (),
	                                   static_cast<int32> (outs.size ())) != kResultTrue)
		return false;
	if (mainInputBus >= 0)
		mainInputChannels = inputs;
	if (mainOutputBus >= 0)
		mainOutputChannels = outputs;
	return true;
}

bool Vst2AudioBridge::setSampleRate (double rate)
{
	if (!(rate > 0.0) || !std::isfinite (rate))
		return false;
	const bool wasResumed = resumed;
	suspend ();
	sampleRate = rate;
	if (wasResumed)
		resume ();
	return true;
}

bool Vst2AudioBridge::setBlockSize (int32 size)
{
	if (size <= 0)
		return false;
	const bool wasResumed = resumed;
	suspend ();
	blockSize = std::min (size, kLargestBlock);
	if (wasResumed)
		resume ();
	return true;
}

bool Vst2AudioBridge::applyProcessSetup ()
{
	ProcessSetup setup {};
	setup.processMode = kRealtime;
	setup.symbolicSampleSize = kSample32;
	setup.maxSamplesPerBlock = blockSize;
	setup.sampleRate = sampleRate;
	const bool accepted = processor->setupProcessing (setup) == kResultOk;

	scratch.assign (static_cast<size_t> (blockSize) * static_cast<size_t> (std::max (mainOutputChannels, 0)), 0.f);
	scratchChannels.assign (static_cast<size_t> (std::max (mainOutputChannels, 0)), nullptr);
	for (size_t c = 0; c < scratchChannels.size (); ++c)
		scratchChannels[c] = scratch.data () + c * static_cast<size_t> (blockSize);
	return accepted;
}

void Vst2AudioBridge::resume ()
{
	resumed = true;
	if (active || processor == nullptr)
		return;
	// A VST 2 host cannot hear that a set-up was refused: rather than run at the last
	// accepted rate, stay silent until the host offers one the plug-in takes.
	if (!applyProcessSetup ())
		return;
	component->setActive (true);
	processor->setProcessing (true);
	active = true;
}

void Vst2AudioBridge::suspend ()
{
	resumed = false;
	if (!active)
		return;
	processor->setProcessing (false);
	component->setActive (false);
	active = false;
}

int32 Vst2AudioBridge::slotOf (ParamID id) const
{
	for (size_t i = 0; i < changeIds.size (); ++i)
		if (changeIds[i] == id)
			return static_cast<int32> (i);
	return -1;
}

void Vst2AudioBridge::queueChange (int32 slot, ParamValue value)
{
	if (slot < 0 || slot >= static_cast<int32> (changeIds.size ()))
		return;
	pending[slot].value.store (value, std::memory_order_relaxed);
	pending[slot].dirty.store (true, std::memory_order_release);
}

void Vst2AudioBridge::discardPendingChanges ()
{
	for (size_t i = 0; i < changeIds.size (); ++i)
		pending[i].dirty.store (false, std::memory_order_release);
}

void Vst2AudioBridge::takePendingChanges ()
{
	for (size_t i = 0; i < changeIds.size (); ++i)
	{
		if (!pending[i].dirty.exchange (false, std::memory_order_acquire))
			continue;
		inputChanges.addChange (changeIds[i], 0, pending[i].value.load (std::memory_order_relaxed));
	}
}

//------------------------------------------------------------------------
void Vst2AudioBridge::processEvents (const Vst2Abi::Events* events)
{
	if (events == nullptr || events->numEvents <= 0)
		return;
	for (int32 i = 0; i < events->numEvents; ++i)
	{
		const Vst2Abi::Event* event = events->events[i];
		if (event == nullptr || event->type != Vst2Abi::kMidiEventType)
			continue;
		const auto* midi = reinterpret_cast<const Vst2Abi::MidiEvent*> (event);
		const int32 offset = std::min (std::max (midi->deltaFrames, 0), blockSize - 1);
		handleMidiEvent (*midi, offset);
	}
}

void Vst2AudioBridge::handleMidiEvent (const Vst2Abi::MidiEvent& midi, int32 offset)
{
	const auto status = static_cast<uint8> (midi.midiData[0]) & 0xF0;
	const auto channel = static_cast<int16> (static_cast<uint8> (midi.midiData[0]) & 0x0F);
	const auto data1 = static_cast<int16> (static_cast<uint8> (midi.midiData[1]) & 0x7F);
	const auto data2 = static_cast<int16> (static_cast<uint8> (midi.midiData[2]) & 0x7F);

	Event e {};
	e.busIndex = 0;
	e.sampleOffset = offset;
	e.flags = Event::kIsLive;

	switch (status)
	{
		case 0x90:
			if (data2 > 0)
			{
				e.type = Event::kNoteOnEvent;
				e.noteOn.channel = channel;
				e.noteOn.pitch = data1;
				e.noteOn.velocity = static_cast<float> (data2) / 127.f;
				e.noteOn.noteId = -1;
				break;
			}
			[[fallthrough]]; // note-on with velocity 0 is a note-off
		case 0x80:
			e.type = Event::kNoteOffEvent;
			e.noteOff.channel = channel;
			e.noteOff.pitch = data1;
			e.noteOff.velocity = status == 0x80 ? static_cast<float> (data2) / 127.f : 0.f;
			e.noteOff.noteId = -1;
			break;
		case 0xA0:
			e.type = Event::kPolyPressureEvent;
			e.polyPressure.channel = channel;
			e.polyPressure.pitch = data1;
			e.polyPressure.pressure = static_cast<float> (data2) / 127.f;
			e.polyPressure.noteId = -1;
			break;
		case 0xB0:
			addControllerChange (channel, data1, static_cast<ParamValue> (data2) / 127.0, offset);
			return;
		case 0xD0:
			addControllerChange (channel, kAfterTouch, static_cast<ParamValue> (data1) / 127.0, offset);
			return;
		case 0xE0:
			addControllerChange (channel, kPitchBend,
			                     static_cast<ParamValue> (data1 | (data2 << 7)) / 16383.0, offset);
			return;
		default:
			return;
	}
	if (eventInputBus >= 0)
		eventList.addEvent (e);
}

void Vst2AudioBridge::addControllerChange (int16 channel, int32 controller, ParamValue value, int32 offset)
{
	if (midiMapping == nullptr)
		return;
	ParamID id = kNoParamId;
	if (midiMapping->getMidiControllerAssignment (0, channel, static_cast<CtrlNumber> (controller), id) !=
	    kResultTrue)
		return;
	inputChanges.addChange (id, offset, value);
}

//------------------------------------------------------------------------
void Vst2AudioBridge::readHostTime (int32 samples)
{
	context = ProcessContext ();
	context.sampleRate = sampleRate;
	context.continousTimeSamples = continuousSamples;
	continuousSamples += samples;

	const Vst2Abi::TimeInfo* time = nullptr;
	if (hostCallback != nullptr)
		time = reinterpret_cast<const Vst2Abi::TimeInfo*> (
		    hostCallback (effect, Vst2Abi::kHostGetTime, 0, kTimeRequest, nullptr, 0.f));
	if (time == nullptr)
		return;

	const int32 flags = time->flags;
	context.projectTimeSamples = static_cast<TSamples> (time->samplePos);
	if (flags & Vst2Abi::kTransportPlaying)
		context.state |= ProcessContext::kPlaying;
	if (flags & Vst2Abi::kTransportCycleActive)
		context.state |= ProcessContext::kCycleActive;
	if (flags & Vst2Abi::kTransportRecording)
		context.state |= ProcessContext::kRecording;
	if (flags & Vst2Abi::kNanosValid)
	{
		context.state |= ProcessContext::kSystemTimeValid;
		context.systemTime = static_cast<int64> (time->nanoSeconds);
	}
	if (flags & Vst2Abi::kPpqPosValid)
	{
		context.state |= ProcessContext::kProjectTimeMusicValid;
		context.projectTimeMusic = time->ppqPos;
	}
	if (flags & Vst2Abi::kTempoValid)
	{
		context.state |= ProcessContext::kTempoValid;
		context.tempo = time->tempo;
	}
	if (flags & Vst2Abi::kBarsValid)
	{
		context.state |= ProcessContext::kBarPositionValid;
		context.barPositionMusic = time->barStartPos;
	}
	if (flags & Vst2Abi::kCyclePosValid)
	{
		context.state |= ProcessContext::kCycleValid;
		context.cycleStartMusic = time->cycleStartPos;
		context.cycleEndMusic = time->cycleEndPos;
	}
	if (flags & Vst2Abi::kTimeSigValid)
	{
		context.state |= ProcessContext::kTimeSigValid;
		context.timeSigNumerator = time->timeSigNumerator;
		context.timeSigDenominator = time->timeSigDenominator;
	}
	if (flags & Vst2Abi::kSmpteValid)
	{
		context.state |= ProcessContext::kSmpteValid;
		context.smpteOffsetSubframes = time->smpteOffset;
	}
	if (flags & Vst2Abi::kClockValid)
	{
		context.state |= ProcessContext::kClockValid;
		context.samplesToNextClock = time->samplesToNextClock;
	}
}

void Vst2AudioBridge::runProcess (const float* const* inputs, float** outputs, int32 samples)
{
	float* inPieces[VST_MAX_CHANNELS] {};
	float* outPieces[VST_MAX_CHANNELS] {};

	for (auto& bus : inputBuffers)
		bus = AudioBusBuffers ();
	for (auto& bus : outputBuffers)
		bus = AudioBusBuffers ();
	if (mainInputBus >= 0)
	{
		auto& bus = inputBuffers[static_cast<size_t> (mainInputBus)];
		bus.numChannels = mainInputChannels;
		bus.channelBuffers32 = inPieces;
	}
	if (mainOutputBus >= 0)
	{
		auto& bus = outputBuffers[static_cast<size_t> (mainOutputBus)];
		bus.numChannels = mainOutputChannels;
		bus.channelBuffers32 = outPieces;
	}

	ProcessData data;
	data.processMode = kRealtime;
	data.symbolicSampleSize = kSample32;
	data.numInputs = static_cast<int32> (inputBuffers.size ());
	data.numOutputs = static_cast<int32> (outputBuffers.size ());
	data.inputs = inputBuffers.empty () ? nullptr : inputBuffers.data ();
	data.outputs = outputBuffers.empty () ? nullptr : outputBuffers.data ();
	data.inputParameterChanges = &inputChanges;
	data.outputParameterChanges = &outputChanges;
	data.inputEvents = eventInputBus >= 0 ? &eventList : nullptr;
	data.processContext = &context;

	// Blocks longer than announced are cut into pieces of the announced size;
	// the changes and events of the call go with the first piece.
	int32 done = 0;
	while (done < samples)
	{
		const int32 count = std::min (samples - done, blockSize);
		for (int32 c = 0; c < mainInputChannels; ++c)
			inPieces[c] = const_cast<float*> (inputs[c]) + done;
		for (int32 c = 0; c < mainOutputChannels; ++c)
			outPieces[c] = outputs[c] + done;
		data.numSamples = count;
		outputChanges.clear ();
		processor->process (data);
		if (done == 0)
		{
			inputChanges.clear ();
			eventList.clear ();
		}
		done += count;
	}
	inputChanges.clear ();
	eventList.clear ();
}

bool Vst2AudioBridge::hasAllChannels (const float* const* inputs, float** outputs) const
{
	if (outputs == nullptr || (mainInputChannels > 0 && inputs == nullptr))
		return false;
	for (int32 c = 0; c < mainInputChannels; ++c)
		if (inputs[c] == nullptr)
			return false;
	for (int32 c = 0; c < mainOutputChannels; ++c)
		if (outputs[c] == nullptr)
			return false;
	return true;
}

void Vst2AudioBridge::processReplacing (const float* const* inputs, float** outputs, int32 samples)
{
	if (samples <= 0 || outputs == nullptr)
		return;
	if (!active || !hasAllChannels (inputs, outputs))
	{
		// Hosts that process without resuming, or leave out a buffer, get silence.
		for (int32 c = 0; c < mainOutputChannels; ++c)
			if (outputs[c] != nullptr)
				std::memset (outputs[c], 0, sizeof (float) * static_cast<size_t> (samples));
		inputChanges.clear ();
		eventList.clear ();
		return;
	}
	takePendingChanges ();
	readHostTime (samples);
	runProcess (inputs, outputs, samples);
}

void Vst2AudioBridge::processAccumulating (const float* const* inputs, float** outputs, int32 samples)
{
	if (samples <= 0 || !active || !hasAllChannels (inputs, outputs))
		return;
	takePendingChanges ();
	readHostTime (samples);
	int32 done = 0;
	float* inPieces[VST_MAX_CHANNELS] {};
	while (done < samples)
	{
		const int32 count = std::min (samples - done, blockSize);
		for (int32 c = 0; c < mainInputChannels; ++c)
			inPieces[c] = const_cast<float*> (inputs[c]) + done;
		runProcess (inPieces, scratchChannels.data (), count);
		for (int32 c = 0; c < mainOutputChannels; ++c)
			for (int32 s = 0; s < count; ++s)
				outputs[c][done + s] += scratchChannels[static_cast<size_t> (c)][s];
		done += count;
	}
}

} // namespace Vst
} // namespace Steinberg
