// Test images written as PNG files into a temporary resources folder.
#pragma once

#include "vstgui/lib/ccolor.h"
#include <string>
#include <vector>

namespace VSTGUITest {

// A temporary folder that bitmaps are loaded from while the object lives.
class ResourceFolder
{
public:
	ResourceFolder ();
	~ResourceFolder ();
	const std::string& path () const { return dir; }
	// Writes a PNG of the given width made of horizontal bands, one colour each, each bandHeight tall.
	void writeBands (const std::string& name, int width, int bandHeight, const std::vector<VSTGUI::CColor>& bands);
	void writeText (const std::string& name, const std::string& text);

private:
	std::string dir;
};

// Unpremultiplied colour of an ARGB32 pixel.
VSTGUI::CColor colorOf (uint32_t pixel);

} // namespace VSTGUITest
