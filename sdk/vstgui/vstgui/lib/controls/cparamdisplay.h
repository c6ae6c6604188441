#pragma once

#include "ccontrol.h"
#include "../cdrawcontext.h"
#include <functional>

namespace VSTGUI {

// Style flags of parameter displays and the views built on them.
enum CParamDisplayStyle
{
	k3DIn = 1 << 0,
	k3DOut = 1 << 1,
	kShadowText = 1 << 2,
	kNoTextStyle = 1 << 11,
	kNoDrawStyle = 1 << 12,
	kNoFrame = 1 << 14,
	kRoundRectStyle = 1 << 15
};

//------------------------------------------------------------------------
// Shows its value as text on an optional background: back, frame and font colours.
class CParamDisplay : public CControl
{
public:
	using ValueToStringFunction = std::function<bool (float value, std::string& result, CParamDisplay* display)>;

	CParamDisplay (const CRect& size, CBitmap* background = nullptr, int32_t style = 0);
	CParamDisplay (const CParamDisplay& p);
	~CParamDisplay () override;

	void draw (CDrawContext* context) override;

	virtual void setFont (CFontDesc* font);
	CFontDesc* getFont () const { return fontID; }
	virtual void setFontColor (const CColor& color) { fontColor = color; }
	const CColor& getFontColor () const { return fontColor; }
	virtual void setBackColor (const CColor& color) { backColor = color; }
	const CColor& getBackColor () const { return backColor; }
	virtual void setFrameColor (const CColor& color) { frameColor = color; }
	const CColor& getFrameColor () const { return frameColor; }
	virtual void setShadowColor (const CColor& color) { shadowColor = color; }
	virtual void setHoriAlign (CHoriTxtAlign align) { horiTxtAlign = align; }
	CHoriTxtAlign getHoriAlign () const { return horiTxtAlign; }
	virtual void setStyle (int32_t val) { style = val; }
	int32_t getStyle () const { return style; }
	virtual void setRoundRectRadius (const CCoord& radius) { roundRectRadius = radius; }
	CCoord getRoundRectRadius () const { return roundRectRadius; }
	virtual void setFrameWidth (const CCoord& width) { frameWidth = width; }
	CCoord getFrameWidth () const { return frameWidth; }
	virtual void setTextInset (const CPoint& p) { textInset = p; }
	void setAntialias (bool state) { antialias = state; }
	void setPrecision (uint8_t p) { precision = p; }
	void setValueToStringFunction (ValueToStringFunction f) { valueToString = std::move (f); }

	CView* newCopy () const override { return new CParamDisplay (*this); }

protected:
	void setWantsFocus ();
	virtual void drawBack (CDrawContext* context, CBitmap* newBack = nullptr);
	virtual void drawPlatformText (CDrawContext* context, UTF8StringPtr string);
	virtual void drawPlatformText (CDrawContext* context, UTF8StringPtr string, const CRect& size);

	ValueToStringFunction valueToString;
	CHoriTxtAlign horiTxtAlign {kCenterText};
	int32_t style;
	SharedPointer<CFontDesc> fontID;
	CColor fontColor {kWhiteCColor};
	CColor backColor {kBlackCColor};
	CColor frameColor {kBlackCColor};
	CColor shadowColor {kGreyCColor};
	CPoint textInset;
	CCoord roundRectRadius {6.};
	CCoord frameWidth {1.};
	uint8_t precision {2};
	bool antialias {true};
};

} // namespace VSTGUI
