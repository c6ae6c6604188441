#pragma once

#include "ccontrol.h"

namespace VSTGUI {

//------------------------------------------------------------------------
// LED meter: the off bitmap behind, the lit part of the on bitmap over it.
// The shown value falls back by the decrease step per redraw.
class CVuMeter : public CControl
{
public:
	enum Style
	{
		kHorizontal = 1 << 0,
		kVertical = 1 << 1
	};

	CVuMeter (const CRect& size, CBitmap* onBitmap, CBitmap* offBitmap, int32_t nbLed, int32_t style = kVertical);
	CVuMeter (const CVuMeter& vumeter);
	~CVuMeter () override;

	virtual void setOnBitmap (CBitmap* bitmap);
	CBitmap* getOnBitmap () const { return getBackground (); }
	virtual void setOffBitmap (CBitmap* bitmap);
	CBitmap* getOffBitmap () const { return offBitmap; }
	void setNbLed (int32_t n) { nbLed = n; }
	int32_t getNbLed () const { return nbLed; }
	void setStyle (int32_t s) { style = s; }
	int32_t getStyle () const { return style; }
	virtual void setDecreaseStepValue (float value) { decreaseValue = value; }
	float getDecreaseStepValue () const { return decreaseValue; }

	void draw (CDrawContext* context) override;
	void setDirty (bool state = true) override;
	void setViewSize (const CRect& rect, bool invalid = true) override;

	CView* newCopy () const override { return new CVuMeter (*this); }

protected:
	SharedPointer<CBitmap> offBitmap;
	int32_t nbLed;
	int32_t style;
	float decreaseValue {0.1f};
	CRect rectOn;
	CRect rectOff;
};

} // namespace VSTGUI
