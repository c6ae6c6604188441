#include "DrawingHelpers.h"

#include <cstdlib>
#include <sys/stat.h>
#include <string>
#include <unistd.h>

namespace EditorTest {

Canvas::Canvas (int width, int height)
{
	surface = cairo_image_surface_create (CAIRO_FORMAT_ARGB32, width, height);
	cr = cairo_create (surface);
	drawContext = new VSTGUI::CDrawContext (cr, VSTGUI::CRect (0, 0, width, height), 1.);
}

Canvas::~Canvas ()
{
	drawContext->forget ();
	cairo_destroy (cr);
	cairo_surface_destroy (surface);
}

void Canvas::clear ()
{
	cairo_save (cr);
	cairo_set_operator (cr, CAIRO_OPERATOR_CLEAR);
	cairo_paint (cr);
	cairo_restore (cr);
}

Rgba8 Canvas::pixel (int x, int y) const
{
	cairo_surface_flush (surface);
	const unsigned char* data = cairo_image_surface_get_data (surface);
	const int stride = cairo_image_surface_get_stride (surface);
	const uint32_t p = reinterpret_cast<const uint32_t*> (data + y * stride)[x];
	const int a = static_cast<int> (p >> 24);
	auto unpremultiply = [a] (uint32_t c) { return a == 0 ? 0 : static_cast<int> ((c * 255 + a / 2) / a); };
	return {unpremultiply ((p >> 16) & 0xFF), unpremultiply ((p >> 8) & 0xFF), unpremultiply (p & 0xFF), a};
}

std::string writeBandedPng (const std::string& name, int width, int bandHeight, const std::vector<Rgba8>& colours)
{
	const std::string dir = TARNWICK_TEST_SCRATCH;
	mkdir (dir.c_str (), 0755);
	const int height = bandHeight * static_cast<int> (colours.size ());
	cairo_surface_t* s = cairo_image_surface_create (CAIRO_FORMAT_ARGB32, width, height);
	cairo_t* c = cairo_create (s);
	for (size_t i = 0; i < colours.size (); ++i)
	{
		const Rgba8& k = colours[i];
		cairo_set_source_rgba (c, k.r / 255.0, k.g / 255.0, k.b / 255.0, k.a / 255.0);
		cairo_rectangle (c, 0, static_cast<double> (i) * bandHeight, width, bandHeight);
		cairo_fill (c);
	}
	// ctest runs tests side by side in separate processes: each writes its own files.
	const std::string path = dir + "/" + name + "-" + std::to_string (getpid ()) + ".png";
	cairo_surface_write_to_png (s, path.c_str ());
	cairo_destroy (c);
	cairo_surface_destroy (s);
	return path;
}

VSTGUI::CBitmap* loadBitmap (const std::string& path)
{
	return new VSTGUI::CBitmap (VSTGUI::CResourceDescription (path.c_str ()));
}

bool sameColour (const Rgba8& a, const Rgba8& b, int tolerance)
{
	return std::abs (a.r - b.r) <= tolerance && std::abs (a.g - b.g) <= tolerance && std::abs (a.b - b.b) <= tolerance &&
	       std::abs (a.a - b.a) <= tolerance;
}

} // namespace EditorTest
