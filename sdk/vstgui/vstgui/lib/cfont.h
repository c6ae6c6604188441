#pragma once

#include "vstguibase.h"

namespace VSTGUI {

enum CTxtFace
{
	kNormalFace = 0,
	kBoldFace = 1 << 1,
	kItalicFace = 1 << 2,
	kUnderlineFace = 1 << 3,
	kStrikethroughFace = 1 << 4
};

// Font description: family name, size in points and style flags.
class CFontDesc : public CBaseObject
{
public:
	CFontDesc (UTF8StringPtr name = "", CCoord size = 0., int32_t style = kNormalFace)
	: name (name), size (size), style (style)
	{
	}

	const UTF8String& getName () const { return name; }
	CCoord getSize () const { return size; }
	int32_t getStyle () const { return style; }
	void setName (UTF8StringPtr n) { name = n; }
	void setSize (CCoord s) { size = s; }
	void setStyle (int32_t s) { style = s; }

private:
	UTF8String name;
	CCoord size;
	int32_t style;
};

using CFontRef = CFontDesc*;

// The toolkit's stock fonts (DejaVu Sans on Linux).
extern CFontRef kSystemFont;
extern CFontRef kNormalFontVeryBig;
extern CFontRef kNormalFontBig;
extern CFontRef kNormalFont;
extern CFontRef kNormalFontSmall;
extern CFontRef kNormalFontSmaller;
extern CFontRef kNormalFontVerySmall;
extern CFontRef kSymbolFont;

} // namespace VSTGUI
