#pragma once

#include "cparamdisplay.h"

namespace VSTGUI {

//------------------------------------------------------------------------
// Two-dimensional control: x and y (0 to 1 each) packed in one value.
class CXYPad : public CParamDisplay
{
public:
	explicit CXYPad (const CRect& size = CRect (0, 0, 0, 0));
	CXYPad (const CXYPad& pad);

	void setStopTrackingOnMouseExit (bool state) { stopTrackingOnMouseExit = state; }
	bool getStopTrackingOnMouseExit () const { return stopTrackingOnMouseExit; }

	void draw (CDrawContext* context) override;
	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseUp (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseMoved (CPoint& where, const CButtonState& buttons) override;
	bool onWheel (const CPoint& where, const CMouseWheelAxis& axis, const float& distance, const CButtonState& buttons) override;
	using CParamDisplay::onWheel;

	// value = round(x·1000)/1000 + round(y·1000)/10 000 000 (round half up).
	static float calculateValue (float x, float y);
	static void calculateXY (float value, float& x, float& y);

	CView* newCopy () const override { return new CXYPad (*this); }

protected:
	void boundValues (float& x, float& y);

	float mouseStartValue {0.f};
	CPoint mouseChangeStartPoint;
	CPoint lastMouseChangePoint;
	bool stopTrackingOnMouseExit {false};
};

} // namespace VSTGUI
