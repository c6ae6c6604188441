// Presents a VST 3 audio effect class as a VST 2 effect, working only through
// the VST 3 interfaces of the instance it creates from the factory.
#pragma once

#include "Vst2Abi.h"
#include "Vst2AudioBridge.h"
#include "Vst2ComponentHandler.h"
#include "Vst2Editor.h"
#include "Vst2HostApplication.h"
#include "Vst2ParameterMap.h"
#include "Vst2ProgramList.h"

#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/base/smartpointer.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstmessage.h"
#include "pluginterfaces/vst/ivstunits.h"

#include <memory>
#include <string>
#include <vector>

namespace Steinberg {
namespace Vst {

class Vst2Wrapper : private Vst2ComponentHandler::Listener
{
public:
	// Creates an instance of the class vst3ComponentID from factory and wraps
	// it. Null when the class cannot be created, initialised or processed with
	// 32-bit samples. The effect is destroyed by the host's close opcode.
	// parametersAddedLater: ids of parameters that a later release of the class
	// added; they follow every other VST 2 parameter, in this order.
	static vst_effect* create (IPluginFactory* factory, const TUID vst3ComponentID, int32_t vst2ID,
	                           vst_host_callback audioMaster,
	                           const std::vector<ParamID>& parametersAddedLater = {});

	// The wrapper behind an effect record (null for a record not made here).
	static Vst2Wrapper* fromEffect (vst_effect* effect);

	vst_effect* getEffect () { return &effect; }
	Vst2Editor& getEditor () { return *editor; }
	// Null until the wrapped instance is set up.
	Vst2AudioBridge* getAudio () { return audio.get (); }

	intptr_t dispatch (int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
	void setParameter (int32_t index, float value);
	float getParameter (int32_t index) const;

private:
	Vst2Wrapper (IPluginFactory* factory, Vst2Abi::HostCallback hostCallback);
	~Vst2Wrapper () override;

	bool init (const TUID classId, int32_t vst2ID);
	void readClassInfo (const TUID classId);
	void fillEffectRecord (int32_t vst2ID);
	void shutdown ();

	// Host requests
	bool copyParameterText (int32_t index, char* text, int32_t which);
	bool parameterProperties (int32_t index, Vst2Abi::ParameterProperties* properties) const;
	bool stringToParameter (int32_t index, const char* text);
	bool setProgram (intptr_t program);
	int32_t currentProgram () const;
	bool programName (int32_t index, char* text);
	intptr_t getChunk (void** data);
	bool setChunk (const void* data, intptr_t size);
	bool setBypass (bool on);
	intptr_t canDo (const char* feature) const;
	intptr_t tailSize () const;
	bool pinProperties (bool input, int32_t index, Vst2Abi::PinProperties* properties) const;
	bool setSpeakerArrangement (intptr_t inputArrangement, void* outputArrangement);

	// Vst2ComponentHandler::Listener (edits made by the plug-in itself)
	tresult onBeginEdit (ParamID id) override;
	tresult onPerformEdit (ParamID id, ParamValue value) override;
	tresult onEndEdit (ParamID id) override;
	tresult onRestart (int32 flags) override;
	void onProgramListChanged () override;

	void setControllerValue (ParamID id, ParamValue value);
	intptr_t callHost (int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
	                   float opt = 0.f) const;

	vst_effect effect {};
	Vst2Abi::HostCallback hostCallback;
	IPtr<IPluginFactory> factory;
	std::unique_ptr<Vst2HostApplication> hostApplication;
	IPtr<IComponent> component;
	IPtr<IAudioProcessor> processor;
	IPtr<IEditController> controller;
	IPtr<IConnectionPoint> componentConnection;
	IPtr<IConnectionPoint> controllerConnection;
	IPtr<IMidiMapping> midiMapping;
	IPtr<IUnitInfo> unitInfo;
	bool controllerIsComponent {false};
	bool componentInitialized {false};
	bool controllerInitialized {false};
	Vst2ComponentHandler* componentHandler {nullptr};

	Vst2ParameterMap parameters;
	std::vector<ParamID> parametersAddedLater;
	Vst2ProgramList programs;
	// Positions of the parameters in the audio bridge's change slots.
	int32_t firstParameterSlot {0};
	int32_t bypassSlot {-1};
	int32_t programSlot {-1};
	std::unique_ptr<Vst2AudioBridge> audio;
	std::unique_ptr<Vst2Editor> editor;
	std::vector<char> chunk;

	std::string effectName;
	std::string vendorName;
	std::string productName;
	std::string subCategories;
	int32_t vendorVersion {0};
	int32_t category {VST_CATEGORY_UNCATEGORIZED};
};

} // namespace Vst
} // namespace Steinberg
