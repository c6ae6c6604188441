#include "uiattributes.h"
#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace VSTGUI {

UIAttributes::UIAttributes (const char** xmlAttributes)
{
	if (!xmlAttributes)
		return;
	for (int i = 0; xmlAttributes[i] && xmlAttributes[i + 1]; i += 2)
		attributes[xmlAttributes[i]] = xmlAttributes[i + 1];
}

bool UIAttributes::hasAttribute (const std::string& name) const
{
	return attributes.find (name) != attributes.end ();
}

const std::string* UIAttributes::getAttributeValue (const std::string& name) const
{
	auto it = attributes.find (name);
	return it == attributes.end () ? nullptr : &it->second;
}

void UIAttributes::setAttribute (const std::string& name, const std::string& value)
{
	attributes[name] = value;
}

void UIAttributes::removeAttribute (const std::string& name)
{
	attributes.erase (name);
}

bool UIAttributes::stringToDouble (const std::string& str, double& value)
{
	const char* begin = str.c_str ();
	char* end = nullptr;
	errno = 0;
	double v = std::strtod (begin, &end);
	if (end == begin || errno == ERANGE)
		return false;
	value = v;
	return true;
}

bool UIAttributes::stringToPoint (const std::string& str, CPoint& p)
{
	auto comma = str.find (',');
	if (comma == std::string::npos)
		return false;
	double x, y;
	if (!stringToDouble (str.substr (0, comma), x) || !stringToDouble (str.substr (comma + 1), y))
		return false;
	p = CPoint (x, y);
	return true;
}

std::string UIAttributes::pointToString (const CPoint& p)
{
	char buffer[64];
	std::snprintf (buffer, sizeof (buffer), "%g, %g", p.x, p.y);
	return buffer;
}

bool UIAttributes::getPointAttribute (const std::string& name, CPoint& p) const
{
	auto v = getAttributeValue (name);
	return v && stringToPoint (*v, p);
}

bool UIAttributes::getRectAttribute (const std::string& name, CRect& r) const
{
	auto v = getAttributeValue (name);
	if (!v)
		return false;
	double values[4];
	size_t start = 0;
	for (int i = 0; i < 4; ++i)
	{
		size_t comma = v->find (',', start);
		std::string part = v->substr (start, comma == std::string::npos ? std::string::npos : comma - start);
		if (!stringToDouble (part, values[i]))
			return false;
		if (comma == std::string::npos && i < 3)
			return false;
		start = comma + 1;
	}
	r = CRect (values[0], values[1], values[2], values[3]);
	return true;
}

bool UIAttributes::getDoubleAttribute (const std::string& name, double& value) const
{
	auto v = getAttributeValue (name);
	return v && stringToDouble (*v, value);
}

bool UIAttributes::getIntegerAttribute (const std::string& name, int32_t& value) const
{
	double d;
	if (!getDoubleAttribute (name, d) || d < -2147483648.0 || d > 2147483647.0)
		return false;
	value = static_cast<int32_t> (d);
	return true;
}

bool UIAttributes::getBooleanAttribute (const std::string& name, bool& value) const
{
	auto v = getAttributeValue (name);
	if (!v)
		return false;
	if (*v == "true")
	{
		value = true;
		return true;
	}
	if (*v == "false")
	{
		value = false;
		return true;
	}
	return false;
}

} // namespace VSTGUI
