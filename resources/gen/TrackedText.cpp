#include "TrackedText.h"

namespace Tarnwick {
namespace Artwork {

void useTextOptions(cairo_t* cr, double size)
{
    cairo_set_font_size(cr, size);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_subpixel_order(options, CAIRO_SUBPIXEL_ORDER_DEFAULT);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

double trackedTextWidth(cairo_t* cr, const char* text, double tracking)
{
    double width = 0.0;
    int count = 0;
    char one[2] = {0, 0};
    for (const char* p = text; *p; ++p)
    {
        one[0] = *p;
        cairo_text_extents_t extents;
        cairo_text_extents(cr, one, &extents);
        width += extents.x_advance;
        ++count;
    }
    if (count > 1)
        width += tracking * (count - 1);
    return width;
}

void showTrackedText(cairo_t* cr, const char* text, double centreX, double baselineY, double tracking)
{
    double x = centreX - trackedTextWidth(cr, text, tracking) * 0.5;
    char one[2] = {0, 0};
    for (const char* p = text; *p; ++p)
    {
        one[0] = *p;
        cairo_text_extents_t extents;
        cairo_text_extents(cr, one, &extents);
        cairo_move_to(cr, x, baselineY);
        cairo_show_text(cr, one);
        x += extents.x_advance + tracking;
    }
}

}  // namespace Artwork
}  // namespace Tarnwick
