// A text edit that can show its text followed by a units suffix. It lives in the
// global namespace, as effects' own code refers to it that way.
#pragma once

#include "vstgui/lib/controls/ctextedit.h"

#include <string>

class CTextEditVx : public VSTGUI::CTextEdit
{
public:
	CTextEditVx (const VSTGUI::CRect& size, VSTGUI::IControlListener* listener, int32_t tag,
	             VSTGUI::UTF8StringPtr txt = nullptr, VSTGUI::CBitmap* background = nullptr, const int32_t style = 0);
	CTextEditVx (const CTextEditVx& other);
	~CTextEditVx () override;

	// Copies start without a suffix: the suffix belongs to the parameter binding.
	VSTGUI::CView* newCopy () const override;
	virtual void setTextWithUnits (const VSTGUI::UTF8String& txt);

	std::string unitsSuffix;
};
