#include "CTextLabelVx.h"

namespace VSTGUI {

CTextLabelVx::CTextLabelVx (const CRect& size, UTF8StringPtr txt, CBitmap* background, const int32_t style)
: CTextLabel (size, txt, background, style)
{
}

CTextLabelVx::~CTextLabelVx () = default;

CView* CTextLabelVx::newCopy () const
{
	return new CTextLabelVx (*this);
}

const UTF8String& CTextLabelVx::getText () const
{
	return CTextLabel::getText ();
}

void CTextLabelVx::setTextWithUnits (const UTF8String& txt)
{
	setText (txt);
	if (unitsSuffix.empty ())
		return;
	const std::string shown = getText ().getString () + " " + unitsSuffix;
	setText (UTF8String (shown));
}

} // namespace VSTGUI
