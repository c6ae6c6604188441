#include "KnobStripPainter.h"

#include "EditorLayout.h"
#include "KnobPainter.h"

#include "vstgui/lib/cbitmap.h"

#include <cairo.h>
#include <memory>

namespace Vire2VUR3 {

using namespace VSTGUI;
namespace Artwork = Tarnwick::Artwork;

CPoint KnobStripPainter::getSize () const
{
	return CPoint (width, static_cast<CCoord> (width) * frames);
}

CPoint KnobStripPainter::getTileSize () const
{
	return CPoint (width, width);
}

void KnobStripPainter::paintTile (cairo_t* cr, int32_t index) const
{
	cairo_set_antialias (cr, CAIRO_ANTIALIAS_GOOD);
	cairo_rectangle (cr, 0., 0., width, width);
	cairo_clip (cr);
	Artwork::KnobPainter::paintFrame (
	    cr, 0., 0., width,
	    Artwork::KnobPainter::frameAngle (index, frames, Artwork::kKnobStartDegrees,
	                                      Artwork::kKnobSweepDegrees));
}

std::string KnobStripPainter::getIdentity () const
{
	// Knobs of one width look alike ("cutk" and "gaink"): one set of frames serves both.
	return "knob " + std::to_string (width) + " " + std::to_string (frames);
}

void KnobStripPainter::registerProductStrips ()
{
	static bool registered = false;
	if (registered)
		return;
	registered = true;
	for (int i = 0; i < Artwork::kPlacementCount; ++i)
	{
		const Artwork::ControlPlacement& p = Artwork::kPlacements[i];
		if (p.kind != Artwork::ControlKind::Knob)
			continue;
		const std::string file = std::string (p.bitmapName) + ".png";
		CBitmap::setPainter (file,
		                     std::make_shared<KnobStripPainter> (p.width, Artwork::kKnobFrames));
		// Knobs of one width share the strip file of the first of them.
		const int shared = Artwork::sharedKnobStrip (i);
		if (shared != i)
			CBitmap::setAlias (file,
			                   std::string (Artwork::kPlacements[shared].bitmapName) + ".png");
	}
	CBitmap::setPainter ("knobvst.png", std::make_shared<KnobStripPainter> (
	                                        Artwork::kSpareKnobSize, Artwork::kSpareKnobFrames));
}

} // namespace Vire2VUR3
