// Text as the face prints it: letters spaced out, centred, with fixed rendering options
// (no hinting), so that the labels of the artwork and the editor's values look alike.
#pragma once

#include <cairo.h>

namespace Tarnwick {
namespace Artwork {

// The size in units and the rendering options of the face's print, on cr's current face.
void useTextOptions(cairo_t* cr, double size);

// Draws text with extra space between the letters, centred on x at baseline y.
void showTrackedText(cairo_t* cr, const char* text, double centreX, double baselineY, double tracking);
double trackedTextWidth(cairo_t* cr, const char* text, double tracking);

}  // namespace Artwork
}  // namespace Tarnwick
