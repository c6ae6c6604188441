// The face's sunk slot: a dark well with a light lip below, where the panel catches the
// light. The switches' selectors, the value plates and the note display sit in one.
#pragma once

#include <cairo.h>

namespace Tarnwick {
namespace Artwork {

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r);

// The well fills x, y, w, h with corner radius r; the lip lies half a unit outside it.
void paintSlot(cairo_t* cr, double x, double y, double w, double h, double r);

}  // namespace Artwork
}  // namespace Tarnwick
