// VST 3 plug-in view whose content is a VSTGUI frame.
#pragma once

#include "public.sdk/source/vst/vsteditcontroller.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"
#include "vstgui/lib/cframe.h"
#include "vstgui/lib/cvstguitimer.h"

namespace Steinberg {
namespace Vst {

//------------------------------------------------------------------------
// Attaching opens the frame as a child of the host's window (open), removing
// closes it (close). A timer (setIdleRate) lets the frame repaint while open.
// The window size is fixed: the host may not resize it. Its size is the layout's
// times the editor's scale factor (HiDPI screens): the host sets that factor
// (setContentScaleFactor), or else the desktop's is taken before the first size is told.
class VSTGUIEditor : public EditorView,
                     public IPlugViewContentScaleSupport,
                     public VSTGUI::VSTGUIEditorInterface,
                     public VSTGUI::CBaseObject
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

	// The editor's scale, for any host (VST 3 or another): the window becomes the layout's size
	// times factor (rounded), drawn at that resolution, and an attached view asks its
	// IPlugFrame for the new size. factor from 1 to 4; false (nothing changes) otherwise.
	bool setScaleFactor (double factor);
	// The scale in use; the desktop's when no one has set one yet.
	double getScaleFactor ();
	// The layout's size, in the views' coordinates (the window at scale 1).
	void setLayoutSize (int32 width, int32 height);
	int32 getLayoutWidth () const { return layoutWidth; }
	int32 getLayoutHeight () const { return layoutHeight; }

	// IPlugViewContentScaleSupport
	tresult PLUGIN_API setContentScaleFactor (ScaleFactor factor) SMTG_OVERRIDE;

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

	tresult PLUGIN_API queryInterface (const TUID iid, void** obj) SMTG_OVERRIDE;
	OBJ_METHODS (VSTGUIEditor, EditorView)
	REFCOUNT_METHODS (EditorView)

protected:
	// Takes the desktop's scale unless one was set already.
	void settleScaleFactor ();
	// The layout size at the current scale, the size the host sees.
	ViewRect scaledRect () const;
	// For content that draws its own window at its own size: the scale stays 1.
	void keepScaleAtOne ();

	VSTGUI::CVSTGUITimer* timer {nullptr};

private:
	int32 layoutWidth {0};
	int32 layoutHeight {0};
	double scaleFactor {1.};
	bool scaleSettled {false};
	bool scalable {true};
};

} // namespace Vst
} // namespace Steinberg
