#pragma once

#include "../lib/controls/icontrollistener.h"

namespace VSTGUI {

class CView;
class IUIDescription;
class UIAttributes;

//------------------------------------------------------------------------
// Controller of the views a UI description builds: may supply views by custom
// name, check each created view, resolve tags and hand out sub-controllers.
class IController : public IControlListener
{
public:
	virtual int32_t getTagForName (UTF8StringPtr /*name*/, int32_t registeredTag) const { return registeredTag; }
	virtual IControlListener* getControlListener (UTF8StringPtr /*controlTagName*/) { return this; }
	virtual CView* createView (const UIAttributes& /*attributes*/, const IUIDescription* /*description*/) { return nullptr; }
	virtual CView* verifyView (CView* view, const UIAttributes& /*attributes*/, const IUIDescription* /*description*/) { return view; }
	virtual IController* createSubController (UTF8StringPtr /*name*/, const IUIDescription* /*description*/) { return nullptr; }
};

} // namespace VSTGUI
