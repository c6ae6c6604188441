// One instance of a plug-in class, driven through the VST 3 interfaces only: creation through the
// factory, initialize, bus arrangements, setupProcessing, setActive, setProcessing, process with
// parameter changes, events and a process context, state, parameters and programs, terminate.
#pragma once

#include "hostkit/ComponentHandlerRecorder.h"
#include "hostkit/HostEventList.h"
#include "hostkit/HostParameterChanges.h"
#include "hostkit/PluginModule.h"

#include "base/source/fobject.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"
#include "pluginterfaces/vst/ivstunits.h"

#include <memory>
#include <string>
#include <vector>

namespace Steinberg {
namespace Vst {
class HostApplication;
} // namespace Vst
} // namespace Steinberg

namespace Tarnwick {
namespace HostKit {

struct ParameterDescription
{
	Steinberg::Vst::ParamID id;
	std::string title;
	std::string shortTitle;
	std::string units;
	Steinberg::int32 stepCount;
	Steinberg::Vst::ParamValue defaultNormalizedValue;
	Steinberg::Vst::UnitID unitId;
	Steinberg::int32 flags;
};

class PluginInstance
{
public:
	explicit PluginInstance (PluginModule& module);
	~PluginInstance ();
	PluginInstance (const PluginInstance&) = delete;
	PluginInstance& operator= (const PluginInstance&) = delete;

	// createInstance of the class (IComponent), then IAudioProcessor, and the edit controller from
	// the same object (single component) or from the controller class the component names;
	// initialize both and hand the controller the component handler. false with error() set.
	bool create (const Steinberg::TUID classId);
	// The module's first audio effect class.
	bool create ();
	bool isCreated () const { return component != nullptr; }
	const std::string& error () const { return lastError; }

	// Bus arrangements (numChannels 1 or 2 on input and output), setupProcessing, setActive(true),
	// setProcessing(true). Buffers for blocks of up to maxBlockSize frames are allocated here.
	bool setup (double sampleRate, Steinberg::int32 maxBlockSize, Steinberg::int32 numChannels = 2);
	// setProcessing(false), setActive(false).
	void stop ();
	bool isActive () const { return active; }
	double sampleRate () const { return setupData.sampleRate; }
	Steinberg::int32 numChannels () const { return channels; }

	// One block. inputs/outputs hold numChannels() pointers. Changes queued by setParameter are
	// delivered with this block (after the given changes). Null changes/events/context: none.
	Steinberg::tresult process (const float* const* inputs, float* const* outputs,
	                            Steinberg::int32 numFrames,
	                            Steinberg::Vst::IParameterChanges* changes = nullptr,
	                            Steinberg::Vst::IEventList* events = nullptr,
	                            Steinberg::Vst::ProcessContext* context = nullptr);
	// Silence flags handed with the next blocks' input bus 0; output flags of the last block.
	void setInputSilenceFlags (Steinberg::uint64 flags) { inputSilence = flags; }
	Steinberg::uint64 outputSilenceFlags () const { return outputSilence; }
	// The plug-in's output parameter changes of the last block.
	const HostParameterChanges& outputParameterChanges () const { return outputChanges; }
	// Renders a whole signal in blocks of the set-up size (interleaving not used: one vector per
	// channel). Output vectors are resized to the input length.
	bool render (const std::vector<std::vector<float>>& input,
	             std::vector<std::vector<float>>& output);

	// Parameters as a DAW sees them (controller side).
	std::vector<ParameterDescription> parameters () const;
	bool findParameter (const std::string& title, ParameterDescription& description) const;
	Steinberg::Vst::ParamValue getParamNormalized (Steinberg::Vst::ParamID id) const;
	std::string parameterText (Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue normalized) const;
	std::string parameterText (Steinberg::Vst::ParamID id) const;
	bool parameterFromText (Steinberg::Vst::ParamID id, const std::string& text,
	                        Steinberg::Vst::ParamValue& normalized) const;
	double normalizedToPlain (Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue normalized) const;
	Steinberg::Vst::ParamValue plainToNormalized (Steinberg::Vst::ParamID id, double plain) const;
	// A host automation move: the controller's setParamNormalized now, and the processor sees the
	// change (offset 0) in the next process call.
	Steinberg::tresult setParameter (Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue normalized);
	void clearPendingChanges () { pendingChanges.clear (); }

	// State through memory streams. restoreState = component setState, then controller
	// setComponentState (as a DAW loading a project does); answers the first failure.
	bool getState (std::vector<Steinberg::uint8>& bytes);
	Steinberg::tresult setComponentState (const std::vector<Steinberg::uint8>& bytes);
	Steinberg::tresult setControllerComponentState (const std::vector<Steinberg::uint8>& bytes);
	Steinberg::tresult restoreState (const std::vector<Steinberg::uint8>& bytes);
	bool getControllerState (std::vector<Steinberg::uint8>& bytes);
	Steinberg::tresult setControllerState (const std::vector<Steinberg::uint8>& bytes);

	// Programs of the first program list (IUnitInfo); empty when there is none.
	std::vector<std::string> programNames () const;
	// Selects a program through the list's program-change parameter, as a DAW does.
	Steinberg::tresult selectProgram (Steinberg::int32 index);

	// The editor (IPlugView "editor"); null when the plug-in has none.
	Steinberg::IPtr<Steinberg::IPlugView> createView ();

	// Raw interfaces for calls this class does not wrap (hostile-host tests and the like).
	Steinberg::Vst::IComponent* getComponent () const { return component; }
	Steinberg::Vst::IAudioProcessor* getProcessor () const { return processor; }
	Steinberg::Vst::IEditController* getController () const { return controller; }
	Steinberg::Vst::IUnitInfo* getUnitInfo () const { return unitInfo; }
	Steinberg::Vst::IMidiMapping* getMidiMapping () const { return midiMapping; }
	ComponentHandlerRecorder& handler () { return componentHandler; }

	// terminate and release everything (also done by the destructor).
	void destroy ();

private:
	bool fail (const std::string& message);
	void allocateBuffers (Steinberg::int32 maxBlockSize);
	void mergePendingInto (Steinberg::Vst::IParameterChanges* changes);

	PluginModule& module;
	std::string lastError;

	// The SDK's HostApplication is not reference counted: the host owns it.
	std::unique_ptr<Steinberg::Vst::HostApplication> hostApplication;
	ComponentHandlerRecorder componentHandler;

	Steinberg::Vst::IComponent* component = nullptr;
	Steinberg::Vst::IAudioProcessor* processor = nullptr;
	Steinberg::Vst::IEditController* controller = nullptr;
	Steinberg::Vst::IUnitInfo* unitInfo = nullptr;
	Steinberg::Vst::IMidiMapping* midiMapping = nullptr;
	bool separateController = false;
	bool componentInitialized = false;
	bool controllerInitialized = false;

	Steinberg::Vst::ProcessSetup setupData {};
	Steinberg::int32 channels = 0;
	bool active = false;
	Steinberg::uint64 inputSilence = 0;
	Steinberg::uint64 outputSilence = 0;

	std::vector<std::vector<float>> inputBuffers;
	std::vector<std::vector<float>> outputBuffers;
	std::vector<float*> inputPointers;
	std::vector<float*> outputPointers;
	Steinberg::Vst::AudioBusBuffers inputBus;
	Steinberg::Vst::AudioBusBuffers outputBus;

	HostParameterChanges pendingChanges;
	HostParameterChanges mergedChanges;
	HostParameterChanges outputChanges;
	HostEventList emptyEvents {0};
};

} // namespace HostKit
} // namespace Tarnwick
