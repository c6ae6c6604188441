// A small VST 3 plug-in with separate component and controller, written only
// for the VST 2 wrapper's tests: its behaviour is simple enough to predict
// exactly, and it records what reaches it.
#pragma once

#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstevents.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"
#include "pluginterfaces/vst/vsttypes.h"

#include <vector>

namespace Vst2Test {

// Parameter ids of the test plug-in, added to the controller out of id order.
enum TestParamId : Steinberg::Vst::ParamID
{
	kGainId = 0,         // output = input * gain (normalized value)
	kMeterId = 3,        // read-only
	kHiddenId = 4,       // hidden
	kLongNameId = 5,     // title and units longer than a VST 2 buffer
	kFixedId = 7,        // three steps, not automatable; a change makes the controller report new latency and titles
	kBypassId = 100,     // bypass
	kProgramId = 200,    // program change of the root unit ("Alpha", "Beta", "Gamma")
};

// Gain that each program sets.
constexpr double kProgramGain[3] = {0.25, 0.5, 0.75};

// What the component saw; reset by the tests.
struct Probe
{
	std::vector<Steinberg::Vst::Event> events;
	std::vector<Steinberg::Vst::ParamID> changedIds;
	std::vector<Steinberg::int32> changeOffsets;
	std::vector<double> changeValues;
	Steinberg::Vst::ProcessContext lastContext {};
	bool hadContext {false};
	Steinberg::Vst::ProcessSetup lastSetup {};
	int processCalls {0};
	int maxBlockSeen {0};
	int setActiveTrue {0};
	int setActiveFalse {0};
	int processingOn {0};
	int processingOff {0};
	int controllerStateWrites {0};
	int controllerStateReads {0};
	int connections {0};
	Steinberg::uint32 latency {17};
	bool editorAvailable {false};
	bool editorPerformsEdit {false};
};

Probe& probe ();

// The class ids: the component (announced as "Test Fx") and its controller.
extern const Steinberg::TUID kComponentClassId;
extern const Steinberg::TUID kControllerClassId;

// A new factory with one reference for the caller.
Steinberg::IPluginFactory* createTestFactory ();

} // namespace Vst2Test
