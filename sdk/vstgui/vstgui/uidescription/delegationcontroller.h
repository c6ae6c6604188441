#pragma once

#include "icontroller.h"

namespace VSTGUI {

//------------------------------------------------------------------------
// Passes every call on to another controller; sub-controllers derive from it.
class DelegationController : public IController
{
public:
	explicit DelegationController (IController* controller) : controller (controller) {}

	void valueChanged (CControl* pControl) override
	{
		if (controller)
			controller->valueChanged (pControl);
	}
	int32_t controlModifierClicked (CControl* pControl, int32_t button) override
	{
		return controller ? controller->controlModifierClicked (pControl, button) : 0;
	}
	void controlBeginEdit (CControl* pControl) override
	{
		if (controller)
			controller->controlBeginEdit (pControl);
	}
	void controlEndEdit (CControl* pControl) override
	{
		if (controller)
			controller->controlEndEdit (pControl);
	}
	void controlTagWillChange (CControl* pControl) override
	{
		if (controller)
			controller->controlTagWillChange (pControl);
	}
	void controlTagDidChange (CControl* pControl) override
	{
		if (controller)
			controller->controlTagDidChange (pControl);
	}
	int32_t getTagForName (UTF8StringPtr name, int32_t registeredTag) const override
	{
		return controller ? controller->getTagForName (name, registeredTag) : registeredTag;
	}
	IControlListener* getControlListener (UTF8StringPtr name) override
	{
		return controller ? controller->getControlListener (name) : this;
	}
	CView* createView (const UIAttributes& attributes, const IUIDescription* description) override
	{
		return controller ? controller->createView (attributes, description) : nullptr;
	}
	CView* verifyView (CView* view, const UIAttributes& attributes, const IUIDescription* description) override
	{
		return controller ? controller->verifyView (view, attributes, description) : view;
	}
	IController* createSubController (UTF8StringPtr name, const IUIDescription* description) override
	{
		return controller ? controller->createSubController (name, description) : nullptr;
	}

	IController* getBaseController () const { return controller; }

protected:
	IController* controller;
};

} // namespace VSTGUI
