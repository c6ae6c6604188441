#include "TestImages.h"
#include "vstgui/lib/cbitmap.h"

#include <cairo.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace VSTGUITest {

ResourceFolder::ResourceFolder ()
{
	char templ[] = "/tmp/vstgui-test-XXXXXX";
	const char* made = mkdtemp (templ);
	dir = made ? made : "/tmp";
	VSTGUI::CBitmap::setResourceBasePath (dir);
}

ResourceFolder::~ResourceFolder ()
{
	VSTGUI::CBitmap::setResourceBasePath ("");
	std::string command = "rm -rf '" + dir + "'";
	if (dir.rfind ("/tmp/vstgui-test-", 0) == 0)
		(void)std::system (command.c_str ());
}

void ResourceFolder::writeBands (const std::string& name, int width, int bandHeight,
                                 const std::vector<VSTGUI::CColor>& bands)
{
	int height = bandHeight * static_cast<int> (bands.size ());
	cairo_surface_t* s = cairo_image_surface_create (CAIRO_FORMAT_ARGB32, width, height);
	cairo_t* cr = cairo_create (s);
	for (size_t i = 0; i < bands.size (); ++i)
	{
		const auto& c = bands[i];
		cairo_set_source_rgba (cr, c.red / 255., c.green / 255., c.blue / 255., c.alpha / 255.);
		cairo_rectangle (cr, 0, static_cast<double> (i) * bandHeight, width, bandHeight);
		cairo_fill (cr);
	}
	cairo_destroy (cr);
	cairo_surface_write_to_png (s, (dir + "/" + name).c_str ());
	cairo_surface_destroy (s);
}

void ResourceFolder::writeText (const std::string& name, const std::string& text)
{
	FILE* f = std::fopen ((dir + "/" + name).c_str (), "wb");
	if (!f)
		return;
	std::fwrite (text.data (), 1, text.size (), f);
	std::fclose (f);
}

VSTGUI::CColor colorOf (uint32_t pixel)
{
	uint8_t a = static_cast<uint8_t> (pixel >> 24);
	auto un = [a] (uint32_t v) -> uint8_t {
		v &= 0xff;
		return a ? static_cast<uint8_t> ((v * 255 + a / 2) / a) : 0;
	};
	return VSTGUI::CColor (un (pixel >> 16), un (pixel >> 8), un (pixel), a);
}

} // namespace VSTGUITest
