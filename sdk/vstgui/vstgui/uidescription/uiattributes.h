#pragma once

#include "../lib/crect.h"
#include <map>
#include <string>
#include <vector>

namespace VSTGUI {

//------------------------------------------------------------------------
// The attributes of one element of a UI description, by name.
class UIAttributes : public CBaseObject
{
public:
	using StringArray = std::vector<std::string>;

	UIAttributes () = default;
	// From expat's name/value array (null-terminated).
	explicit UIAttributes (const char** xmlAttributes);

	bool hasAttribute (const std::string& name) const;
	// The attribute's text, or null when absent.
	const std::string* getAttributeValue (const std::string& name) const;
	void setAttribute (const std::string& name, const std::string& value);
	void removeAttribute (const std::string& name);

	bool getPointAttribute (const std::string& name, CPoint& p) const;
	bool getRectAttribute (const std::string& name, CRect& r) const;
	bool getDoubleAttribute (const std::string& name, double& value) const;
	bool getIntegerAttribute (const std::string& name, int32_t& value) const;
	bool getBooleanAttribute (const std::string& name, bool& value) const;

	size_t size () const { return attributes.size (); }
	std::map<std::string, std::string>::const_iterator begin () const { return attributes.begin (); }
	std::map<std::string, std::string>::const_iterator end () const { return attributes.end (); }

	// "x, y" → point; false when the text holds no two numbers.
	static bool stringToPoint (const std::string& str, CPoint& p);
	static std::string pointToString (const CPoint& p);
	static bool stringToDouble (const std::string& str, double& value);

private:
	std::map<std::string, std::string> attributes;
};

} // namespace VSTGUI
