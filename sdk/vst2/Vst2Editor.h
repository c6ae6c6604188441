// The wrapped plug-in's editor inside a VST 2 host's X11 window.
#pragma once

#include "EmbeddedView.h"
#include "Vst2Abi.h"

namespace Steinberg {
namespace Vst {

class Vst2Editor : public EmbeddedView
{
public:
	Vst2Editor (IEditController* controller, vst_effect* effect, Vst2Abi::HostCallback hostCallback);

	// Points *rect at the editor's size (the record stays valid while this
	// object lives). False when there is no editor.
	bool getRect (vst_rect** rect);

private:
	vst_rect rect {};
};

} // namespace Vst
} // namespace Steinberg
