#include "CValueReadoutVx.h"

#include "Palette.h"
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

void roundedRect (cairo_t* cr, double x, double y, double w, double h, double r)
{
	const double kQuarter = 1.5707963267948966;
	cairo_new_sub_path (cr);
	cairo_arc (cr, x + w - r, y + r, r, -kQuarter, 0.0);
	cairo_arc (cr, x + w - r, y + h - r, r, 0.0, kQuarter);
	cairo_arc (cr, x + r, y + h - r, r, kQuarter, 2.0 * kQuarter);
	cairo_arc (cr, x + r, y + r, r, 2.0 * kQuarter, 3.0 * kQuarter);
	cairo_close_path (cr);
}

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
	roundedRect (cr, x, y + 0.5, w, h, kCornerRadius + 0.5);
	cairo_set_source_rgba (cr, 1.0, 0.93, 0.82, 0.10);
	cairo_fill (cr);
	roundedRect (cr, x + 0.5, y, w - 1.0, h - 0.5, kCornerRadius);
	cairo_pattern_t* well = cairo_pattern_create_linear (0.0, y, 0.0, y + h);
	cairo_pattern_add_color_stop_rgba (well, 0.0, 0.03, 0.025, 0.02, 1.0);
	cairo_pattern_add_color_stop_rgba (well, 1.0, 0.08, 0.07, 0.06, 1.0);
	cairo_set_source (cr, well);
	cairo_fill (cr);
	cairo_pattern_destroy (well);

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
