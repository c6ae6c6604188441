#include "ctextlabel.h"

namespace VSTGUI {

CTextLabel::CTextLabel (const CRect& size, UTF8StringPtr txt, CBitmap* background, const int32_t style)
: CParamDisplay (size, background, style), text (txt)
{
}

CTextLabel::CTextLabel (const CTextLabel& label) : CParamDisplay (label), text (label.text) {}

void CTextLabel::setText (const UTF8String& txt)
{
	if (text == txt)
		return;
	text = txt;
	setDirty (true);
}

const UTF8String& CTextLabel::getText () const
{
	return text;
}

void CTextLabel::draw (CDrawContext* context)
{
	drawBack (context);
	drawPlatformText (context, text.data ());
	setDirty (false);
}

} // namespace VSTGUI
