#include "CVuMeterVx.h"

#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/cdrawcontext.h"

#include <cmath>

namespace VSTGUI {

CVuMeterVx::CVuMeterVx (const CRect& size, CBitmap* onBitmap, CBitmap* offBitmap, int32_t nbLed, bool inverted,
                        bool analog, int32_t style)
: CVuMeter (size, onBitmap, offBitmap, nbLed, style), inverted (inverted), analog (analog)
{
}

CVuMeterVx::~CVuMeterVx () = default;

void CVuMeterVx::draw (CDrawContext* context)
{
	if (!getOnBitmap ())
		return;
	if (analog)
		drawAnalog (context);
	else
		drawLeds (context);
	setDirty (false);
}

int32_t CVuMeterVx::analogSourceRow (float d) const
{
	if (!(frameHeight > 0.) || !(frameCount > 0.))
		return 0;
	const double n = frameCount;
	double y;
	if (inverted)
		y = std::floor ((restFrame / n) * (1.0 - d) * (n - 1.0) * frameHeight);
	else
		y = std::floor (d * (n - 1.0) * frameHeight);
	if (!(y >= 0.) || y > 2147483647.0)
		return 0;
	int32_t row = static_cast<int32_t> (y);
	const int32_t h = static_cast<int32_t> (frameHeight);
	if (h > 0)
		row -= row % h;
	return row;
}

void CVuMeterVx::drawAnalog (CDrawContext* context)
{
	float newValue = getOldValue () - getDecreaseStepValue ();
	if (value > newValue)
		newValue = value;
	setOldValue (newValue);
	const float d = detector.process (newValue);
	int32_t row = 0;
	if (value >= 0.f)
		row = analogSourceRow (d);
	context->drawBitmap (getOnBitmap (), getViewSize (), CPoint (0, row), 1.f);
}

int32_t CVuMeterVx::litExtent (float fraction, CCoord extent) const
{
	const int32_t leds = getNbLed ();
	if (leds <= 0)
		return 0;
	const int32_t litLeds = static_cast<int32_t> (leds * fraction + 0.5f);
	const double pixels = (static_cast<double> (litLeds) / leds) * extent + 0.5;
	if (pixels < 1.0)
		return 0;
	return static_cast<int32_t> (pixels);
}

void CVuMeterVx::drawLeds (CDrawContext* context)
{
	float fraction;
	if (getNbLed () == 2)
	{
		fraction = (value < 0.5f) ? 0.f : 1.f;
	}
	else
	{
		float newValue = getOldValue () - getDecreaseStepValue ();
		if (value > newValue)
			newValue = value;
		setOldValue (newValue);
		fraction = detector.process (newValue);
	}

	const CRect& r = getViewSize ();
	if (getOffBitmap ())
		context->drawBitmap (getOffBitmap (), r, CPoint (0, 0), 1.f);

	CBitmap* on = getOnBitmap ();
	CRect lit (r);
	CPoint source (0, 0);
	if (getStyle () & kHorizontal)
	{
		const CCoord extent = on->getWidth ();
		if (inverted)
		{
			// Lit from the right: the dark part is what (maximum - fraction) covers.
			const int32_t dark = litExtent (getMax () - fraction, extent);
			lit.left = r.left + dark;
			source.x = dark;
		}
		else
		{
			lit.right = r.left + litExtent (fraction, extent);
		}
	}
	else
	{
		const CCoord extent = on->getHeight ();
		if (inverted)
		{
			// Lit from the top down.
			lit.bottom = r.top + litExtent (fraction, extent);
		}
		else
		{
			const int32_t dark = litExtent (getMax () - fraction, extent);
			lit.top = r.top + dark;
			source.y = dark;
		}
	}
	if (lit.isEmpty ())
		return;
	context->drawBitmap (on, lit, source, 1.f);
}

} // namespace VSTGUI
