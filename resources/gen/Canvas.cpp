#include "Canvas.h"

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace Tarnwick {
namespace Artwork {

Canvas::Canvas (int width, int height, int scale)
: w (width), h (height), pixelsPerUnit (scale)
{
	image = cairo_image_surface_create (CAIRO_FORMAT_ARGB32, width * scale, height * scale);
	cr = cairo_create (image);
	cairo_set_antialias (cr, CAIRO_ANTIALIAS_GOOD);
	if (scale != 1)
		cairo_scale (cr, scale, scale);
}

Canvas::~Canvas ()
{
	cairo_destroy (cr);
	cairo_surface_destroy (image);
}

bool Canvas::ok () const
{
	return cairo_surface_status (image) == CAIRO_STATUS_SUCCESS && cairo_status (cr) == CAIRO_STATUS_SUCCESS;
}

// libpng reports errors by longjmp; nothing here lives across the jump.
// fast: the quickest compression, for large images.
static bool encodeRgba (png_structp png, png_infop info, FILE* file, const unsigned char* rows, int w, int h, bool fast)
{
	if (setjmp (png_jmpbuf (png)) != 0)
		return false;
	png_init_io (png, file);
	if (fast)
	{
		// The large 2x strips: quick to write, a little larger (the 1x files keep their bytes).
		png_set_compression_level (png, 1);
		png_set_filter (png, 0, PNG_FILTER_SUB);
	}
	png_set_IHDR (png, info, static_cast<png_uint_32> (w), static_cast<png_uint_32> (h), 8, PNG_COLOR_TYPE_RGB_ALPHA,
	              PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
	png_write_info (png, info);
	for (int y = 0; y < h; ++y)
		png_write_row (png, const_cast<unsigned char*> (rows + static_cast<size_t> (y) * static_cast<size_t> (w) * 4));
	png_write_end (png, nullptr);
	return true;
}

// cairo's own writer drops the alpha channel of fully opaque images; the bundle's
// images are all 8-bit RGBA, so they are written here, with no optional chunks.
bool Canvas::writePng (const std::string& path)
{
	cairo_surface_flush (image);
	const int pw = pixelWidth ();
	const int ph = pixelHeight ();
	const unsigned char* data = cairo_image_surface_get_data (image);
	const int stride = cairo_image_surface_get_stride (image);
	if (!data)
		return false;

	std::vector<unsigned char> rows (static_cast<size_t> (pw) * static_cast<size_t> (ph) * 4);
	for (int y = 0; y < ph; ++y)
	{
		const uint32_t* in = reinterpret_cast<const uint32_t*> (data + y * stride);
		unsigned char* out = &rows[static_cast<size_t> (y) * static_cast<size_t> (pw) * 4];
		for (int x = 0; x < pw; ++x)
		{
			// Undo cairo's premultiplied alpha.
			const uint32_t p = in[x];
			const uint32_t a = p >> 24;
			uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
			if (a != 0 && a != 255)
			{
				r = (r * 255 + a / 2) / a;
				g = (g * 255 + a / 2) / a;
				b = (b * 255 + a / 2) / a;
			}
			out[4 * x + 0] = static_cast<unsigned char> (r > 255 ? 255 : r);
			out[4 * x + 1] = static_cast<unsigned char> (g > 255 ? 255 : g);
			out[4 * x + 2] = static_cast<unsigned char> (b > 255 ? 255 : b);
			out[4 * x + 3] = static_cast<unsigned char> (a);
		}
	}

	FILE* file = std::fopen (path.c_str (), "wb");
	if (!file)
		return false;
	png_structp png = png_create_write_struct (PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
	png_infop info = png ? png_create_info_struct (png) : nullptr;
	const bool written = png && info && encodeRgba (png, info, file, rows.data (), pw, ph, pixelsPerUnit > 1);
	png_destroy_write_struct (png ? &png : nullptr, info ? &info : nullptr);
	return std::fclose (file) == 0 && written;
}

} // namespace Artwork
} // namespace Tarnwick
