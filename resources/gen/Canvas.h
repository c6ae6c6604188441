// An ARGB image with its cairo context; written out as an 8-bit RGBA PNG.
#pragma once

#include <cairo.h>
#include <string>

namespace Tarnwick {
namespace Artwork {

class Canvas
{
public:
	Canvas (int width, int height);
	~Canvas ();
	Canvas (const Canvas&) = delete;
	Canvas& operator= (const Canvas&) = delete;

	cairo_t* context () const { return cr; }
	cairo_surface_t* surface () const { return image; }
	int width () const { return w; }
	int height () const { return h; }
	bool ok () const;

	// Draws another canvas with its top-left corner at (x, y).
	void paint (const Canvas& other, double x, double y);
	bool writePng (const std::string& path);

private:
	int w;
	int h;
	cairo_surface_t* image;
	cairo_t* cr;
};

} // namespace Artwork
} // namespace Tarnwick
