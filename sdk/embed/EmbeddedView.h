// A VST 3 plug-in's editor view embedded in a host's X11 window by a host that
// drives it from idle calls (VST 2 hosts, LV2 UI hosts): opening, closing, and
// the idle pump, also when the host closes the editor from inside its handlers.
#pragma once

#include "pluginterfaces/base/smartpointer.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

namespace Steinberg {
namespace Vst {

class IdlePlugFrame;

class EmbeddedView
{
public:
	// Takes over the caller's reference to frame.
	EmbeddedView (IEditController* controller, IdlePlugFrame* frame);
	virtual ~EmbeddedView ();
	EmbeddedView (const EmbeddedView&) = delete;
	EmbeddedView& operator= (const EmbeddedView&) = delete;

	// True when the plug-in offers an editor that embeds into an X11 window.
	bool isAvailable ();
	// The editor's size; false when there is no editor.
	bool getSize (ViewRect& size);
	// The view while there is one (for the host's scale factor, say).
	IPlugView* getView () const { return view; }
	// parentWindow: the host's X11 window id.
	bool open (void* parentWindow);
	bool close ();
	bool isOpen () const { return attached; }
	// Drives the editor's event handlers and timers.
	void idle ();

	IdlePlugFrame* getFrame () const { return frame; }

private:
	bool ensureView ();
	// removed, frame unset, view released.
	void takeDown (IPtr<IPlugView>& closing);

	IEditController* controller;
	IdlePlugFrame* frame;
	IPtr<IPlugView> view;
	// A view closed from inside its own event or timer handling, taken down when the idle call
	// that runs the handler returns.
	IPtr<IPlugView> closedInIdle;
	bool attached {false};
	bool idling {false};
};

} // namespace Vst
} // namespace Steinberg
