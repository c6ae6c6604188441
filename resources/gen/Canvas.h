// An ARGB image with its cairo context; written out as an 8-bit RGBA PNG. At a scale
// above 1 the image has that many pixels per unit each way and the context draws in
// units: the same drawing at a higher resolution.
#pragma once

#include <cairo.h>
#include <string>

namespace Tarnwick {
namespace Artwork {

class Canvas
{
public:
	Canvas (int width, int height, int scale = 1);
	~Canvas ();
	Canvas (const Canvas&) = delete;
	Canvas& operator= (const Canvas&) = delete;

	cairo_t* context () const { return cr; }
	cairo_surface_t* surface () const { return image; }
	// Size in units.
	int width () const { return w; }
	int height () const { return h; }
	int scale () const { return pixelsPerUnit; }
	int pixelWidth () const { return w * pixelsPerUnit; }
	int pixelHeight () const { return h * pixelsPerUnit; }
	bool ok () const;

	bool writePng (const std::string& path);

private:
	int w;
	int h;
	int pixelsPerUnit;
	cairo_surface_t* image;
	cairo_t* cr;
};

} // namespace Artwork
} // namespace Tarnwick
