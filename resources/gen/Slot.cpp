#include "Slot.h"

namespace Tarnwick {
namespace Artwork {

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r)
{
    const double kQuarter = 1.5707963267948966;
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -kQuarter, 0.0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0.0, kQuarter);
    cairo_arc(cr, x + r, y + h - r, r, kQuarter, 2.0 * kQuarter);
    cairo_arc(cr, x + r, y + r, r, 2.0 * kQuarter, 3.0 * kQuarter);
    cairo_close_path(cr);
}

void paintSlot(cairo_t* cr, double x, double y, double w, double h, double r)
{
    roundedRect(cr, x - 0.5, y + 0.5, w + 1.0, h + 1.0, r + 0.5);
    cairo_set_source_rgba(cr, 1.0, 0.93, 0.82, 0.10);
    cairo_fill(cr);
    roundedRect(cr, x, y, w, h, r);
    cairo_pattern_t* well = cairo_pattern_create_linear(0.0, y, 0.0, y + h);
    cairo_pattern_add_color_stop_rgba(well, 0.0, 0.03, 0.025, 0.02, 1.0);
    cairo_pattern_add_color_stop_rgba(well, 1.0, 0.08, 0.07, 0.06, 1.0);
    cairo_set_source(cr, well);
    cairo_fill(cr);
    cairo_pattern_destroy(well);
}

}  // namespace Artwork
}  // namespace Tarnwick
