#include "cvumeter.h"
#include "../cbitmap.h"
#include "../cdrawcontext.h"

namespace VSTGUI {

CVuMeter::CVuMeter (const CRect& size, CBitmap* onBitmap, CBitmap* offBitmap, int32_t nbLed, int32_t style)
: CControl (size, nullptr, 0, onBitmap), offBitmap (offBitmap), nbLed (nbLed), style (style)
{
	rectOn = size;
	rectOff = size;
}

CVuMeter::CVuMeter (const CVuMeter& v)
: CControl (v), offBitmap (v.offBitmap), nbLed (v.nbLed), style (v.style), decreaseValue (v.decreaseValue),
  rectOn (v.rectOn), rectOff (v.rectOff)
{
}

CVuMeter::~CVuMeter () = default;

void CVuMeter::setOnBitmap (CBitmap* bitmap)
{
	setBackground (bitmap);
}

void CVuMeter::setOffBitmap (CBitmap* bitmap)
{
	offBitmap = bitmap;
	setDirty (true);
}

void CVuMeter::setViewSize (const CRect& rect, bool doInvalid)
{
	CControl::setViewSize (rect, doInvalid);
	rectOn = rect;
	rectOff = rect;
}

void CVuMeter::setDirty (bool state)
{
	// The old value is the decaying display value: leave it alone.
	CView::setDirty (state);
}

void CVuMeter::draw (CDrawContext* context)
{
	CBitmap* onBitmap = getOnBitmap ();
	if (!onBitmap || nbLed <= 0)
		return;
	CRect on (rectOn);
	CRect off (rectOff);
	CPoint pointOn;
	CPoint pointOff;

	bounceValue ();
	float newValue = getOldValue () - decreaseValue;
	if (newValue < value)
		newValue = value;
	setOldValue (newValue);
	float range = getRange ();
	newValue = range != 0.f ? (newValue - getMin ()) / range : 0.f;

	if (style & kHorizontal)
	{
		CCoord lit = static_cast<CCoord> ((static_cast<int32_t> (nbLed * newValue + 0.5f) / static_cast<float> (nbLed)) *
		                                  onBitmap->getWidth ());
		pointOff = CPoint (lit, 0);
		off.left += lit;
		on.right = lit + rectOn.left;
	}
	else
	{
		CCoord dark = static_cast<CCoord> ((static_cast<int32_t> (nbLed * (getMax () - newValue) + 0.5f) /
		                                    static_cast<float> (nbLed)) *
		                                   onBitmap->getHeight ());
		pointOn = CPoint (0, dark);
		off.bottom = dark + rectOff.top;
		on.top += dark;
	}
	if (offBitmap)
		offBitmap->draw (context, off, pointOff);
	onBitmap->draw (context, on, pointOn);
	CView::setDirty (false);
}

} // namespace VSTGUI
