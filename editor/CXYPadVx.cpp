#include "CXYPadVx.h"

#include "vstgui/lib/cdrawcontext.h"

namespace VSTGUI {

CXYPadVx::CXYPadVx (const CRect& size)
: CXYPad (size)
{
}

CXYPadVx::~CXYPadVx () = default;

bool CXYPadVx::isInsideJoystick (float x, float y) const
{
	bool inside = false;
	for (int i = 0, j = kCorners - 1; i < kCorners; j = i++)
	{
		if ((polygonY[i] > y) != (polygonY[j] > y) &&
		    x < (polygonX[j] - polygonX[i]) * (y - polygonY[i]) / (polygonY[j] - polygonY[i]) + polygonX[i])
			inside = !inside;
	}
	return inside;
}

void CXYPadVx::setValue (float val)
{
	float x = 0.f;
	float y = 0.f;
	if (isJoystick)
	{
		calculateXY (val, x, y);
		if (!isTracking)
			y = 1.f - y;
		if (!isInsideJoystick (x, y))
			return;
		CXYPad::setValue (calculateValue (x, y));
		return;
	}
	if (isTracking)
	{
		CXYPad::setValue (val);
		return;
	}
	calculateXY (val, x, y);
	y = 1.f - y;
	boundValues (x, y);
	CXYPad::setValue (calculateValue (x, y));
}

CMouseEventResult CXYPadVx::onMouseDown (CPoint& where, const CButtonState& buttons)
{
	if (buttons.getButtonState () != kLButton)
		return kMouseEventNotHandled;
	const CCoord half = getRoundRectRadius () / 2.;
	mouseChangeStartPoint = where;
	mouseChangeStartPoint.offset (-getViewSize ().left - half, -getViewSize ().top - half);
	isTracking = true;
	// The edit starts before the first move reports a value, so that the host sees
	// every value of the gesture inside it.
	if (!isEditing ())
		beginEdit ();
	onMouseMoved (where, buttons);
	return kMouseEventHandled;
}

CMouseEventResult CXYPadVx::onMouseMoved (CPoint& where, const CButtonState& buttons)
{
	if (!isJoystick)
		return CXYPad::onMouseMoved (where, buttons);
	if (!isTracking || buttons.getButtonState () != kLButton)
		return kMouseEventNotHandled;

	const CRect& r = getViewSize ();
	if (getStopTrackingOnMouseExit () && !r.pointInside (where))
	{
		endEdit ();
		isTracking = false;
		return kMouseMoveEventHandledButDontNeedMoreEvents;
	}

	const CCoord h = getRoundRectRadius ();
	const CCoord spanX = r.getWidth () - h;
	const CCoord spanY = r.getHeight () - h;
	float x = lastValidX;
	float y = lastValidY;
	if (spanX > 0. && spanY > 0.)
	{
		const float px = static_cast<float> ((where.x - r.left - h / 2.) / spanX);
		const float py = static_cast<float> ((where.y - r.top - h / 2.) / spanY);
		if (isInsideJoystick (px, py))
		{
			x = px < 0.f ? 0.f : (px > 1.f ? 1.f : px);
			y = py < 0.f ? 0.f : (py > 1.f ? 1.f : py);
			lastValidX = x;
			lastValidY = y;
		}
	}
	setValue (calculateValue (x, y));
	if (getListener () && isDirty ())
		getListener ()->valueChanged (this);
	invalid ();
	lastMouseChangePoint = where;
	return kMouseEventHandled;
}

CMouseEventResult CXYPadVx::onMouseUp (CPoint& where, const CButtonState& buttons)
{
	CXYPad::onMouseUp (where, buttons);
	isTracking = false;
	return kMouseEventHandled;
}

void CXYPadVx::draw (CDrawContext* context)
{
	if (!isJoystick)
	{
		CXYPad::draw (context);
		return;
	}
	const CRect& r = getViewSize ();
	const CCoord cx = r.left + r.getWidth () / 2.;
	const CCoord cy = r.top + r.getHeight () / 2.;

	context->setLineWidth (2.);
	context->setFillColor (getBackColor ());
	context->setFrameColor (getFrameColor ());
	CPolygon diamond;
	diamond.push_back (CPoint (r.left, cy));
	diamond.push_back (CPoint (cx, r.top));
	diamond.push_back (CPoint (r.right, cy));
	diamond.push_back (CPoint (cx, r.bottom));
	diamond.push_back (CPoint (r.left, cy));
	context->drawPolygon (diamond, kDrawFilledAndStroked);

	context->setLineWidth (1.);
	context->drawLine (CPoint (cx, r.top), CPoint (cx, r.bottom));
	context->drawLine (CPoint (r.left, cy), CPoint (r.right, cy));

	float x = 0.f;
	float y = 0.f;
	calculateXY (getValue (), x, y);
	const CCoord h = getRoundRectRadius ();
	const CCoord hx = r.left + h / 2. + x * (r.getWidth () - h);
	const CCoord hy = r.top + h / 2. + y * (r.getHeight () - h);
	context->setFillColor (getFontColor ());
	context->setDrawMode (kAntiAliasing);
	context->drawEllipse (CRect (hx - h / 2., hy - h / 2., hx + h / 2., hy + h / 2.), kDrawFilled);
	setDirty (false);
}

} // namespace VSTGUI
