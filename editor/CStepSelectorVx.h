// A stepped parameter's choice shown as text in a sunk slot of the face, and chosen by
// dragging up or down (one choice per few pixels) or by the wheel (one choice per notch).
// The value is the choice's index, 0 ... max; the text is the display's value-to-string
// (the editor's parameter binding gives it the parameter's texts). Drawn with cairo at the frame's
// resolution, sharp at every scale.
#pragma once

#include "vstgui/lib/controls/cparamdisplay.h"

#include <string>

namespace Vire2VUR3 {

class CStepSelectorVx : public VSTGUI::CParamDisplay
{
public:
	CStepSelectorVx (const VSTGUI::CRect& size, VSTGUI::IControlListener* listener, int32_t tag);

	// The text of the choice shown now; empty without a value-to-string.
	std::string shownText ();

	// Values land on whole choices.
	void setValue (float val) override;

	void draw (VSTGUI::CDrawContext* context) override;
	VSTGUI::CMouseEventResult onMouseDown (VSTGUI::CPoint& where,
	                                       const VSTGUI::CButtonState& buttons) override;
	VSTGUI::CMouseEventResult onMouseMoved (VSTGUI::CPoint& where,
	                                        const VSTGUI::CButtonState& buttons) override;
	VSTGUI::CMouseEventResult onMouseUp (VSTGUI::CPoint& where,
	                                     const VSTGUI::CButtonState& buttons) override;
	bool onWheel (const VSTGUI::CPoint& where, const VSTGUI::CMouseWheelAxis& axis,
	              const float& distance, const VSTGUI::CButtonState& buttons) override;
	VSTGUI::CView* newCopy () const override { return new CStepSelectorVx (*this); }

	// Pixels of vertical drag per choice.
	static constexpr double kPixelsPerStep = 8.0;

private:
	// Moves to the choice, telling the listener when it changed.
	void stepTo (float choice);

	bool dragging {false};
	double dragStartY {0.0};
	float dragStartValue {0.f};
};

} // namespace Vire2VUR3
