// A Processor with a test effect, initialized as a host would, with a component
// handler that records what the editor reports; resources are read from the
// source tree.
#pragma once

#include "EditorProbeEffect.h"
#include "ProcessorRig.h"
#include "TestHost.h"

#include <string>
#include <vector>

// Eight float controls "C0" .. "C7" (ids 100 .. 107), 0 .. 10 in plain units.
std::vector<ProbeControl> eightControls ();

// Records, with every performEdit, the value the controller held at that moment.
class OrderRecordingHandler : public TestHost::ComponentHandler
{
public:
	Steinberg::tresult PLUGIN_API performEdit (Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue value) override
	{
		heldAtEdit.push_back (controller ? controller->getParamNormalized (id) : -1.);
		return TestHost::ComponentHandler::performEdit (id, value);
	}
	Steinberg::Vst::EditController* controller = nullptr;
	std::vector<Steinberg::Vst::ParamValue> heldAtEdit;
};

struct EditorRig
{
	// effect: null for the product's own effect.
	explicit EditorRig (EditorProbeEffect* effect = nullptr);
	~EditorRig ();

	Vire2VUR3::Processor* processor () const { return rig.processor; }

	ProcessorRig rig;
	EditorProbeEffect* probe;
	OrderRecordingHandler handler;
};
