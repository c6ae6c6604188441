#pragma once

#include "cparamdisplay.h"

namespace VSTGUI {

//------------------------------------------------------------------------
// A parameter display that shows a text of its own instead of its value.
class CTextLabel : public CParamDisplay
{
public:
	CTextLabel (const CRect& size, UTF8StringPtr txt = nullptr, CBitmap* background = nullptr,
	            const int32_t style = 0);
	CTextLabel (const CTextLabel& label);

	virtual void setText (const UTF8String& txt);
	virtual const UTF8String& getText () const;
	void draw (CDrawContext* context) override;

	CView* newCopy () const override { return new CTextLabel (*this); }

protected:
	UTF8String text;
};

} // namespace VSTGUI
