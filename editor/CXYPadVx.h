// An XY pad that is either a track pad (the whole square) or a joystick (the
// diamond through the edge midpoints). Values from outside have y turned over, so
// that parameter y = 0 is the bottom edge.
#pragma once

#include "vstgui/lib/controls/cxypad.h"

namespace VSTGUI {

class CXYPadVx : public CXYPad
{
public:
	explicit CXYPadVx (const CRect& size);
	~CXYPadVx () override;

	void draw (CDrawContext* context) override;
	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseUp (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseMoved (CPoint& where, const CButtonState& buttons) override;
	void setValue (float val) override;

	// Even-odd crossing test against the joystick diamond (pad coordinates 0 .. 1).
	bool isInsideJoystick (float x, float y) const;

	bool isJoystick {false};
	bool isTracking {false};

private:
	static const int kCorners = 4;
	float polygonX[kCorners] {0.f, 0.5f, 1.f, 0.5f};
	float polygonY[kCorners] {0.5f, 0.f, 0.5f, 1.f};
	float lastValidX {0.f};
	float lastValidY {0.f};
};

} // namespace VSTGUI
