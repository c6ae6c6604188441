#include "SwitchPainter.h"

#include "Canvas.h"
#include "EditorLayout.h"
#include "Fonts.h"
#include "Palette.h"
#include "Slot.h"

namespace Tarnwick {
namespace Artwork {

void SwitchPainter::slotRect (const SwitchArt& art, double& x, double& y, double& w, double& h)
{
    x = kSwitchSlotInset;
    w = art.width - 2.0 * kSwitchSlotInset;
    h = kSwitchSlotHeight;
    // Leave room under the selector for the label printed on the background.
    y = switchSlotTop(art);
}

bool SwitchPainter::paint (Canvas& image, const SwitchArt& art) const
{
	if (image.width () != art.width || image.height () != art.height)
		return false;
	const int half = art.height / 2;
	paintState (image, art, 0.0, 0);
	paintState (image, art, static_cast<double> (half), 1);
	return image.ok ();
}

void SwitchPainter::paintState (Canvas& image, const SwitchArt& art, double top, int selected) const
{
	cairo_t* cr = image.context ();
	double x, y, w, h;
	slotRect (art, x, y, w, h);
	y += top;

	cairo_save (cr);
	// The slot: sunk into the panel, a light edge below where the panel catches light.
    paintSlot(cr, x, y, w, h, 5.5);

    const double pad = 2.0;
	const double segment = (w - 2.0 * pad) * 0.5;
	const char* words[2] = {art.firstState, art.secondState};

	// The chosen segment stands up out of the slot.
	const double sx = x + pad + selected * segment;
	const double sy = y + pad;
	const double sh = h - 2.0 * pad;
	roundedRect (cr, sx, sy + 1.0, segment, sh, 4.0);
	cairo_set_source_rgba (cr, 0.0, 0.0, 0.0, 0.5);
	cairo_fill (cr);
	roundedRect (cr, sx, sy, segment, sh, 4.0);
	cairo_pattern_t* cap = cairo_pattern_create_linear (0.0, sy, 0.0, sy + sh);
	cairo_pattern_add_color_stop_rgba (cap, 0.0, 0.33, 0.29, 0.26, 1.0);
	cairo_pattern_add_color_stop_rgba (cap, 1.0, 0.17, 0.145, 0.13, 1.0);
	cairo_set_source (cr, cap);
	cairo_fill (cr);
	cairo_pattern_destroy (cap);
	roundedRect (cr, sx + 0.5, sy + 0.5, segment - 1.0, sh - 1.0, 3.5);
	cairo_pattern_t* edge = cairo_pattern_create_linear (0.0, sy, 0.0, sy + sh);
	cairo_pattern_add_color_stop_rgba (edge, 0.0, 1.0, 0.94, 0.86, 0.28);
	cairo_pattern_add_color_stop_rgba (edge, 0.6, 1.0, 0.94, 0.86, 0.0);
	cairo_set_source (cr, edge);
	cairo_set_line_width (cr, 1.0);
	cairo_stroke (cr);
	cairo_pattern_destroy (edge);

	// A lit bar along the bottom of the chosen segment.
	cairo_pattern_t* bar = cairo_pattern_create_linear (sx + 5.0, 0.0, sx + segment - 5.0, 0.0);
	cairo_pattern_add_color_stop_rgba (bar, 0.0, Palette::kAmber.r, Palette::kAmber.g, Palette::kAmber.b, 0.0);
	cairo_pattern_add_color_stop_rgba (bar, 0.5, Palette::kAmber.r, Palette::kAmber.g, Palette::kAmber.b, 0.95);
	cairo_pattern_add_color_stop_rgba (bar, 1.0, Palette::kAmber.r, Palette::kAmber.g, Palette::kAmber.b, 0.0);
	cairo_set_source (cr, bar);
	cairo_rectangle (cr, sx + 5.0, sy + sh - 3.0, segment - 10.0, 1.5);
	cairo_fill (cr);
	cairo_pattern_destroy (bar);

	Fonts::use (cr, fonts.condensedBoldFace (), 10.0);
	for (int i = 0; i < 2; ++i)
	{
		const double centre = x + pad + segment * (i + 0.5);
		const double baseline = y + h * 0.5 + 3.0;
		if (i == selected)
		{
			cairo_set_source_rgba (cr, 0.0, 0.0, 0.0, 0.6);
			showTrackedText (cr, words[i], centre, baseline + 1.0, 0.4);
			cairo_set_source_rgba (cr, Palette::kAmber.r, Palette::kAmber.g, Palette::kAmber.b, 1.0);
		}
		else
		{
			cairo_set_source_rgba (cr, Palette::kMuted.r, Palette::kMuted.g, Palette::kMuted.b, 0.9);
		}
		showTrackedText (cr, words[i], centre, baseline, 0.4);
	}
	cairo_restore (cr);
}

} // namespace Artwork
} // namespace Tarnwick
