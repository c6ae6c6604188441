// Vire2VUR3::Processor: turns a framework effect (CPlugIn) into a VST 3
// single-component effect (processor and edit controller in one object).
#pragma once

// Must come before any other header that pulls in the edit-controller interface.
#include "public.sdk/source/vst/vstsinglecomponenteffect.h"

#include "DeferredRestart.h"
#include "effect/CPlugIn.h"
#include "effect/GuiMessage.h"

#include "LatestControlValues.h"
#include "adapter/MidiControllers.h"

#include "pluginterfaces/vst/ivstmidicontrollers.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#if TARNWICK_HAS_EDITOR
#include "vstgui/plugin-bindings/vst3editor.h"
#endif

#include <atomic>
#include <memory>
#include <vector>

namespace Vire2VUR3 {

class CVSTParamUpdateQueue;
class CVSTMidiEventList;
class StateImage;

// Ids of the adapter's own parameters (control parameters use their position).
enum AdapterParamIds : Steinberg::Vst::ParamID
{
	kPitchBendId = kPitchBendTarget,
	kModWheelId = kModWheelTarget,
	kMidiVolumeId = kMidiVolumeTarget,
	kMidiPanId = kMidiPanTarget,
	kMidiExpressionId = kMidiExpressionTarget,
	kSustainPedalId = kSustainPedalTarget,
	kChannelPressureId = kChannelPressureTarget,
	kAllNotesOffId = kAllNotesOffTarget,
	kBypassId = 2056,
	kAssignButton1Id = 32768,
	kAssignButton2Id = 32769,
	kAssignButton3Id = 32770,
	kJoystickXId = 32773,
	kJoystickYId = 32774,
	kPresetsParamId = 0x70727374 // 'prst', also the program list id
};

class Processor : public Steinberg::Vst::SingleComponentEffect,
                  public Steinberg::Vst::IMidiMapping
#if TARNWICK_HAS_EDITOR
,
                  public VSTGUI::VST3EditorDelegate
#endif
{
public:
	Processor ();
	~Processor () override;

	// Creation function registered with the plug-in factory.
	static Steinberg::FUnknown* createInstance (void* context);

	//---IPluginBase---------------------------------------------------------------
	Steinberg::tresult PLUGIN_API initialize (Steinberg::FUnknown* context) SMTG_OVERRIDE;
	Steinberg::tresult PLUGIN_API terminate () SMTG_OVERRIDE;

	//---IComponent: state----------------------------------------------------------
	Steinberg::tresult PLUGIN_API setState (Steinberg::IBStream* state) SMTG_OVERRIDE;
	Steinberg::tresult PLUGIN_API getState (Steinberg::IBStream* state) SMTG_OVERRIDE;

	//---IAudioProcessor-----------------------------------------------------------
	Steinberg::tresult PLUGIN_API setBusArrangements (Steinberg::Vst::SpeakerArrangement* inputs,
	                                                  Steinberg::int32 numIns,
	                                                  Steinberg::Vst::SpeakerArrangement* outputs,
	                                                  Steinberg::int32 numOuts) SMTG_OVERRIDE;
	Steinberg::tresult PLUGIN_API canProcessSampleSize (Steinberg::int32 symbolicSampleSize) SMTG_OVERRIDE;
	Steinberg::tresult PLUGIN_API setupProcessing (Steinberg::Vst::ProcessSetup& setup) SMTG_OVERRIDE;
	Steinberg::tresult PLUGIN_API setActive (Steinberg::TBool state) SMTG_OVERRIDE;
	Steinberg::tresult PLUGIN_API process (Steinberg::Vst::ProcessData& data) SMTG_OVERRIDE;
	Steinberg::uint32 PLUGIN_API getLatencySamples () SMTG_OVERRIDE;
	Steinberg::uint32 PLUGIN_API getTailSamples () SMTG_OVERRIDE;

	//---IEditController-----------------------------------------------------------
	Steinberg::tresult PLUGIN_API setComponentState (Steinberg::IBStream* state) SMTG_OVERRIDE;
	Steinberg::tresult PLUGIN_API setParamNormalized (Steinberg::Vst::ParamID tag,
	                                                  Steinberg::Vst::ParamValue value) SMTG_OVERRIDE;
	Steinberg::tresult PLUGIN_API setKnobMode (Steinberg::Vst::KnobMode mode) SMTG_OVERRIDE;
	Steinberg::tresult PLUGIN_API setComponentHandler (Steinberg::Vst::IComponentHandler* handler)
	    SMTG_OVERRIDE;
	// These also send a restart still owed (see DeferredRestart).
	Steinberg::Vst::ParamValue PLUGIN_API getParamNormalized (Steinberg::Vst::ParamID tag)
	    SMTG_OVERRIDE;
	Steinberg::tresult PLUGIN_API getParameterInfo (
	    Steinberg::int32 paramIndex, Steinberg::Vst::ParameterInfo& info) SMTG_OVERRIDE;
	Steinberg::tresult PLUGIN_API
	getParamStringByValue (Steinberg::Vst::ParamID tag, Steinberg::Vst::ParamValue valueNormalized,
	                       Steinberg::Vst::String128 string) SMTG_OVERRIDE;

	//---IUnitInfo: the factory presets as one program list -----------------------
	Steinberg::int32 PLUGIN_API getProgramListCount () SMTG_OVERRIDE;
	Steinberg::tresult PLUGIN_API getProgramListInfo (Steinberg::int32 listIndex,
	                                                  Steinberg::Vst::ProgramListInfo& info) SMTG_OVERRIDE;
	Steinberg::tresult PLUGIN_API getProgramName (Steinberg::Vst::ProgramListID listId,
	                                              Steinberg::int32 programIndex,
	                                              Steinberg::Vst::String128 name) SMTG_OVERRIDE;

	//---IMidiMapping--------------------------------------------------------------
	Steinberg::tresult PLUGIN_API getMidiControllerAssignment (Steinberg::int32 busIndex,
	                                                           Steinberg::int16 channel,
	                                                           Steinberg::Vst::CtrlNumber midiControllerNumber,
	                                                           Steinberg::Vst::ParamID& id) SMTG_OVERRIDE;

	//---Editor (createView lives with the editor, or answers null without one)---
	Steinberg::IPlugView* PLUGIN_API createView (Steinberg::FIDString name) SMTG_OVERRIDE;
	// The record the editor delegate reuses for its messages to the effect.
	GuiMessage delegateMessage;
#if TARNWICK_HAS_EDITOR
	//---VST3EditorDelegate (editor/ProcessorEditor.cpp)----------------------------
	VSTGUI::CView* createCustomView (VSTGUI::UTF8StringPtr name, const VSTGUI::UIAttributes& attributes,
	                                 const VSTGUI::IUIDescription* description, VSTGUI::VST3Editor* editor) override;
	VSTGUI::IController* createSubController (VSTGUI::UTF8StringPtr name, const VSTGUI::IUIDescription* description,
	                                          VSTGUI::VST3Editor* editor) override;
	void didOpen (VSTGUI::VST3Editor* editor) override;
	void willClose (VSTGUI::VST3Editor* editor) override;
	// "VSTGUITimerPing" and "RecreateView" from the editor.
	Steinberg::tresult receiveText (const Steinberg::char8* text) SMTG_OVERRIDE;
#endif
	//-----------------------------------------------------------------------------

	// The effect this processor drives (null before initialize).
	CPlugIn* getEffect () const { return effect; }
	bool isBypassed () const { return bypass; }

	OBJ_METHODS (Processor, SingleComponentEffect)
	Steinberg::tresult PLUGIN_API queryInterface (const Steinberg::TUID iid, void** obj) SMTG_OVERRIDE;
	REFCOUNT_METHODS (SingleComponentEffect)

protected:
	// Creates the effect that initialize wraps. Tests substitute their own effects.
	virtual CPlugIn* createEffect ();

private:
	// Parameters for the controls at positions begin to end - 1.
	void addControlParameters (Steinberg::int32 begin, Steinberg::int32 end);
	void addAdapterParameters ();
	void addUnitsAndPresets ();

	// Processing helpers (audio thread).
	void applyParameterChanges (Steinberg::Vst::ProcessData& data);
	void applyControlChange (Steinberg::int32 position, Steinberg::Vst::ParamValue value,
	                         Steinberg::Vst::IParamValueQueue* queue, Steinberg::int32 numSamples);
	void applyAdapterChange (Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue value);
	// Silent input (the flagged channels, the others all zeros) to an effect that has rung out.
	bool hasRungOutOnSilence (Steinberg::Vst::ProcessData& data, Steinberg::int32 channels,
	                          Steinberg::uint64 flaggedChannels);
	void runFrameLoop (Steinberg::Vst::ProcessData& data, float* const* inputChannels,
	                   Steinberg::int32 channels, HostInfoBlock& hostInfoBlock, bool hasContext);
	void runBlock (Steinberg::Vst::ProcessData& data, float** inputChannels, Steinberg::int32 channels);
	void writeMeters (Steinberg::Vst::ProcessData& data, bool reportValues);
	void reportProgramValues (Steinberg::Vst::ProcessData& data);
	bool prepareEffect (double sampleRate);

	// Controller-side helpers (main thread).
	void sendParameterMessage (Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue value);
	void selectPreset (Steinberg::int32 slot);
	void refreshDependentControls ();
	void announceMovedParameters ();
	void restoreHostParameters (const StateImage& saved);
	Steinberg::Vst::Parameter* presetsParameter ();

	Steinberg::uint32 latency;
	CPlugIn* effect;
	double joystickX;
	double joystickY;
	bool bypass;
	std::vector<Steinberg::int32> meterIndices;
	bool auxInputWanted;
	CVSTParamUpdateQueue** updateQueues;
	Steinberg::int32 updateQueueCount;
	Steinberg::int32 updateGranularity;
	bool sampleAccurateUpdates;
	CVSTMidiEventList* midiEventList;
	// What getState saves for each control.
	LatestControlValues latestValues;
	// True once the effect has been prepared for the current set-up; until
	// then process answers silence.
	bool prepared;
	// Between initialize and terminate.
	bool initialized;
	// The restart after a program change, sent once the host's call has returned.
	DeferredRestart pendingRestart {*this};
	// The values a program change gave the controls (by position) and the joystick (last
	// two), reported to the host as output parameter changes by the next block: hosts that
	// offer no run loop and do not call again take them from there.
	std::unique_ptr<std::atomic<double>[]> programValues;
	Steinberg::int32 programValueCount {0};
	std::atomic<bool> programToReport {false};
	// The program-list table of the IUnitInfo queries is the one inherited from
	// EditControllerEx1; nothing fills it.
};

} // namespace Vire2VUR3
