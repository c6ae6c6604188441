#include "PngImage.h"

#include <cairo.h>

namespace SnapshotTest {

bool readPng (const std::string& path, VSTGUI::COffscreenImage& image)
{
	cairo_surface_t* surface = cairo_image_surface_create_from_png (path.c_str ());
	if (cairo_surface_status (surface) != CAIRO_STATUS_SUCCESS)
	{
		cairo_surface_destroy (surface);
		return false;
	}
	// Whatever the file's format, compare pixels as the editor's ARGB32.
	image.width = cairo_image_surface_get_width (surface);
	image.height = cairo_image_surface_get_height (surface);
	cairo_surface_t* argb = cairo_image_surface_create (CAIRO_FORMAT_ARGB32, image.width, image.height);
	cairo_t* cr = cairo_create (argb);
	cairo_set_source_surface (cr, surface, 0, 0);
	cairo_set_operator (cr, CAIRO_OPERATOR_SOURCE);
	cairo_paint (cr);
	cairo_destroy (cr);
	cairo_surface_flush (argb);
	const unsigned char* data = cairo_image_surface_get_data (argb);
	const int stride = cairo_image_surface_get_stride (argb);
	image.pixels.resize (static_cast<size_t> (image.width) * static_cast<size_t> (image.height));
	for (int y = 0; y < image.height; ++y)
	{
		const uint32_t* row = reinterpret_cast<const uint32_t*> (data + y * stride);
		for (int x = 0; x < image.width; ++x)
			image.pixels[static_cast<size_t> (y * image.width + x)] = row[x];
	}
	cairo_surface_destroy (argb);
	cairo_surface_destroy (surface);
	return true;
}

int differingPixels (const VSTGUI::COffscreenImage& a, const VSTGUI::COffscreenImage& b, const Area& area)
{
	int count = 0;
	for (int y = area.top; y < area.top + area.height; ++y)
		for (int x = area.left; x < area.left + area.width; ++x)
			if (a.pixelAt (x, y) != b.pixelAt (x, y))
				++count;
	return count;
}

} // namespace SnapshotTest
