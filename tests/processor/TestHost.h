// Host-side objects for driving a Processor in-process: parameter changes,
// event lists, a component handler that records what the plug-in tells the
// host, and a block of audio buffers.
#pragma once

#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstevents.h"
#include "pluginterfaces/vst/ivsthostapplication.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <utility>
#include <vector>

namespace TestHost {

using namespace Steinberg;
using namespace Steinberg::Vst;

// Plain implementations without reference counting: the tests own them on the stack.
#define TESTHOST_NO_REFCOUNT                                                          \
	tresult PLUGIN_API queryInterface (const TUID, void** obj) override               \
	{                                                                                 \
		*obj = nullptr;                                                               \
		return kNoInterface;                                                          \
	}                                                                                 \
	uint32 PLUGIN_API addRef () override { return 1; }                                \
	uint32 PLUGIN_API release () override { return 1; }

class ValueQueue : public IParamValueQueue
{
public:
	explicit ValueQueue (ParamID parameterId) : id (parameterId) {}
	ParamID PLUGIN_API getParameterId () override { return id; }
	int32 PLUGIN_API getPointCount () override { return static_cast<int32> (points.size ()); }
	tresult PLUGIN_API getPoint (int32 index, int32& sampleOffset, ParamValue& value) override
	{
		if (index < 0 || index >= getPointCount ())
			return kResultFalse;
		sampleOffset = points[static_cast<size_t> (index)].first;
		value = points[static_cast<size_t> (index)].second;
		return kResultOk;
	}
	tresult PLUGIN_API addPoint (int32 sampleOffset, ParamValue value, int32& index) override
	{
		index = getPointCount ();
		points.emplace_back (sampleOffset, value);
		return kResultOk;
	}
	TESTHOST_NO_REFCOUNT

	ParamID id;
	std::vector<std::pair<int32, ParamValue>> points;
};

class ParameterChanges : public IParameterChanges
{
public:
	ParameterChanges () { queues.reserve (64); }
	int32 PLUGIN_API getParameterCount () override { return static_cast<int32> (queues.size ()); }
	IParamValueQueue* PLUGIN_API getParameterData (int32 index) override
	{
		if (index < 0 || index >= getParameterCount ())
			return nullptr;
		return &queues[static_cast<size_t> (index)];
	}
	IParamValueQueue* PLUGIN_API addParameterData (const ParamID& id, int32& index) override
	{
		index = getParameterCount ();
		queues.emplace_back (id);
		return &queues.back ();
	}
	TESTHOST_NO_REFCOUNT

	// Adds one change (a queue with one point).
	void add (ParamID id, ParamValue value, int32 offset = 0)
	{
		int32 index = 0;
		addParameterData (id, index)->addPoint (offset, value, index);
	}
	ValueQueue* find (ParamID id)
	{
		for (auto& queue : queues)
			if (queue.id == id)
				return &queue;
		return nullptr;
	}
	void clear () { queues.clear (); }

	std::vector<ValueQueue> queues;
};

class EventList : public IEventList
{
public:
	int32 PLUGIN_API getEventCount () override { return static_cast<int32> (events.size ()); }
	tresult PLUGIN_API getEvent (int32 index, Event& e) override
	{
		if (index < 0 || index >= getEventCount ())
			return kResultFalse;
		e = events[static_cast<size_t> (index)];
		return kResultOk;
	}
	tresult PLUGIN_API addEvent (Event& e) override
	{
		events.push_back (e);
		return kResultOk;
	}
	TESTHOST_NO_REFCOUNT

	void noteOn (int32 offset, int16 pitch, float velocity, int16 channel = 0)
	{
		Event e {};
		e.type = Event::kNoteOnEvent;
		e.sampleOffset = offset;
		e.noteOn.channel = channel;
		e.noteOn.pitch = pitch;
		e.noteOn.velocity = velocity;
		events.push_back (e);
	}
	void noteOff (int32 offset, int16 pitch, float velocity, int16 channel = 0)
	{
		Event e {};
		e.type = Event::kNoteOffEvent;
		e.sampleOffset = offset;
		e.noteOff.channel = channel;
		e.noteOff.pitch = pitch;
		e.noteOff.velocity = velocity;
		events.push_back (e);
	}
	void polyPressure (int32 offset, int16 pitch, float pressure, int16 channel = 0)
	{
		Event e {};
		e.type = Event::kPolyPressureEvent;
		e.sampleOffset = offset;
		e.polyPressure.channel = channel;
		e.polyPressure.pitch = pitch;
		e.polyPressure.pressure = pressure;
		events.push_back (e);
	}

	std::vector<Event> events;
};

// A host context that offers its run loop, as some hosts do: the test runs its timers.
class RunLoopHost : public IHostApplication, public Linux::IRunLoop
{
public:
	tresult PLUGIN_API getName (String128 out) override
	{
		out[0] = 0;
		return kResultOk;
	}
	tresult PLUGIN_API createInstance (TUID, TUID, void** obj) override
	{
		*obj = nullptr;
		return kNotImplemented;
	}
	tresult PLUGIN_API registerEventHandler (Linux::IEventHandler*, Linux::FileDescriptor) override
	{
		return kNotImplemented;
	}
	tresult PLUGIN_API unregisterEventHandler (Linux::IEventHandler*) override
	{
		return kNotImplemented;
	}
	tresult PLUGIN_API registerTimer (Linux::ITimerHandler* handler, Linux::TimerInterval) override
	{
		timers.push_back (handler);
		return kResultOk;
	}
	tresult PLUGIN_API unregisterTimer (Linux::ITimerHandler* handler) override
	{
		for (auto it = timers.begin (); it != timers.end (); ++it)
			if (*it == handler)
			{
				timers.erase (it);
				return kResultOk;
			}
		return kInvalidArgument;
	}
	void runTimers ()
	{
		for (Linux::ITimerHandler* timer : std::vector<Linux::ITimerHandler*> (timers))
			timer->onTimer ();
	}
	tresult PLUGIN_API queryInterface (const TUID iid, void** obj) override
	{
		if (FUnknownPrivate::iidEqual (iid, Linux::IRunLoop::iid))
		{
			*obj = static_cast<Linux::IRunLoop*> (this);
			return kResultOk;
		}
		if (FUnknownPrivate::iidEqual (iid, IHostApplication::iid) ||
		    FUnknownPrivate::iidEqual (iid, FUnknown::iid))
		{
			*obj = static_cast<IHostApplication*> (this);
			return kResultOk;
		}
		*obj = nullptr;
		return kNoInterface;
	}
	uint32 PLUGIN_API addRef () override { return 1; }
	uint32 PLUGIN_API release () override { return 1; }

	std::vector<Linux::ITimerHandler*> timers;
};

class ComponentHandler : public IComponentHandler
{
public:
	tresult PLUGIN_API beginEdit (ParamID id) override
	{
		begins.push_back (id);
		return kResultOk;
	}
	tresult PLUGIN_API performEdit (ParamID id, ParamValue value) override
	{
		edits.emplace_back (id, value);
		return kResultOk;
	}
	tresult PLUGIN_API endEdit (ParamID id) override
	{
		ends.push_back (id);
		return kResultOk;
	}
	tresult PLUGIN_API restartComponent (int32 flags) override
	{
		restarts.push_back (flags);
		return kResultOk;
	}
	tresult PLUGIN_API queryInterface (const TUID iid, void** obj) override
	{
		if (FUnknownPrivate::iidEqual (iid, IComponentHandler::iid) ||
		    FUnknownPrivate::iidEqual (iid, FUnknown::iid))
		{
			*obj = static_cast<IComponentHandler*> (this);
			return kResultOk;
		}
		*obj = nullptr;
		return kNoInterface;
	}
	uint32 PLUGIN_API addRef () override { return 1; }
	uint32 PLUGIN_API release () override { return 1; }

	std::vector<ParamID> begins;
	std::vector<std::pair<ParamID, ParamValue>> edits;
	std::vector<ParamID> ends;
	std::vector<int32> restarts;
};

// Input and output buffers of one block, separate or in place.
class AudioBlock
{
public:
	AudioBlock (int32 channels, int32 frames)
	: channelCount (channels)
	, frameCount (frames)
	, input (static_cast<size_t> (channels), std::vector<float> (static_cast<size_t> (frames), 0.f))
	, output (static_cast<size_t> (channels), std::vector<float> (static_cast<size_t> (frames), 0.f))
	{
		for (int32 c = 0; c < channels; ++c)
		{
			inputPointers[c] = input[static_cast<size_t> (c)].data ();
			outputPointers[c] = output[static_cast<size_t> (c)].data ();
		}
		inputBus.numChannels = channels;
		inputBus.channelBuffers32 = inputPointers;
		outputBus.numChannels = channels;
		outputBus.channelBuffers32 = outputPointers;
		data.processMode = kRealtime;
		data.symbolicSampleSize = kSample32;
		data.numSamples = frames;
		data.numInputs = 1;
		data.numOutputs = 1;
		data.inputs = &inputBus;
		data.outputs = &outputBus;
	}
	AudioBlock (const AudioBlock&) = delete;
	AudioBlock& operator= (const AudioBlock&) = delete;

	float& in (int32 channel, int32 frame) { return input[static_cast<size_t> (channel)][static_cast<size_t> (frame)]; }
	float& out (int32 channel, int32 frame) { return output[static_cast<size_t> (channel)][static_cast<size_t> (frame)]; }

	int32 channelCount;
	int32 frameCount;
	std::vector<std::vector<float>> input;
	std::vector<std::vector<float>> output;
	float* inputPointers[2] = {nullptr, nullptr};
	float* outputPointers[2] = {nullptr, nullptr};
	AudioBusBuffers inputBus {};
	AudioBusBuffers outputBus {};
	ProcessData data {};
};

} // namespace TestHost
