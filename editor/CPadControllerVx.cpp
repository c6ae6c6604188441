#include "CPadControllerVx.h"

namespace VSTGUI {

CPadControllerVx::CPadControllerVx (IController* baseController, Steinberg::Vst::EditController* editController,
                                    Steinberg::Vst::Parameter* xParam, Steinberg::Vst::Parameter* yParam)
: PadController (baseController, editController, xParam, yParam)
{
}

CPadControllerVx::~CPadControllerVx () = default;

void CPadControllerVx::valueChanged (CControl* pControl)
{
	if (pControl == nullptr || pControl != padControl)
	{
		DelegationController::valueChanged (pControl);
		return;
	}
	if (!editController || !xParam || !yParam)
		return;
	float x = 0.f;
	float y = 0.f;
	CXYPad::calculateXY (pControl->getValue (), x, y);
	const Steinberg::Vst::ParamID xId = xParam->getInfo ().id;
	const Steinberg::Vst::ParamID yId = yParam->getInfo ().id;
	editController->performEdit (xId, x);
	editController->setParamNormalized (xId, x);
	editController->performEdit (yId, y);
	editController->setParamNormalized (yId, y);
}

} // namespace VSTGUI
