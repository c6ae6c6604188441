#include "cxypad.h"
#include "../cdrawcontext.h"
#include <cmath>

namespace VSTGUI {

CXYPad::CXYPad (const CRect& size) : CParamDisplay (size)
{
	setMax (2.f);
}

CXYPad::CXYPad (const CXYPad& pad)
: CParamDisplay (pad), stopTrackingOnMouseExit (pad.stopTrackingOnMouseExit)
{
}

float CXYPad::calculateValue (float x, float y)
{
	x = std::floor (x * 1000.f + 0.5f) / 1000.f;
	y = std::floor (y * 1000.f + 0.5f) / 10000000.f;
	return x + y;
}

void CXYPad::calculateXY (float value, float& x, float& y)
{
	x = std::floor (value * 1000.f + 0.5f) / 1000.f;
	y = std::floor ((value - x) * 10000000.f + 0.5f) / 1000.f;
}

void CXYPad::boundValues (float& x, float& y)
{
	if (x < 0.f)
		x = 0.f;
	else if (x > 1.f)
		x = 1.f;
	if (y < 0.f)
		y = 0.f;
	else if (y > 1.f)
		y = 1.f;
}

void CXYPad::draw (CDrawContext* context)
{
	drawBack (context);
	float x, y;
	calculateXY (getValue (), x, y);
	CCoord w = getWidth () - getRoundRectRadius ();
	CCoord h = getHeight () - getRoundRectRadius ();
	CRect r (x * w, y * h, x * w, y * h);
	r.extend (getRoundRectRadius () / 2., getRoundRectRadius () / 2.);
	r.offset (size.left + getRoundRectRadius () / 2., size.top + getRoundRectRadius () / 2.);
	context->setFillColor (getFontColor ());
	context->setDrawMode (kAntiAliasing);
	context->drawEllipse (r, kDrawFilled);
	setDirty (false);
}

CMouseEventResult CXYPad::onMouseDown (CPoint& where, const CButtonState& buttons)
{
	if (!buttons.isLeftButton ())
		return kMouseEventNotHandled;
	mouseChangeStartPoint = where;
	mouseChangeStartPoint.offset (-size.left - getRoundRectRadius () / 2., -size.top - getRoundRectRadius () / 2.);
	mouseStartValue = getValue ();
	beginEdit ();
	return onMouseMoved (where, buttons);
}

CMouseEventResult CXYPad::onMouseUp (CPoint&, const CButtonState&)
{
	if (isEditing ())
		endEdit ();
	return kMouseEventHandled;
}

CMouseEventResult CXYPad::onMouseMoved (CPoint& where, const CButtonState& buttons)
{
	if (!buttons.isLeftButton () || !isEditing ())
		return kMouseEventNotHandled;
	if (stopTrackingOnMouseExit && !hitTest (where, buttons))
	{
		endEdit ();
		return kMouseMoveEventHandledButDontNeedMoreEvents;
	}
	CCoord w = getWidth () - getRoundRectRadius ();
	CCoord h = getHeight () - getRoundRectRadius ();
	where.offset (-size.left - getRoundRectRadius () / 2., -size.top - getRoundRectRadius () / 2.);
	float x = w > 0 ? static_cast<float> (where.x / w) : 0.f;
	float y = h > 0 ? static_cast<float> (where.y / h) : 0.f;
	boundValues (x, y);
	setValue (calculateValue (x, y));
	if (listener && isDirty ())
		listener->valueChanged (this);
	invalid ();
	lastMouseChangePoint = where;
	return kMouseEventHandled;
}

bool CXYPad::onWheel (const CPoint&, const CMouseWheelAxis&, const float&, const CButtonState&)
{
	return false;
}

} // namespace VSTGUI
