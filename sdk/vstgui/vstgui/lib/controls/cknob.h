#pragma once

#include "ccontrol.h"

namespace VSTGUI {

//------------------------------------------------------------------------
// Rotary control. Dragging follows the editor's knob mode: circular (the value
// jumps to the mouse angle), relative circular (the angle moves by the mouse's
// change of angle) or linear (vertical and horizontal movement, 200 px over the range;
// with Shift 10 times finer).
class CKnob : public CControl
{
public:
	CKnob (const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background = nullptr,
	       CBitmap* handle = nullptr, const CPoint& offset = CPoint (0, 0));
	CKnob (const CKnob& k);
	~CKnob () override;

	void draw (CDrawContext* context) override;
	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseUp (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseMoved (CPoint& where, const CButtonState& buttons) override;
	bool onWheel (const CPoint& where, const CMouseWheelAxis& axis, const float& distance, const CButtonState& buttons) override;
	using CControl::onWheel;

	virtual void setStartAngle (float val) { startAngle = val; }
	float getStartAngle () const { return startAngle; }
	virtual void setRangeAngle (float val) { rangeAngle = val; }
	float getRangeAngle () const { return rangeAngle; }
	virtual void setZoomFactor (float val) { zoomFactor = val; }
	float getZoomFactor () const { return zoomFactor; }
	virtual void setInsetValue (CCoord val) { inset = val; }
	CCoord getInsetValue () const { return inset; }
	void setCoronaColor (const CColor& c) { coronaColor = c; }
	void setColorHandle (const CColor& c) { colorHandle = c; }
	void setColorShadowHandle (const CColor& c) { colorShadowHandle = c; }
	void setHandleLineWidth (CCoord w) { handleLineWidth = w; }
	void setCoronaInset (CCoord i) { coronaInset = i; }
	void setDrawStyle (int32_t style) { drawStyle = style; }
	int32_t getDrawStyle () const { return drawStyle; }
	const CPoint& getBackOffset () const { return offset; }
	void setBackOffset (const CPoint& p) { offset = p; }

	// Angle (radians, clockwise from 3 o'clock, y down) of a value, and back.
	virtual void valueToPoint (CPoint& point) const;
	virtual float valueFromPoint (CPoint& point) const;
	// The knob mode the drag uses: the frame's editor decides, linear without one.
	int32_t getKnobModeFromEditor () const;

	CView* newCopy () const override { return new CKnob (*this); }

	enum DrawStyle
	{
		kLegacyHandleLineDrawing = 0,
		kHandleCircleDrawing = 1 << 0,
		kCoronaDrawing = 1 << 1
	};

protected:
	float startAngle {3.f * 3.14159265f / 4.f};
	float rangeAngle {3.f * 3.14159265f / 2.f};
	float zoomFactor {1.5f};
	CCoord inset {3.};
	CCoord handleLineWidth {1.};
	CCoord coronaInset {0.};
	int32_t drawStyle {0};
	CColor coronaColor {kWhiteCColor};
	CColor colorHandle {kWhiteCColor};
	CColor colorShadowHandle {kGreyCColor};
	CPoint offset;
	SharedPointer<CBitmap> handleBitmap;

	// Mouse state while dragging.
	struct MouseState
	{
		CPoint firstPoint;
		CPoint lastPoint;
		float startValue {0.f};
		float entryValue {0.f};
		float range {0.f};
		float coef {0.f};
		CButtonState oldButton;
		bool modeLinear {false};
		bool relative {false};
		bool active {false};
	} mouseState;
};

} // namespace VSTGUI
