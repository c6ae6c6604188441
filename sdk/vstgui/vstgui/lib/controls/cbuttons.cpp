#include "cbuttons.h"
#include "../cbitmap.h"
#include "../cdrawcontext.h"

namespace VSTGUI {

COnOffButton::COnOffButton (const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background,
                            int32_t style)
: CControl (size, listener, tag, background), style (style)
{
	setWantsDefaultValue ();
}

COnOffButton::COnOffButton (const COnOffButton& b) : CControl (b), style (b.style) {}

void COnOffButton::setWantsDefaultValue ()
{
	defaultValue = getMin ();
}

CCoord COnOffButton::getBitmapOffsetY () const
{
	if (!background)
		return 0;
	return value == getMax () ? background->getHeight () / 2 : 0;
}

void COnOffButton::draw (CDrawContext* context)
{
	if (background)
		background->draw (context, size, CPoint (0, getBitmapOffsetY ()));
	setDirty (false);
}

CMouseEventResult COnOffButton::onMouseDown (CPoint& /*where*/, const CButtonState& buttons)
{
	if (!buttons.isLeftButton ())
		return kMouseEventNotHandled;
	beginEdit ();
	value = (value == getMax ()) ? getMin () : getMax ();
	invalid ();
	valueChanged ();
	endEdit ();
	return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

CMouseEventResult COnOffButton::onMouseUp (CPoint&, const CButtonState&)
{
	return kMouseEventHandled;
}

CMouseEventResult COnOffButton::onMouseMoved (CPoint&, const CButtonState&)
{
	return kMouseEventHandled;
}

//------------------------------------------------------------------------
CKickButton::CKickButton (const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background,
                          const CPoint& offset)
: CControl (size, listener, tag, background), offset (offset)
{
	heightOfOneImage = size.getHeight ();
	subPixmaps = 2;
}

CKickButton::CKickButton (const CRect& size, IControlListener* listener, int32_t tag, CCoord height,
                          CBitmap* background, const CPoint& offset)
: CControl (size, listener, tag, background), offset (offset)
{
	heightOfOneImage = height;
	subPixmaps = 2;
}

CKickButton::CKickButton (const CKickButton& b)
: CControl (b), IMultiBitmapControl (b), offset (b.offset), fEntryState (b.fEntryState)
{
}

void CKickButton::draw (CDrawContext* context)
{
	CPoint where (offset.x, offset.y);
	bounceValue ();
	if (value == getMax ())
		where.y += heightOfOneImage;
	if (background)
		background->draw (context, size, where);
	setDirty (false);
}

CMouseEventResult CKickButton::onMouseDown (CPoint& where, const CButtonState& buttons)
{
	if (!buttons.isLeftButton ())
		return kMouseEventNotHandled;
	fEntryState = value;
	beginEdit ();
	return onMouseMoved (where, buttons);
}

CMouseEventResult CKickButton::onMouseUp (CPoint& /*where*/, const CButtonState& /*buttons*/)
{
	if (value > 0.f)
		valueChanged ();
	value = getMin ();
	valueChanged ();
	if (isDirty ())
		invalid ();
	endEdit ();
	return kMouseEventHandled;
}

CMouseEventResult CKickButton::onMouseMoved (CPoint& where, const CButtonState& buttons)
{
	if (buttons.isLeftButton ())
	{
		value = size.pointInside (where) ? getMax () : getMin ();
		if (isDirty ())
			invalid ();
	}
	return kMouseEventHandled;
}

} // namespace VSTGUI
