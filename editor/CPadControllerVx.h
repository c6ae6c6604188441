// Pad sub-controller that reports both axes of every pad move to the host before
// setting them (its base sets first and reports only after a successful set).
#pragma once

#include "vstgui/plugin-bindings/vst3padcontroller.h"

namespace VSTGUI {

class CPadControllerVx : public PadController
{
public:
	CPadControllerVx (IController* baseController, Steinberg::Vst::EditController* editController,
	                  Steinberg::Vst::Parameter* xParam, Steinberg::Vst::Parameter* yParam);
	~CPadControllerVx () override;

	void valueChanged (CControl* pControl) override;
};

} // namespace VSTGUI
