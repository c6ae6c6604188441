// A value shown in place of a control's printed label: a small recessed plate, as the
// switches' slots, with the text in the face's amber. Empty, it draws nothing and the
// label of the background shows through. Drawn with cairo at the frame's resolution, so
// the text is as sharp at scale 2, 3 or 4 as the printed labels.
#pragma once

#include "vstgui/lib/cview.h"

#include <string>

namespace Vire2VUR3 {

class CValueReadoutVx : public VSTGUI::CView
{
public:
	// size: the plate, in the parent's coordinates; baseline: of the text, in the same.
	CValueReadoutVx (const VSTGUI::CRect& size, VSTGUI::CCoord baseline);

	// Shows text on the plate; an empty text hides the plate. Repaints only on a change.
	void setText (const std::string& text);
	const std::string& getText () const { return text; }

	void draw (VSTGUI::CDrawContext* context) override;
	VSTGUI::CView* newCopy () const override { return new CValueReadoutVx (*this); }

private:
	std::string text;
	VSTGUI::CCoord baseline;
};

} // namespace Vire2VUR3
