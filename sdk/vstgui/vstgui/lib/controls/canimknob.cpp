#include "canimknob.h"
#include "../cbitmap.h"
#include "../cdrawcontext.h"
#include <cmath>

namespace VSTGUI {

CAnimKnob::CAnimKnob (const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background,
                      const CPoint& offset)
: CKnob (size, listener, tag, background, nullptr, offset)
{
	heightOfOneImage = size.getHeight ();
	setNumSubPixmaps (background && heightOfOneImage > 0 ? static_cast<int32_t> (background->getHeight () / heightOfOneImage) : 0);
	inset = 0;
}

CAnimKnob::CAnimKnob (const CRect& size, IControlListener* listener, int32_t tag, int32_t subPixmaps,
                      CCoord height, CBitmap* background, const CPoint& offset)
: CKnob (size, listener, tag, background, nullptr, offset)
{
	heightOfOneImage = height;
	setNumSubPixmaps (subPixmaps);
	inset = 0;
}

CAnimKnob::CAnimKnob (const CAnimKnob& knob) : CKnob (knob), IMultiBitmapControl (knob), inverseBitmap (knob.inverseBitmap)
{
}

void CAnimKnob::setHeightOfOneImage (const CCoord& height)
{
	IMultiBitmapControl::setHeightOfOneImage (height);
	if (background && heightOfOneImage > 0)
		setNumSubPixmaps (static_cast<int32_t> (background->getHeight () / heightOfOneImage));
}

void CAnimKnob::setBackground (CBitmap* b)
{
	CKnob::setBackground (b);
	if (b && heightOfOneImage > 0)
		setNumSubPixmaps (static_cast<int32_t> (b->getHeight () / heightOfOneImage));
}

int32_t CAnimKnob::getFrameIndex () const
{
	float val = getValueNormalized ();
	if (val < 0.f || heightOfOneImage <= 0. || subPixmaps <= 0)
		return 0;
	CCoord span = heightOfOneImage * (subPixmaps - 1);
	CCoord y = inverseBitmap ? std::floor ((1. - val) * span) : std::floor (val * span);
	int32_t h = static_cast<int32_t> (heightOfOneImage);
	int32_t yi = static_cast<int32_t> (y);
	yi -= yi % h;
	return yi / h;
}

void CAnimKnob::draw (CDrawContext* context)
{
	if (background)
	{
		CPoint where (0, static_cast<CCoord> (getFrameIndex ()) * heightOfOneImage);
		background->draw (context, size, where);
	}
	setDirty (false);
}

} // namespace VSTGUI
