#include "BackgroundPainter.h"

#include "Canvas.h"
#include "EditorLayout.h"
#include "Fonts.h"
#include "Grain.h"
#include "KnobPainter.h"
#include "Palette.h"
#include "SwitchPainter.h"

#include <string>

namespace Tarnwick {
namespace Artwork {

static const double kPanelLeft = 4.5;
static const double kPanelTop = 58.5;
static const double kPanelRight = 480.5;
static const double kPanelBottom = 267.5;

static void setColour (cairo_t* cr, const Rgba& c)
{
	cairo_set_source_rgba (cr, c.r, c.g, c.b, c.a);
}

static void roundedRect (cairo_t* cr, double x0, double y0, double x1, double y1, double r)
{
	const double q = 1.5707963267948966;
	cairo_new_sub_path (cr);
	cairo_arc (cr, x1 - r, y0 + r, r, -q, 0.0);
	cairo_arc (cr, x1 - r, y1 - r, r, 0.0, q);
	cairo_arc (cr, x0 + r, y1 - r, r, q, 2.0 * q);
	cairo_arc (cr, x0 + r, y0 + r, r, 2.0 * q, 3.0 * q);
	cairo_close_path (cr);
}

bool BackgroundPainter::paint (Canvas& image) const
{
	if (image.width () != kEditorWidth || image.height () != kEditorHeight)
		return false;
	paintBase (image);
	paintPanel (image);
	addGrain (image, 0x7A2B1C05u, 3);
	paintNamePlate (image);
	paintControlMarks (image);
	return image.ok ();
}

void BackgroundPainter::paintBase (Canvas& image) const
{
	cairo_t* cr = image.context ();
	cairo_pattern_t* back = cairo_pattern_create_linear (0.0, 0.0, 0.0, kEditorHeight);
	cairo_pattern_add_color_stop_rgba (back, 0.0, Palette::kBackTop.r, Palette::kBackTop.g, Palette::kBackTop.b, 1.0);
	cairo_pattern_add_color_stop_rgba (back, 1.0, Palette::kBackBottom.r, Palette::kBackBottom.g, Palette::kBackBottom.b, 1.0);
	cairo_set_source (cr, back);
	cairo_paint (cr);
	cairo_pattern_destroy (back);

	// A faint warm light falling on the name plate from above.
	cairo_pattern_t* light = cairo_pattern_create_radial (kEditorWidth * 0.5, -40.0, 10.0, kEditorWidth * 0.5, -40.0, 230.0);
	cairo_pattern_add_color_stop_rgba (light, 0.0, 1.0, 0.75, 0.45, 0.10);
	cairo_pattern_add_color_stop_rgba (light, 1.0, 1.0, 0.75, 0.45, 0.0);
	cairo_set_source (cr, light);
	cairo_paint (cr);
	cairo_pattern_destroy (light);

	// Bevelled window edge.
	cairo_set_line_width (cr, 1.0);
	cairo_rectangle (cr, 0.5, 0.5, kEditorWidth - 1.0, kEditorHeight - 1.0);
	setColour (cr, rgb (0, 0, 0, 0.8));
	cairo_stroke (cr);
	cairo_move_to (cr, 1.0, 1.5);
	cairo_line_to (cr, kEditorWidth - 1.0, 1.5);
	setColour (cr, Palette::kEdgeLight);
	cairo_stroke (cr);
}

void BackgroundPainter::paintPanel (Canvas& image) const
{
	cairo_t* cr = image.context ();
	// The knob panel is a shallow recess: dark edge above, light edge below.
	roundedRect (cr, kPanelLeft, kPanelTop + 1.0, kPanelRight, kPanelBottom + 1.0, 9.0);
	setColour (cr, Palette::kEdgeLight);
	cairo_fill (cr);
	roundedRect (cr, kPanelLeft, kPanelTop, kPanelRight, kPanelBottom, 9.0);
	cairo_pattern_t* panel = cairo_pattern_create_linear (0.0, kPanelTop, 0.0, kPanelBottom);
	cairo_pattern_add_color_stop_rgba (panel, 0.0, Palette::kPanelTop.r, Palette::kPanelTop.g, Palette::kPanelTop.b, 1.0);
	cairo_pattern_add_color_stop_rgba (panel, 1.0, Palette::kPanelBottom.r, Palette::kPanelBottom.g, Palette::kPanelBottom.b, 1.0);
	cairo_set_source (cr, panel);
	cairo_fill_preserve (cr);
	cairo_pattern_destroy (panel);
	cairo_set_line_width (cr, 1.0);
	setColour (cr, Palette::kEdgeDark);
	cairo_stroke (cr);

	// Inner shadow along the top of the recess.
	cairo_pattern_t* shade = cairo_pattern_create_linear (0.0, kPanelTop, 0.0, kPanelTop + 10.0);
	cairo_pattern_add_color_stop_rgba (shade, 0.0, 0.0, 0.0, 0.0, 0.45);
	cairo_pattern_add_color_stop_rgba (shade, 1.0, 0.0, 0.0, 0.0, 0.0);
	roundedRect (cr, kPanelLeft + 0.5, kPanelTop + 0.5, kPanelRight - 0.5, kPanelTop + 12.0, 8.5);
	cairo_set_source (cr, shade);
	cairo_fill (cr);
	cairo_pattern_destroy (shade);

	// Engraved line between the two rows of knobs.
	cairo_move_to (cr, kPanelLeft + 14.0, kRowDivider);
	cairo_line_to (cr, kPanelRight - 14.0, kRowDivider);
	setColour (cr, rgb (0, 0, 0, 0.5));
	cairo_stroke (cr);
	cairo_move_to (cr, kPanelLeft + 14.0, kRowDivider + 1.0);
	cairo_line_to (cr, kPanelRight - 14.0, kRowDivider + 1.0);
	setColour (cr, rgb (255, 236, 210, 0.05));
	cairo_stroke (cr);
}

void BackgroundPainter::paintNamePlate (Canvas& image) const
{
	cairo_t* cr = image.context ();
	// Centred in the space between the two switches.
	const double centre = (96.0 + 405.0) * 0.5;

	Fonts::use (cr, fonts.boldFace (), 27.0);
	cairo_set_source_rgba (cr, 0.0, 0.0, 0.0, 0.65);
	showTrackedText (cr, "Tarnwick", centre, 33.0 + 1.2, 1.6);
	cairo_pattern_t* gold = cairo_pattern_create_linear (0.0, 12.0, 0.0, 34.0);
	cairo_pattern_add_color_stop_rgba (gold, 0.0, 1.0, 0.83, 0.55, 1.0);
	cairo_pattern_add_color_stop_rgba (gold, 1.0, Palette::kAmberDeep.r, Palette::kAmberDeep.g, Palette::kAmberDeep.b, 1.0);
	cairo_set_source (cr, gold);
	showTrackedText (cr, "Tarnwick", centre, 33.0, 1.6);
	cairo_pattern_destroy (gold);

	Fonts::use (cr, fonts.regularFace (), 7.5);
	const char* subtitle = "STEREO  FILTERED  DELAY";
	const double tracking = 2.2;
	const double half = trackedTextWidth (cr, subtitle, tracking) * 0.5;
	setColour (cr, Palette::kMuted);
	showTrackedText (cr, subtitle, centre, 47.0, tracking);

    // Short hairlines on both sides of the subtitle, clear of the Sync and Note controls.
    cairo_set_line_width (cr, 1.0);
	setColour (cr, rgb (244, 166, 66, 0.45));
    cairo_move_to(cr, centre - half - 20.0, 44.5);
    cairo_line_to (cr, centre - half - 8.0, 44.5);
	cairo_move_to (cr, centre + half + 8.0, 44.5);
    cairo_line_to(cr, centre + half + 20.0, 44.5);
    cairo_stroke (cr);
}

void BackgroundPainter::paintControlMarks (Canvas& image) const
{
	cairo_t* cr = image.context ();
	for (int i = 0; i < kPlacementCount; ++i)
	{
		const ControlPlacement& p = kPlacements[i];
		const double centre = p.x + p.width * 0.5;
		if (p.kind == ControlKind::Knob)
		{
			// A soft well under the knob so it sits in the panel rather than on it.
			const double cy = p.y + p.height * 0.5;
			cairo_pattern_t* well = cairo_pattern_create_radial (centre, cy, p.width * 0.3, centre, cy, p.width * 0.47);
			cairo_pattern_add_color_stop_rgba (well, 0.0, 0.0, 0.0, 0.0, 0.35);
			cairo_pattern_add_color_stop_rgba (well, 1.0, 0.0, 0.0, 0.0, 0.0);
			cairo_set_source (cr, well);
			cairo_arc (cr, centre, cy, p.width * 0.47, 0.0, 6.283185307179586);
			cairo_fill (cr);
			cairo_pattern_destroy (well);
			KnobPainter::paintScale (cr, p.x, p.y, p.width, kKnobStartDegrees, kKnobSweepDegrees);
		}
		Fonts::use (cr, fonts.condensedBoldFace (), 9.0);
        const double baseline = Artwork::labelBaseline(i);
        cairo_set_source_rgba (cr, 0.0, 0.0, 0.0, 0.7);
		showTrackedText (cr, p.label, centre, baseline + 1.0, 1.3);
		setColour (cr, Palette::kLabel);
		showTrackedText (cr, p.label, centre, baseline, 1.3);
	}
}

} // namespace Artwork
} // namespace Tarnwick
