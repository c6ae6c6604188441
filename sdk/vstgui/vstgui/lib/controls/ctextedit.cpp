#include "ctextedit.h"
#include <cstdlib>

namespace VSTGUI {

CTextEdit::CTextEdit (const CRect& size, IControlListener* listener, int32_t tag, UTF8StringPtr txt,
                      CBitmap* background, const int32_t style)
: CTextLabel (size, txt, background, style)
{
	this->listener = listener;
	this->tag = tag;
}

CTextEdit::CTextEdit (const CTextEdit& edit)
: CTextLabel (edit), stringToValue (edit.stringToValue), placeholder (edit.placeholder),
  immediateTextChange (edit.immediateTextChange)
{
}

void CTextEdit::setText (const UTF8String& txt)
{
	CTextLabel::setText (txt);
}

void CTextEdit::commitText (const UTF8String& txt)
{
	setText (txt);
	if (stringToValue)
	{
		float v = value;
		if (stringToValue (txt.data (), v, this))
			CControl::setValue (v);
	}
	beginEdit ();
	valueChanged ();
	endEdit ();
	invalid ();
}

void CTextEdit::setValue (float val)
{
	CTextLabel::setValue (val);
}

} // namespace VSTGUI
