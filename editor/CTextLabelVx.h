// A text label that can show its text followed by a units suffix ("440 Hz").
#pragma once

#include "vstgui/lib/controls/ctextlabel.h"

#include <string>

namespace VSTGUI {

class CTextLabelVx : public CTextLabel
{
public:
	CTextLabelVx (const CRect& size, UTF8StringPtr txt = nullptr, CBitmap* background = nullptr, const int32_t style = 0);
	~CTextLabelVx () override;

	CView* newCopy () const override;
	const UTF8String& getText () const override;
	// Sets the text, then appends one blank and the suffix when there is one.
	virtual void setTextWithUnits (const UTF8String& txt);

	std::string unitsSuffix;
};

} // namespace VSTGUI
