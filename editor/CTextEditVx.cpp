#include "CTextEditVx.h"

CTextEditVx::CTextEditVx (const VSTGUI::CRect& size, VSTGUI::IControlListener* listener, int32_t tag,
                          VSTGUI::UTF8StringPtr txt, VSTGUI::CBitmap* background, const int32_t style)
: VSTGUI::CTextEdit (size, listener, tag, txt, background, style)
{
}

CTextEditVx::CTextEditVx (const CTextEditVx& other)
: VSTGUI::CTextEdit (other)
{
}

CTextEditVx::~CTextEditVx () = default;

VSTGUI::CView* CTextEditVx::newCopy () const
{
	return new CTextEditVx (*this);
}

void CTextEditVx::setTextWithUnits (const VSTGUI::UTF8String& txt)
{
	setText (txt);
	if (unitsSuffix.empty ())
		return;
	const std::string shown = getText ().getString () + " " + unitsSuffix;
	setText (VSTGUI::UTF8String (shown));
}
