#pragma once

#include "ccontrol.h"

namespace VSTGUI {

//------------------------------------------------------------------------
// Two-state switch: a click toggles between min and max. The bitmap holds both
// states stacked: the upper half is drawn below max, the lower half at max.
class COnOffButton : public CControl
{
public:
	COnOffButton (const CRect& size, IControlListener* listener = nullptr, int32_t tag = -1,
	              CBitmap* background = nullptr, int32_t style = kPreListenerUpdate);
	COnOffButton (const COnOffButton& b);

	void draw (CDrawContext* context) override;
	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseUp (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseMoved (CPoint& where, const CButtonState& buttons) override;
	// Source row of the bitmap drawn for the current value.
	CCoord getBitmapOffsetY () const;

	int32_t getStyle () const { return style; }
	void setStyle (int32_t s) { style = s; }

	enum Style
	{
		kPreListenerUpdate,
		kPostListenerUpdate
	};

	CView* newCopy () const override { return new COnOffButton (*this); }

protected:
	void setWantsDefaultValue ();
	int32_t style;
};

//------------------------------------------------------------------------
// Momentary button: max while pressed and the mouse inside, min otherwise.
// The bitmap holds the released image on top and the pressed one below it.
class CKickButton : public CControl, public IMultiBitmapControl
{
public:
	CKickButton (const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background,
	             const CPoint& offset = CPoint (0, 0));
	CKickButton (const CRect& size, IControlListener* listener, int32_t tag, CCoord heightOfOneImage,
	             CBitmap* background, const CPoint& offset = CPoint (0, 0));
	CKickButton (const CKickButton& b);

	void draw (CDrawContext* context) override;
	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseUp (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseMoved (CPoint& where, const CButtonState& buttons) override;
	void setNumSubPixmaps (int32_t) override {}
	const CPoint& getOffset () const { return offset; }

	CView* newCopy () const override { return new CKickButton (*this); }

protected:
	CBitmap* multiBitmapBackground () const override { return getBackground (); }
	CPoint offset;
	float fEntryState {0.f};
};

} // namespace VSTGUI
