#include "CValueReadoutVx.h"

#include "Palette.h"
#include "Slot.h"
#include "TrackedText.h"

#include "vstgui/lib/cdrawcontext.h"

#include <cairo.h>

namespace Vire2VUR3 {

using namespace VSTGUI;
namespace Artwork = Tarnwick::Artwork;

namespace {
// The printed labels' face and size; the letters a little closer, values are longer words.
constexpr double kTextSize = 9.0;
constexpr double kTracking = 0.5;
constexpr double kCornerRadius = 3.5;

void setColour (cairo_t* cr, const Artwork::Rgba& c)
{
	cairo_set_source_rgba (cr, c.r, c.g, c.b, c.a);
}
} // namespace

CValueReadoutVx::CValueReadoutVx (const CRect& size, CCoord baseline)
: CView (size)
, baseline (baseline)
{
	setMouseEnabled (false);
	setTransparency (true);
}

void CValueReadoutVx::setText (const std::string& t)
{
	if (t == text)
		return;
	text = t;
	invalid ();
}

void CValueReadoutVx::draw (CDrawContext* context)
{
	setDirty (false);
	if (text.empty ())
		return;
	cairo_t* cr = context->getCairo ();
	cairo_save (cr);
	const double x = size.left, y = size.top, w = size.getWidth (), h = size.getHeight ();
	// Sunk into the panel: a light lip below, a dark well that hides the printed label.
	Artwork::paintSlot (cr, x + 0.5, y, w - 1.0, h - 0.5, kCornerRadius);

	cairo_select_font_face (cr, "DejaVu Sans Condensed", CAIRO_FONT_SLANT_NORMAL,
	                        CAIRO_FONT_WEIGHT_BOLD);
	Artwork::useTextOptions (cr, kTextSize);
	const double centre = x + w * 0.5;
	cairo_set_source_rgba (cr, 0.0, 0.0, 0.0, 0.6);
	Artwork::showTrackedText (cr, text.c_str (), centre, baseline + 1.0, kTracking);
	setColour (cr, Artwork::Palette::kAmber);
	Artwork::showTrackedText (cr, text.c_str (), centre, baseline, kTracking);
	cairo_restore (cr);
}

} // namespace Vire2VUR3
