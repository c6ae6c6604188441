// Draws Tarnwick's knob: a machined cap with a cream pointer over an amber value arc.
#pragma once

#include <cairo.h>

namespace Tarnwick {
namespace Artwork {

class KnobPainter
{
public:
	// One frame of a knob of the given width, its top-left corner at (x, y);
	// degrees is the pointer angle, clockwise from twelve o'clock.
	static void paintFrame (cairo_t* cr, double x, double y, double width, double degrees);

    // A vertical strip of frames, each as tall as the knob is wide, from the top of cr; the
    // pointer sweeps sweepDegrees from startDegrees over the frames.
    static void paintStrip(cairo_t* cr, int width, int frames, double startDegrees, double sweepDegrees);

    // The scale marks that the background prints around a knob's cell.
	static void paintScale (cairo_t* cr, double x, double y, double width, double startDegrees, double sweepDegrees);

	// The pointer angle shown by one frame of a strip.
	static double frameAngle (int frame, int frames, double startDegrees, double sweepDegrees);
};

} // namespace Artwork
} // namespace Tarnwick
