// Fuzzes the UI description parser with arbitrary XML: parse, ask for every named resource, and
// build every template's views without a controller (bitmaps that the text names are looked up,
// not required).
#include "vstgui/uidescription/uidescription.h"
#include "vstgui/lib/cview.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace VSTGUI;

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
	UIDescription description (reinterpret_cast<const char*> (data), size);
	description.parse ();

	CColor color;
	for (const std::string& name : description.getColorNames ())
		description.getColor (name.c_str (), color);
	for (const std::string& name : description.getControlTagNames ())
		description.getTagForName (name.c_str ());
	for (const std::string& name : description.getFontNames ())
		description.getFont (name.c_str ());
	for (const std::string& name : description.getGradientNames ())
		description.getGradient (name.c_str ());
	for (const std::string& name : description.getCustomAttributeNames ())
		description.getCustomAttributes (name.c_str ());
	for (const std::string& name : description.getBitmapNames ())
		description.getBitmapPath (name.c_str ());

	for (const std::string& name : description.getTemplateNames ())
	{
		description.getViewAttributes (name.c_str ());
		if (CView* view = description.createView (name.c_str (), nullptr))
			view->forget ();
	}
	return 0;
}
