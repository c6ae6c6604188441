// The small controller between the editor and an LV2 host: a knob the user turns
// (the edit controller's performEdit) becomes a write to the control's port, and a
// port event from the host moves the edit controller's parameter, which the editor
// shows at its next tick.
#pragma once

#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <lv2/ui/ui.h>

#include <atomic>

namespace TarnwickLv2 {

class Lv2UiController : public Steinberg::Vst::IComponentHandler
{
public:
	// Created with one reference, owned by the caller.
	Lv2UiController (Steinberg::Vst::IEditController* controller, LV2UI_Write_Function write,
	                 LV2UI_Controller hostController);

	// A value the host sent for one of the plug-in's ports.
	void portEvent (uint32_t port, float value);

	// IComponentHandler
	Steinberg::tresult PLUGIN_API beginEdit (Steinberg::Vst::ParamID id) override;
	Steinberg::tresult PLUGIN_API performEdit (Steinberg::Vst::ParamID id,
	                                           Steinberg::Vst::ParamValue normalized) override;
	Steinberg::tresult PLUGIN_API endEdit (Steinberg::Vst::ParamID id) override;
	Steinberg::tresult PLUGIN_API restartComponent (Steinberg::int32 flags) override;

	// FUnknown
	Steinberg::tresult PLUGIN_API queryInterface (const Steinberg::TUID iid, void** obj) override;
	Steinberg::uint32 PLUGIN_API addRef () override;
	Steinberg::uint32 PLUGIN_API release () override;

private:
	virtual ~Lv2UiController () = default;
	void writePort (uint32_t port, float value);

	Steinberg::Vst::IEditController* controller;
	LV2UI_Write_Function write;
	LV2UI_Controller hostController;
	std::atomic<Steinberg::uint32> refCount {1};
};

} // namespace TarnwickLv2
