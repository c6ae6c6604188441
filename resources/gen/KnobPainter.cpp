#include "KnobPainter.h"

#include "Palette.h"

#include <cmath>

namespace Tarnwick {
namespace Artwork {

static const double kPi = 3.14159265358979323846;

// cairo measures angles from three o'clock; the knob from twelve.
static double toCairo (double degrees)
{
	return (degrees - 90.0) * kPi / 180.0;
}

static void setColour (cairo_t* cr, const Rgba& c)
{
	cairo_set_source_rgba (cr, c.r, c.g, c.b, c.a);
}

static void addStop (cairo_pattern_t* p, double offset, const Rgba& c)
{
	cairo_pattern_add_color_stop_rgba (p, offset, c.r, c.g, c.b, c.a);
}

double KnobPainter::frameAngle (int frame, int frames, double startDegrees, double sweepDegrees)
{
	if (frames < 2)
		return startDegrees;
	return startDegrees + sweepDegrees * static_cast<double> (frame) / static_cast<double> (frames - 1);
}

void KnobPainter::paintFrame (cairo_t* cr, double x, double y, double width, double degrees)
{
	const double c = width * 0.5;
	const double cx = x + c;
	const double cy = y + c;
	const double arcRadius = width * 0.405;
	const double arcWidth = std::fmax (2.5, width * 0.045);
	const double skirtRadius = width * 0.315;
	const double faceRadius = width * 0.25;

	cairo_save (cr);
	cairo_set_line_cap (cr, CAIRO_LINE_CAP_BUTT);

	// Value track: the full travel in dark, the current value in amber with a soft glow.
	cairo_new_path (cr);
	cairo_set_line_width (cr, arcWidth);
	setColour (cr, Palette::kTrack);
	cairo_arc (cr, cx, cy, arcRadius, toCairo (-135.0), toCairo (135.0));
	cairo_stroke (cr);
	if (degrees > -134.9)
	{
		cairo_new_path (cr);
		cairo_set_line_width (cr, arcWidth * 2.4);
		setColour (cr, Palette::kAmberGlow);
		cairo_arc (cr, cx, cy, arcRadius, toCairo (-135.0), toCairo (degrees));
		cairo_stroke (cr);
		cairo_new_path (cr);
		cairo_set_line_width (cr, arcWidth * 0.62);
		cairo_pattern_t* amber = cairo_pattern_create_linear (x, y + width, x + width, y);
		addStop (amber, 0.0, Palette::kAmberDeep);
		addStop (amber, 1.0, Palette::kAmber);
		cairo_set_source (cr, amber);
		cairo_arc (cr, cx, cy, arcRadius, toCairo (-135.0), toCairo (degrees));
		cairo_stroke (cr);
		cairo_pattern_destroy (amber);
	}

	// Shadow under the cap, a few rings fading outwards and slightly downwards.
	for (int i = 6; i >= 1; --i)
	{
		cairo_new_path (cr);
		cairo_set_source_rgba (cr, 0.0, 0.0, 0.0, 0.07);
		cairo_arc (cr, cx, cy + width * 0.035, skirtRadius + i * width * 0.009, 0.0, 2.0 * kPi);
		cairo_fill (cr);
	}

	// Skirt: dark, knurled, lit from above.
	cairo_new_path (cr);
	cairo_pattern_t* skirt = cairo_pattern_create_linear (0.0, cy - skirtRadius, 0.0, cy + skirtRadius);
	addStop (skirt, 0.0, Palette::kCapLight);
	addStop (skirt, 1.0, Palette::kCapDark);
	cairo_set_source (cr, skirt);
	cairo_arc (cr, cx, cy, skirtRadius, 0.0, 2.0 * kPi);
	cairo_fill (cr);
	cairo_pattern_destroy (skirt);

	// The knurling turns with the knob.
	cairo_set_line_width (cr, std::fmax (0.8, width * 0.012));
	const int grooves = 40;
	for (int i = 0; i < grooves; ++i)
	{
		const double a = toCairo (degrees + 360.0 * i / grooves);
		const double shade = 0.5 + 0.5 * std::sin (a); // darker at the top, where the light falls
		cairo_set_source_rgba (cr, 0.0, 0.0, 0.0, 0.18 + 0.22 * shade);
		cairo_move_to (cr, cx + std::cos (a) * faceRadius * 1.04, cy + std::sin (a) * faceRadius * 1.04);
		cairo_line_to (cr, cx + std::cos (a) * skirtRadius * 0.985, cy + std::sin (a) * skirtRadius * 0.985);
		cairo_stroke (cr);
	}

	// Rim: a bright edge on top fading into the shadow side.
	cairo_new_path (cr);
	cairo_set_line_width (cr, 1.0);
	cairo_pattern_t* rim = cairo_pattern_create_linear (0.0, cy - skirtRadius, 0.0, cy + skirtRadius);
	addStop (rim, 0.0, Palette::kRimLight);
	addStop (rim, 0.55, Palette::kRimDark);
	addStop (rim, 1.0, Palette::kRimDark);
	cairo_set_source (cr, rim);
	cairo_arc (cr, cx, cy, skirtRadius - 0.5, 0.0, 2.0 * kPi);
	cairo_stroke (cr);
	cairo_pattern_destroy (rim);

	// Face: a slightly concave top, brighter towards the upper left.
	cairo_new_path (cr);
	cairo_pattern_t* face = cairo_pattern_create_radial (cx - faceRadius * 0.35, cy - faceRadius * 0.5, faceRadius * 0.1,
	                                                     cx, cy, faceRadius * 1.05);
	addStop (face, 0.0, rgb (84, 75, 67));
	addStop (face, 1.0, rgb (36, 31, 28));
	cairo_set_source (cr, face);
	cairo_arc (cr, cx, cy, faceRadius, 0.0, 2.0 * kPi);
	cairo_fill (cr);
	cairo_pattern_destroy (face);
	cairo_new_path (cr);
	cairo_set_line_width (cr, 1.0);
	cairo_pattern_t* faceEdge = cairo_pattern_create_linear (0.0, cy - faceRadius, 0.0, cy + faceRadius);
	addStop (faceEdge, 0.0, rgb (0, 0, 0, 0.6));
	addStop (faceEdge, 1.0, rgb (255, 240, 220, 0.18));
	cairo_set_source (cr, faceEdge);
	cairo_arc (cr, cx, cy, faceRadius - 0.5, 0.0, 2.0 * kPi);
	cairo_stroke (cr);
	cairo_pattern_destroy (faceEdge);

	// Pointer: a cream line from near the centre to the skirt's edge.
	const double a = toCairo (degrees);
	cairo_new_path (cr);
	cairo_set_line_cap (cr, CAIRO_LINE_CAP_ROUND);
	cairo_set_line_width (cr, std::fmax (2.0, width * 0.036));
	cairo_set_source_rgba (cr, 0.0, 0.0, 0.0, 0.45);
	cairo_move_to (cr, cx + std::cos (a) * width * 0.10, cy + std::sin (a) * width * 0.10 + 1.0);
	cairo_line_to (cr, cx + std::cos (a) * skirtRadius * 0.92, cy + std::sin (a) * skirtRadius * 0.92 + 1.0);
	cairo_stroke (cr);
	setColour (cr, Palette::kPointer);
	cairo_move_to (cr, cx + std::cos (a) * width * 0.10, cy + std::sin (a) * width * 0.10);
	cairo_line_to (cr, cx + std::cos (a) * skirtRadius * 0.92, cy + std::sin (a) * skirtRadius * 0.92);
	cairo_stroke (cr);

	cairo_restore (cr);
}

void KnobPainter::paintStrip(cairo_t* cr, int width, int frames, double startDegrees, double sweepDegrees)
{
    for (int i = 0; i < frames; ++i)
	{
		cairo_save (cr);
		cairo_rectangle (cr, 0.0, static_cast<double> (i * width), width, width);
		cairo_clip (cr);
		paintFrame (cr, 0.0, static_cast<double> (i * width), width, frameAngle (i, frames, startDegrees, sweepDegrees));
		cairo_restore (cr);
    }
}

void KnobPainter::paintScale (cairo_t* cr, double x, double y, double width, double startDegrees, double sweepDegrees)
{
	const double cx = x + width * 0.5;
	const double cy = y + width * 0.5;
	const int ticks = 11;
	cairo_save (cr);
	cairo_set_line_cap (cr, CAIRO_LINE_CAP_ROUND);
	for (int i = 0; i < ticks; ++i)
	{
		const bool major = (i == 0 || i == ticks / 2 || i == ticks - 1);
		const double a = toCairo (startDegrees + sweepDegrees * i / (ticks - 1));
		const double inner = width * 0.465;
		const double outer = width * (major ? 0.525 : 0.5);
		cairo_set_line_width (cr, major ? 1.6 : 1.1);
		setColour (cr, major ? Palette::kLabel : Palette::kTick);
		cairo_move_to (cr, cx + std::cos (a) * inner, cy + std::sin (a) * inner);
		cairo_line_to (cr, cx + std::cos (a) * outer, cy + std::sin (a) * outer);
		cairo_stroke (cr);
	}
	cairo_restore (cr);
}

} // namespace Artwork
} // namespace Tarnwick
