#pragma once

#include "ctextlabel.h"

namespace VSTGUI {

//------------------------------------------------------------------------
// An editable text. On Linux there is no platform text field: the text is set
// through setText (by a host binding or code), which reports it to the listener
// when it changed through an edit (commitText).
class CTextEdit : public CTextLabel
{
public:
	CTextEdit (const CRect& size, IControlListener* listener, int32_t tag, UTF8StringPtr txt = nullptr,
	           CBitmap* background = nullptr, const int32_t style = 0);
	CTextEdit (const CTextEdit& edit);

	void setText (const UTF8String& txt) override;
	// Takes a text as if typed by the user and tells the listener.
	virtual void commitText (const UTF8String& txt);
	void setValue (float val) override;
	void setImmediateTextChange (bool state) { immediateTextChange = state; }
	void setPlaceholderString (const UTF8String& s) { placeholder = s; }
	const UTF8String& getPlaceholderString () const { return placeholder; }

	using StringToValueFunction = std::function<bool (UTF8StringPtr txt, float& result, CTextEdit* textEdit)>;
	void setStringToValueFunction (StringToValueFunction f) { stringToValue = std::move (f); }

	CView* newCopy () const override { return new CTextEdit (*this); }

protected:
	StringToValueFunction stringToValue;
	UTF8String placeholder;
	bool immediateTextChange {false};
};

} // namespace VSTGUI
