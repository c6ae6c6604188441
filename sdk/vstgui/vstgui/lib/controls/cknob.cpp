#include "cknob.h"
#include "../cbitmap.h"
#include "../cdrawcontext.h"
#include "../cframe.h"
#include <cmath>

namespace VSTGUI {

namespace {
constexpr double kPI = 3.14159265358979323846;
constexpr double k2PI = 2. * kPI;
// Pixels of linear mouse travel over the whole range.
constexpr float kCKnobRange = 200.f;
constexpr int32_t kZoomModifier = kShift;
} // namespace

CKnob::CKnob (const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background, CBitmap* handle,
              const CPoint& offset)
: CControl (size, listener, tag, background), offset (offset), handleBitmap (handle)
{
}

CKnob::CKnob (const CKnob& k)
: CControl (k)
, startAngle (k.startAngle)
, rangeAngle (k.rangeAngle)
, zoomFactor (k.zoomFactor)
, inset (k.inset)
, handleLineWidth (k.handleLineWidth)
, coronaInset (k.coronaInset)
, drawStyle (k.drawStyle)
, coronaColor (k.coronaColor)
, colorHandle (k.colorHandle)
, colorShadowHandle (k.colorShadowHandle)
, offset (k.offset)
, handleBitmap (k.handleBitmap)
{
}

CKnob::~CKnob () = default;

void CKnob::draw (CDrawContext* context)
{
	if (background)
		background->draw (context, size, offset);
	CPoint handle;
	valueToPoint (handle);
	CPoint origin (size.getWidth () / 2., size.getHeight () / 2.);
	handle.offset (size.left, size.top);
	origin.offset (size.left, size.top);
	context->setDrawMode (kAntiAliasing);
	context->setLineWidth (handleLineWidth);
	context->setFrameColor (colorShadowHandle);
	context->drawLine (CPoint (origin.x + 1, origin.y + 1), CPoint (handle.x + 1, handle.y + 1));
	context->setFrameColor (colorHandle);
	context->drawLine (origin, handle);
	setDirty (false);
}

int32_t CKnob::getKnobModeFromEditor () const
{
	if (auto frame = getFrame ())
		return frame->getKnobMode ();
	return kCircularMode;
}

void CKnob::valueToPoint (CPoint& point) const
{
	double alpha = (value - getMin ()) / getRange () * rangeAngle + startAngle;
	CPoint c (size.getWidth () / 2., size.getHeight () / 2.);
	double xr = c.x - inset;
	double yr = c.y - inset;
	point.x = c.x + std::cos (alpha) * xr + 0.5;
	point.y = c.y + std::sin (alpha) * yr + 0.5;
}

float CKnob::valueFromPoint (CPoint& point) const
{
	double d = rangeAngle * 0.5;
	double a = startAngle + d;
	CPoint c (size.getWidth () / 2., size.getHeight () / 2.);
	double xr = c.x - inset;
	double yr = c.y - inset;
	if (xr <= 0. || yr <= 0.)
		return value;
	double dx = (point.x - c.x) / xr;
	double dy = (point.y - c.y) / yr;
	double alpha = std::atan2 (dy, dx) - a;
	while (alpha >= kPI)
		alpha -= k2PI;
	while (alpha < -kPI)
		alpha += k2PI;
	if (d < 0.)
		alpha = -alpha;
	float v;
	if (alpha > d)
		v = getMax ();
	else if (alpha < -d)
		v = getMin ();
	else
		v = getMin () + static_cast<float> (0.5 + alpha / rangeAngle) * getRange ();
	return v;
}

CMouseEventResult CKnob::onMouseDown (CPoint& where, const CButtonState& buttons)
{
	if (!buttons.isLeftButton ())
		return kMouseEventNotHandled;

	beginEdit ();
	if (checkDefaultValue (buttons))
	{
		endEdit ();
		return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
	}

	mouseState = MouseState ();
	mouseState.active = true;
	mouseState.firstPoint = where;
	mouseState.lastPoint = CPoint (-1, -1);
	mouseState.entryValue = value;
	mouseState.range = kCKnobRange;
	mouseState.coef = getRange () / mouseState.range;
	mouseState.oldButton = buttons;

	int32_t mode = kCircularMode;
	int32_t editorMode = getKnobModeFromEditor ();
	// Alt swaps linear and circular, as in VSTGUI.
	if (editorMode == kLinearMode)
	{
		if (!(buttons & kAlt))
			mode = kLinearMode;
	}
	else if (buttons & kAlt)
		mode = kLinearMode;
	else
		mode = editorMode == kRelativCircularMode ? kRelativCircularMode : kCircularMode;

	CPoint local (where);
	local.offset (-size.left, -size.top);
	if (mode == kLinearMode)
	{
		if (buttons & kZoomModifier)
			mouseState.range *= zoomFactor;
		mouseState.lastPoint = where;
		mouseState.modeLinear = true;
		mouseState.coef = getRange () / mouseState.range;
		return kMouseEventHandled;
	}
	mouseState.relative = (mode == kRelativCircularMode);
	mouseState.startValue = valueFromPoint (local);
	if (mouseState.relative)
	{
		mouseState.lastPoint = where;
		return kMouseEventHandled;
	}
	return onMouseMoved (where, buttons);
}

CMouseEventResult CKnob::onMouseUp (CPoint& /*where*/, const CButtonState& /*buttons*/)
{
	if (mouseState.active)
	{
		mouseState.active = false;
		endEdit ();
	}
	return kMouseEventHandled;
}

CMouseEventResult CKnob::onMouseMoved (CPoint& where, const CButtonState& buttons)
{
	if (!buttons.isLeftButton () || !mouseState.active)
		return kMouseEventNotHandled;
	if (where == mouseState.lastPoint)
		return kMouseEventHandled;
	mouseState.lastPoint = where;

	float middle = getRange () * 0.5f;
	if (mouseState.modeLinear)
	{
		CCoord diff = (mouseState.firstPoint.y - where.y) + (where.x - mouseState.firstPoint.x);
		if (buttons != mouseState.oldButton ())
		{
			// Shift pressed or released mid-drag: keep the value, change the scale.
			mouseState.range = kCKnobRange;
			if (buttons & kZoomModifier)
				mouseState.range *= zoomFactor;
			float coef2 = getRange () / mouseState.range;
			mouseState.entryValue += static_cast<float> (diff * (mouseState.coef - coef2));
			mouseState.coef = coef2;
			mouseState.oldButton = buttons;
		}
		value = static_cast<float> (mouseState.entryValue + diff * mouseState.coef);
		bounceValue ();
	}
	else
	{
		CPoint local (where);
		local.offset (-size.left, -size.top);
		float pointValue = valueFromPoint (local);
		if (mouseState.relative)
		{
			// Moves by the change of angle; a jump across the dead zone is ignored.
			float delta = pointValue - mouseState.startValue;
			if (std::fabs (delta) <= middle)
			{
				value += delta;
				bounceValue ();
			}
			mouseState.startValue = pointValue;
		}
		else
		{
			value = pointValue;
			if (mouseState.startValue - value > middle)
				value = getMax ();
			else if (value - mouseState.startValue > middle)
				value = getMin ();
			else
				mouseState.startValue = value;
		}
	}
	if (value != getOldValue ())
		valueChanged ();
	if (isDirty ())
		invalid ();
	return kMouseEventHandled;
}

bool CKnob::onWheel (const CPoint& /*where*/, const CMouseWheelAxis& axis, const float& distance,
                     const CButtonState& buttons)
{
	if (!getMouseEnabled () || axis != kMouseWheelAxisY)
		return false;
	float before = value;
	float v = getValueNormalized ();
	if (buttons & kZoomModifier)
		v += 0.1f * distance * wheelInc;
	else
		v += distance * wheelInc;
	setValueNormalized (v);
	if (value != before)
	{
		invalid ();
		beginEdit ();
		valueChanged ();
		endEdit ();
	}
	return true;
}

} // namespace VSTGUI
