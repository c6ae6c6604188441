// Reads the attributes a custom view needs from its UI description element:
// points, rectangles, colours, integers, tags and listeners by tag name.
#pragma once

#include "vstgui/uidescription/iuidescription.h"
#include "vstgui/uidescription/uiattributes.h"

#include <initializer_list>
#include <string>

namespace Vire2VUR3 {

class ViewAttributeReader
{
public:
	ViewAttributeReader (const VSTGUI::UIAttributes& attributes, const VSTGUI::IUIDescription* description)
	: attributes (attributes), description (description)
	{
	}

	// The attribute's text, or null when the element does not carry it.
	const std::string* text (const char* name) const;
	bool has (const char* name) const { return text (name) != nullptr; }
	bool hasNonEmpty (const char* name) const;
	// True only when every named attribute is present.
	bool hasAll (std::initializer_list<const char*> names) const;

	bool point (const char* name, VSTGUI::CPoint& p) const;
	// origin to origin + size; false when either is missing or no point.
	bool rect (VSTGUI::CRect& r) const;
	// Decimal integer (atoi); 0 when missing.
	int32_t integer (const char* name) const;
	// True only for the text "true".
	bool flag (const char* name) const;
	// A named colour of the description or "#rrggbbaa"; opaque white when not found.
	VSTGUI::CColor colour (const char* name) const;
	// The tag and listener that the control-tag attribute names.
	int32_t tag () const;
	VSTGUI::IControlListener* listener () const;
	// A bitmap loaded straight from the module resource "<attribute>.png"; null
	// when the attribute is missing or empty. The caller owns the reference.
	VSTGUI::CBitmap* loadBitmap (const char* name) const;

	const VSTGUI::IUIDescription* getDescription () const { return description; }

private:
	const VSTGUI::UIAttributes& attributes;
	const VSTGUI::IUIDescription* description;
};

} // namespace Vire2VUR3
