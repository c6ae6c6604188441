// The audio side of the VST 2 wrapper: processing set-up and activation,
// processReplacing on the main buses, MIDI events, host time, and the
// parameter changes that reach the next process call.
#pragma once

#include "Vst2Abi.h"
#include "Vst2EventList.h"
#include "Vst2ParameterChanges.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"

#include <atomic>
#include <memory>
#include <vector>

namespace Steinberg {
namespace Vst {

class Vst2AudioBridge
{
public:
	// changeIds: every parameter id the host or the editor may change; their
	// position is the slot given to queueChange.
	Vst2AudioBridge (IComponent* component, IAudioProcessor* processor, IMidiMapping* midiMapping,
	                 std::vector<ParamID> changeIds, vst_effect* effect, Vst2Abi::HostCallback hostCallback);

	// Activates the main audio buses and the first event input, deactivates the
	// others. False when the plug-in cannot process 32-bit samples.
	bool setupBuses ();
	int32 inputChannels () const { return mainInputChannels; }
	int32 outputChannels () const { return mainOutputChannels; }
	bool hasEventInput () const { return eventInputBus >= 0; }

	// Main thread. Changing set-up while active restarts processing.
	bool setSampleRate (double rate);
	// Sizes above kLargestBlock are taken as kLargestBlock: longer host blocks are cut into
	// pieces anyway, and the scratch buffers must not grow with whatever a host announces.
	bool setBlockSize (int32 size);
	static constexpr int32 kLargestBlock = 65536;
	double getSampleRate () const { return sampleRate; }
	int32 getBlockSize () const { return blockSize; }
	void resume ();
	void suspend ();
	bool isActive () const { return active; }
	// Asks the plug-in for these channel counts on its main buses (suspended only).
	bool setMainChannels (int32 inputs, int32 outputs);

	// Any thread: the value reaches the plug-in's next process call.
	void queueChange (int32 slot, ParamValue value);
	// Forgets the changes not yet delivered (a state loaded after them replaces them).
	void discardPendingChanges ();
	int32 slotOf (ParamID id) const;

	// Audio thread.
	void processEvents (const Vst2Abi::Events* events);
	void processReplacing (const float* const* inputs, float** outputs, int32 samples);
	void processAccumulating (const float* const* inputs, float** outputs, int32 samples);

private:
	struct PendingChange
	{
		std::atomic<double> value {0.0};
		std::atomic<bool> dirty {false};
	};

	bool applyProcessSetup ();
	// False when the host left out a buffer of the main buses.
	bool hasAllChannels (const float* const* inputs, float** outputs) const;
	void takePendingChanges ();
	void readHostTime (int32 samples);
	void handleMidiEvent (const Vst2Abi::MidiEvent& midi, int32 offset);
	void addControllerChange (int16 channel, int32 controller, ParamValue value, int32 offset);
	void runProcess (const float* const* inputs, float** outputs, int32 samples);

	IComponent* component;
	IAudioProcessor* processor;
	IMidiMapping* midiMapping;
	std::vector<ParamID> changeIds;
	std::unique_ptr<PendingChange[]> pending;
	vst_effect* effect;
	Vst2Abi::HostCallback hostCallback;

	int32 mainInputBus {-1};
	int32 mainOutputBus {-1};
	int32 mainInputChannels {0};
	int32 mainOutputChannels {0};
	int32 eventInputBus {-1};
	std::vector<AudioBusBuffers> inputBuffers;
	std::vector<AudioBusBuffers> outputBuffers;

	double sampleRate {44100.0};
	int32 blockSize {1024};
	// What the host asked for last (resume or suspend); active only once the plug-in also
	// took the set-up.
	bool resumed {false};
	bool active {false};
	int64 continuousSamples {0};

	Vst2ParameterChanges inputChanges;
	Vst2ParameterChanges outputChanges;
	Vst2EventList eventList;
	ProcessContext context {};
	// Scratch for hosts that still call the accumulating process.
	std::vector<float> scratch;
	std::vector<float*> scratchChannels;
};

} // namespace Vst
} // namespace Steinberg
