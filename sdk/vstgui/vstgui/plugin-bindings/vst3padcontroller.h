// Binds an XY pad to two parameters (x and y) as one grouped edit.
#pragma once

#include "public.sdk/source/vst/vsteditcontroller.h"
#include "public.sdk/source/vst/vstparameters.h"
#include "vstgui/lib/controls/cxypad.h"
#include "vstgui/uidescription/delegationcontroller.h"

namespace VSTGUI {

//------------------------------------------------------------------------
class PadController : public Steinberg::FObject, public DelegationController
{
public:
	PadController (IController* baseController, Steinberg::Vst::EditController* editController,
	               Steinberg::Vst::Parameter* xParam, Steinberg::Vst::Parameter* yParam);
	~PadController () override;

	// Takes the first XY pad it sees as its pad and becomes its listener.
	CView* verifyView (CView* view, const UIAttributes& attributes, const IUIDescription* description) override;
	void valueChanged (CControl* pControl) override;
	void controlBeginEdit (CControl* pControl) override;
	void controlEndEdit (CControl* pControl) override;

	// A bound parameter changed: the pad follows.
	void PLUGIN_API update (Steinberg::FUnknown* changedUnknown, Steinberg::int32 message) override;

	// Moves the pad to the parameters' values (the editor calls it at every tick, so the
	// pad follows the host also where parameters report no changes to dependents).
	void updatePadFromParameters ();

	CXYPad* getPad () const { return padControl; }
	Steinberg::Vst::Parameter* getXParameter () const { return xParam; }
	Steinberg::Vst::Parameter* getYParameter () const { return yParam; }

	OBJ_METHODS (PadController, Steinberg::FObject)

protected:
	Steinberg::Vst::EditController* editController;
	Steinberg::Vst::Parameter* xParam;
	Steinberg::Vst::Parameter* yParam;
	CXYPad* padControl {nullptr};
	// The parameter values the pad shows already (its own edits included).
	double shownX {-1.};
	double shownY {-1.};
};

} // namespace VSTGUI
