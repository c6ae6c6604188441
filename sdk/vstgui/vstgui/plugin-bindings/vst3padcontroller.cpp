#include "vst3padcontroller.h"

namespace VSTGUI {

using namespace Steinberg;
using namespace Steinberg::Vst;

PadController::PadController (IController* baseController, EditController* editController, Parameter* xParam,
                              Parameter* yParam)
: DelegationController (baseController), editController (editController), xParam (xParam), yParam (yParam)
{
	if (xParam)
	{
		xParam->addRef ();
		xParam->addDependent (this);
	}
	if (yParam)
	{
		yParam->addRef ();
		yParam->addDependent (this);
	}
}

PadController::~PadController ()
{
	if (xParam)
	{
		xParam->removeDependent (this);
		xParam->release ();
	}
	if (yParam)
	{
		yParam->removeDependent (this);
		yParam->release ();
	}
}

void PadController::updatePadFromParameters ()
{
	if (!padControl || !xParam || !yParam || padControl->isEditing ())
		return;
	double x = xParam->getNormalized ();
	double y = yParam->getNormalized ();
	if (x == shownX && y == shownY)
		return;
	shownX = x;
	shownY = y;
	padControl->setValue (CXYPad::calculateValue (static_cast<float> (x), static_cast<float> (y)));
	padControl->invalid ();
}

CView* PadController::verifyView (CView* view, const UIAttributes& attributes, const IUIDescription* description)
{
	if (!padControl && xParam && yParam)
	{
		if (auto pad = dynamic_cast<CXYPad*> (view))
		{
			padControl = pad;
			padControl->setListener (this);
			updatePadFromParameters ();
		}
	}
	return DelegationController::verifyView (view, attributes, description);
}

void PadController::valueChanged (CControl* pControl)
{
	if (pControl && pControl == padControl)
	{
		float x, y;
		CXYPad::calculateXY (pControl->getValue (), x, y);
		ParamID xId = xParam->getInfo ().id;
		ParamID yId = yParam->getInfo ().id;
		if (editController->setParamNormalized (xId, x) == kResultTrue)
			editController->performEdit (xId, xParam->getNormalized ());
		if (editController->setParamNormalized (yId, y) == kResultTrue)
			editController->performEdit (yId, yParam->getNormalized ());
		// The pad shows these values already: following them must not move it again.
		shownX = xParam->getNormalized ();
		shownY = yParam->getNormalized ();
		return;
	}
	DelegationController::valueChanged (pControl);
}

void PadController::controlBeginEdit (CControl* pControl)
{
	if (pControl && pControl == padControl)
	{
		editController->startGroupEdit ();
		editController->beginEdit (xParam->getInfo ().id);
		editController->beginEdit (yParam->getInfo ().id);
		return;
	}
	DelegationController::controlBeginEdit (pControl);
}

void PadController::controlEndEdit (CControl* pControl)
{
	if (pControl && pControl == padControl)
	{
		editController->endEdit (xParam->getInfo ().id);
		editController->endEdit (yParam->getInfo ().id);
		editController->finishGroupEdit ();
		return;
	}
	DelegationController::controlEndEdit (pControl);
}

void PLUGIN_API PadController::update (FUnknown* changedUnknown, int32 message)
{
	if (message != IDependent::kChanged || !changedUnknown)
		return;
	FObject* changed = nullptr;
	if (changedUnknown->queryInterface (FObject::iid, reinterpret_cast<void**> (&changed)) == kResultTrue && changed)
	{
		bool ours = changed == static_cast<FObject*> (xParam) || changed == static_cast<FObject*> (yParam);
		changed->release ();
		if (ours)
			updatePadFromParameters ();
	}
}

} // namespace VSTGUI
