#include "cparamdisplay.h"
#include "../cbitmap.h"
#include <cstdio>

namespace VSTGUI {

CParamDisplay::CParamDisplay (const CRect& size, CBitmap* background, int32_t style)
: CControl (size, nullptr, -1, background), style (style), fontID (kNormalFont)
{
	setWantsFocus ();
}

CParamDisplay::CParamDisplay (const CParamDisplay& p)
: CControl (p)
, valueToString (p.valueToString)
, horiTxtAlign (p.horiTxtAlign)
, style (p.style)
, fontID (p.fontID)
, fontColor (p.fontColor)
, backColor (p.backColor)
, frameColor (p.frameColor)
, shadowColor (p.shadowColor)
, textInset (p.textInset)
, roundRectRadius (p.roundRectRadius)
, frameWidth (p.frameWidth)
, precision (p.precision)
, antialias (p.antialias)
{
}

CParamDisplay::~CParamDisplay () = default;

void CParamDisplay::setWantsFocus () {}

void CParamDisplay::setFont (CFontDesc* font)
{
	if (font)
		fontID = font;
	setDirty (true);
}

void CParamDisplay::draw (CDrawContext* context)
{
	if (style & kNoDrawStyle)
	{
		setDirty (false);
		return;
	}
	std::string text;
	if (!valueToString || !valueToString (value, text, this))
	{
		char buffer[64];
		std::snprintf (buffer, sizeof (buffer), "%.*f", static_cast<int> (precision), static_cast<double> (value));
		text = buffer;
	}
	drawBack (context);
	drawPlatformText (context, text.c_str ());
	setDirty (false);
}

void CParamDisplay::drawBack (CDrawContext* context, CBitmap* newBack)
{
	if (newBack)
	{
		newBack->draw (context, size);
		return;
	}
	if (background)
	{
		background->draw (context, size);
		return;
	}
	if (transparent)
		return;
	context->setFillColor (backColor);
	context->setFrameColor (frameColor);
	context->setLineWidth (frameWidth);
	if (style & kRoundRectStyle)
	{
		context->setDrawMode (kAntiAliasing);
		CRect r (size);
		r.inset (frameWidth / 2., frameWidth / 2.);
		context->drawRoundRect (r, roundRectRadius, (style & kNoFrame) ? kDrawFilled : kDrawFilledAndStroked);
	}
	else
	{
		context->drawRect (size, kDrawFilled);
		if (!(style & (k3DIn | k3DOut | kNoFrame)))
			context->drawRect (size, kDrawStroked);
	}
}

void CParamDisplay::drawPlatformText (CDrawContext* context, UTF8StringPtr string)
{
	drawPlatformText (context, string, size);
}

void CParamDisplay::drawPlatformText (CDrawContext* context, UTF8StringPtr string, const CRect& area)
{
	if (!string || (style & kNoTextStyle))
		return;
	CRect textRect (area);
	textRect.inset (textInset.x, textInset.y);
	context->setFont (fontID);
	if (style & kShadowText)
	{
		CRect shadow (textRect);
		shadow.offset (1, 1);
		context->setFontColor (shadowColor);
		context->drawString (string, shadow, horiTxtAlign, antialias);
	}
	context->setFontColor (fontColor);
	context->drawString (string, textRect, horiTxtAlign, antialias);
}

} // namespace VSTGUI
