// The frame around the editor in an LV2 host's window: the host drives it from the UI's
// idle calls, and a resize goes to the host's ui:resize feature when it offers one.
#pragma once

#include "IdlePlugFrame.h"

#include <lv2/ui/ui.h>

namespace TarnwickLv2 {

class Lv2PlugFrame : public Steinberg::Vst::IdlePlugFrame
{
public:
	// Created with one reference, owned by the caller. resize may be null.
	explicit Lv2PlugFrame (const LV2UI_Resize* resize) : resize (resize) {}

	// Tells the host the editor's size (true when it took it).
	bool hostResize (Steinberg::int32 width, Steinberg::int32 height) override
	{
		return resize && resize->ui_resize && resize->ui_resize (resize->handle, width, height) == 0;
	}

private:
	const LV2UI_Resize* resize;
};

} // namespace TarnwickLv2
