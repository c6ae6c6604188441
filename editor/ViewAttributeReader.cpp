#include "ViewAttributeReader.h"

#include "vstgui/uidescription/uidescription.h"

#include <cstdlib>

namespace Vire2VUR3 {

using namespace VSTGUI;

const std::string* ViewAttributeReader::text (const char* name) const
{
	return attributes.getAttributeValue (name);
}

bool ViewAttributeReader::hasNonEmpty (const char* name) const
{
	const std::string* t = text (name);
	return t && !t->empty ();
}

bool ViewAttributeReader::hasAll (std::initializer_list<const char*> names) const
{
	for (const char* n : names)
		if (!has (n))
			return false;
	return true;
}

bool ViewAttributeReader::point (const char* name, CPoint& p) const
{
	const std::string* t = text (name);
	return t && UIAttributes::stringToPoint (*t, p);
}

bool ViewAttributeReader::rect (CRect& r) const
{
	CPoint origin;
	CPoint size;
	if (!point ("origin", origin) || !point ("size", size))
		return false;
	r = CRect (origin.x, origin.y, origin.x + size.x, origin.y + size.y);
	return true;
}

int32_t ViewAttributeReader::integer (const char* name) const
{
	const std::string* t = text (name);
	return t ? static_cast<int32_t> (std::atoi (t->c_str ())) : 0;
}

bool ViewAttributeReader::flag (const char* name) const
{
	const std::string* t = text (name);
	return t && *t == "true";
}

CColor ViewAttributeReader::colour (const char* name) const
{
	const std::string* t = text (name);
	CColor c (255, 255, 255, 255);
	if (!t)
		return c;
	if (description && description->getColor (t->c_str (), c))
		return c;
	if (UIDescription::parseColor (*t, c))
		return c;
	return CColor (255, 255, 255, 255);
}

int32_t ViewAttributeReader::tag () const
{
	const std::string* t = text ("control-tag");
	if (!t || !description)
		return -1;
	return description->getTagForName (t->c_str ());
}

IControlListener* ViewAttributeReader::listener () const
{
	const std::string* t = text ("control-tag");
	if (!t || !description)
		return nullptr;
	return description->getControlListener (t->c_str ());
}

CBitmap* ViewAttributeReader::loadBitmap (const char* name) const
{
	const std::string* t = text (name);
	if (!t || t->empty ())
		return nullptr;
	const std::string file = *t + ".png";
	return new CBitmap (CResourceDescription (file.c_str ()));
}

} // namespace Vire2VUR3
