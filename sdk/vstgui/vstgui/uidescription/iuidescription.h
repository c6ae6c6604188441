#pragma once

#include "../lib/cbitmap.h"
#include "../lib/ccolor.h"
#include "../lib/cfont.h"
#include "../lib/cgradient.h"

namespace VSTGUI {

class IController;
class IControlListener;
class UIAttributes;

// What views and controllers may ask of a UI description while it builds them.
class IUIDescription
{
public:
	virtual ~IUIDescription () = default;

	virtual CBitmap* getBitmap (UTF8StringPtr name) const = 0;
	virtual CFontDesc* getFont (UTF8StringPtr name) const = 0;
	virtual bool getColor (UTF8StringPtr name, CColor& color) const = 0;
	virtual CGradient* getGradient (UTF8StringPtr name) const = 0;
	virtual int32_t getTagForName (UTF8StringPtr name) const = 0;
	virtual IControlListener* getControlListener (UTF8StringPtr name) const = 0;
	virtual IController* getController () const = 0;
	virtual const UIAttributes* getCustomAttributes (UTF8StringPtr name) const = 0;
	virtual const UIAttributes* getViewAttributes (UTF8StringPtr name) const = 0;
};

} // namespace VSTGUI
