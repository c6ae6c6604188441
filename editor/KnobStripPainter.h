// The knob strips of the editor drawn by the artwork's own knob painter, frame by frame,
// at the resolution the screen asks for: beyond scale 1 no strip is decoded or shipped.
#pragma once

#include "vstgui/lib/ibitmappainter.h"

namespace Vire2VUR3 {

class KnobStripPainter : public VSTGUI::IBitmapPainter
{
public:
	KnobStripPainter (int width, int frames)
	: width (width)
	, frames (frames)
	{
	}

	VSTGUI::CPoint getSize () const override;
	VSTGUI::CPoint getTileSize () const override;
	void paintTile (cairo_t* cr, int32_t index) const override;
	std::string getIdentity () const override;

	// Hands every knob strip of the layout to the bitmaps by its file name (once a process).
	static void registerProductStrips ();

private:
	int width;
	int frames;
};

} // namespace Vire2VUR3
