// Offscreen drawing for control tests: a cairo image that views draw into, and
// small PNG images written on the fly for controls that need bitmaps.
#pragma once

#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/cdrawcontext.h"
#include "vstgui/lib/cview.h"

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

namespace EditorTest {

struct Rgba8
{
	int r, g, b, a;
};

// An image surface and a VSTGUI draw context over it.
class Canvas
{
public:
	Canvas (int width, int height);
	~Canvas ();
	Canvas (const Canvas&) = delete;
	Canvas& operator= (const Canvas&) = delete;

	VSTGUI::CDrawContext* context () { return drawContext; }
	void clear ();
	// Straight (not premultiplied) colour of one pixel.
	Rgba8 pixel (int x, int y) const;

private:
	cairo_surface_t* surface;
	cairo_t* cr;
	VSTGUI::CDrawContext* drawContext;
};

// Writes a PNG whose rows are painted by bands: band i (bandHeight rows) gets colours[i].
// Returns the full path, inside a scratch folder of the test binary.
std::string writeBandedPng (const std::string& name, int width, int bandHeight, const std::vector<Rgba8>& colours);

// Loads a bitmap from an absolute path (the caller owns the reference).
VSTGUI::CBitmap* loadBitmap (const std::string& path);

bool sameColour (const Rgba8& a, const Rgba8& b, int tolerance = 2);

} // namespace EditorTest
