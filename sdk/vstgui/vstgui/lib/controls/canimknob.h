#pragma once

#include "cknob.h"

namespace VSTGUI {

//------------------------------------------------------------------------
// A knob drawn from a vertical strip of images, one per step of the value.
class CAnimKnob : public CKnob, public IMultiBitmapControl
{
public:
	CAnimKnob (const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background,
	           const CPoint& offset = CPoint (0, 0));
	CAnimKnob (const CRect& size, IControlListener* listener, int32_t tag, int32_t subPixmaps,
	           CCoord heightOfOneImage, CBitmap* background, const CPoint& offset = CPoint (0, 0));
	CAnimKnob (const CAnimKnob& knob);

	void draw (CDrawContext* context) override;
	void setHeightOfOneImage (const CCoord& height) override;
	void setBackground (CBitmap* background) override;
	void setInverseBitmap (bool val) { inverseBitmap = val; }
	bool getInverseBitmap () const { return inverseBitmap; }
	// Row of the strip (0-based) the current value shows.
	int32_t getFrameIndex () const;

	CView* newCopy () const override { return new CAnimKnob (*this); }

protected:
	CBitmap* multiBitmapBackground () const override { return getBackground (); }
	bool inverseBitmap {false};
};

} // namespace VSTGUI
