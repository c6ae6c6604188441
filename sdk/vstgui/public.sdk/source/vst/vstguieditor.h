// VST 3 plug-in view whose content is a VSTGUI frame.
#pragma once

#include "public.sdk/source/vst/vsteditcontroller.h"
#include "vstgui/lib/cframe.h"
#include "vstgui/lib/cvstguitimer.h"

namespace Steinberg {
namespace Vst {

//------------------------------------------------------------------------
// Attaching opens the frame as a child of the host's window (open), removing
// closes it (close). A timer (setIdleRate) lets the frame repaint while open.
// The window size is fixed: the host may not resize it.
class VSTGUIEditor : public EditorView, public VSTGUI::VSTGUIEditorInterface, public VSTGUI::CBaseObject
{
public:
	VSTGUIEditor (void* controller, ViewRect* size = nullptr);
	// Preferred over the void* form for any edit controller class: the pointer is adjusted to
	// the EditController base.
	VSTGUIEditor (EditController* controller, ViewRect* size = nullptr);
	~VSTGUIEditor () override;

	virtual bool PLUGIN_API open (void* parent, const VSTGUI::PlatformType& platformType = VSTGUI::kDefaultNative) = 0;
	virtual void PLUGIN_API close () = 0;

	void setIdleRate (int32 millisec);
	int32 getIdleRate () const;

	// VSTGUIEditorInterface
	bool beforeSizeChange (const VSTGUI::CRect& newSize, const VSTGUI::CRect& oldSize) SMTG_OVERRIDE;
	int32_t getKnobMode () const SMTG_OVERRIDE;
	bool beginEdit (int32_t index) SMTG_OVERRIDE;
	bool endEdit (int32_t index) SMTG_OVERRIDE;

	// CBaseObject
	VSTGUI::CMessageResult notify (VSTGUI::CBaseObject* sender, VSTGUI::IdStringPtr message) SMTG_OVERRIDE;

	// IPlugView
	tresult PLUGIN_API isPlatformTypeSupported (FIDString type) SMTG_OVERRIDE;
	tresult PLUGIN_API attached (void* parent, FIDString type) SMTG_OVERRIDE;
	tresult PLUGIN_API removed () SMTG_OVERRIDE;
	tresult PLUGIN_API onSize (ViewRect* newSize) SMTG_OVERRIDE;
	tresult PLUGIN_API getSize (ViewRect* size) SMTG_OVERRIDE;
	tresult PLUGIN_API canResize () SMTG_OVERRIDE { return kResultFalse; }
	tresult PLUGIN_API checkSizeConstraint (ViewRect* rect) SMTG_OVERRIDE;
	tresult PLUGIN_API onWheel (float distance) SMTG_OVERRIDE;

	// The host's run loop (from the IPlugFrame), null when it has none.
	Linux::IRunLoop* getRunLoop () const;
	// What CFrame::open needs on this platform (the run loop).
	VSTGUI::X11FrameConfig getFrameConfig () const;
	// Drives the editor when the host has no run loop (a VST 2 wrapper's idle).
	void idle ();

	// One reference count: the plug-in view's.
	void remember () SMTG_OVERRIDE { addRef (); }
	void forget () SMTG_OVERRIDE { release (); }

	OBJ_METHODS (VSTGUIEditor, EditorView)
	REFCOUNT_METHODS (EditorView)

protected:
	VSTGUI::CVSTGUITimer* timer {nullptr};
};

} // namespace Vst
} // namespace Steinberg
