// The wrapped plug-in's editor inside a VST 2 host's X11 window.
#pragma once

#include "Vst2Abi.h"

#include "pluginterfaces/base/smartpointer.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

namespace Steinberg {
namespace Vst {

class Vst2PlugFrame;

class Vst2Editor
{
public:
	Vst2Editor (IEditController* controller, vst_effect* effect, Vst2Abi::HostCallback hostCallback);
	~Vst2Editor ();

	// True when the plug-in offers an editor that embeds into an X11 window.
	bool isAvailable ();
	// Points *rect at the editor's size (the record stays valid while this
	// object lives). False when there is no editor.
	bool getRect (vst_rect** rect);
	// parentWindow: the host's X11 window id.
	bool open (void* parentWindow);
	bool close ();
	bool isOpen () const { return attached; }
	// Drives the editor's event handlers and timers.
	void idle ();

	Vst2PlugFrame* getFrame () const { return frame; }

private:
	bool ensureView ();
	// removed, frame unset, view released.
	void takeDown (IPtr<IPlugView>& closing);

	IEditController* controller;
	Vst2PlugFrame* frame;
	IPtr<IPlugView> view;
	// A view closed from inside its own event or timer handling, taken down when the idle call
	// that runs the handler returns.
	IPtr<IPlugView> closedInIdle;
	vst_rect rect {};
	bool attached {false};
	bool idling {false};
};

} // namespace Vst
} // namespace Steinberg
