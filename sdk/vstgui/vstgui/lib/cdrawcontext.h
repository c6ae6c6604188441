// Drawing on cairo: the surface may be an X11 window or an image in memory.
#pragma once

#include "ccolor.h"
#include "cfont.h"
#include "crect.h"
#include <vector>

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace VSTGUI {

class CBitmap;

enum CDrawStyle
{
	kDrawStroked = 0,
	kDrawFilled,
	kDrawFilledAndStroked
};

enum CDrawModeFlags : uint32_t
{
	kAliasing = 0,
	kAntiAliasing = 1,
	kNonIntegralMode = 0xF0000000
};

class CDrawMode
{
public:
	CDrawMode (uint32_t mode = kAliasing) : mode (mode) {}
	uint32_t modeIgnoringIntegralMode () const { return mode & ~kNonIntegralMode; }
	uint32_t operator() () const { return mode; }
	bool operator== (const CDrawMode& o) const { return mode == o.mode; }
	bool operator!= (const CDrawMode& o) const { return mode != o.mode; }

private:
	uint32_t mode;
};

enum CHoriTxtAlign
{
	kLeftText = 0,
	kCenterText,
	kRightText
};

enum CLineStyleKind
{
	kLineSolid = 0,
	kLineOnOffDash
};

using CPolygon = std::vector<CPoint>;

//------------------------------------------------------------------------
class CDrawContext : public CBaseObject
{
public:
	// Draws into a cairo context (not owned; referenced for the lifetime of this object).
	// scaleFactor maps view coordinates to surface pixels.
	CDrawContext (cairo_t* cr, const CRect& surfaceRect, double scaleFactor = 1.);
	~CDrawContext () override;

	cairo_t* getCairo () const { return cr; }
	const CRect& getSurfaceRect () const { return surfaceRect; }
	double getScaleFactor () const { return scaleFactor; }

	void setLineWidth (CCoord width);
	CCoord getLineWidth () const { return currentState.lineWidth; }
	void setLineStyle (CLineStyleKind style);
	void setDrawMode (CDrawMode mode);
	CDrawMode getDrawMode () const { return currentState.drawMode; }
	void setFrameColor (const CColor& color);
	const CColor& getFrameColor () const { return currentState.frameColor; }
	void setFillColor (const CColor& color);
	const CColor& getFillColor () const { return currentState.fillColor; }
	void setFontColor (const CColor& color);
	const CColor& getFontColor () const { return currentState.fontColor; }
	void setFont (const CFontDesc* font, const CCoord& size = 0, const int32_t& style = -1);
	const CFontDesc* getFont () const { return currentState.font; }
	void setGlobalAlpha (float alpha);
	float getGlobalAlpha () const { return currentState.globalAlpha; }
	void setClipRect (const CRect& clip);
	CRect& getClipRect (CRect& clip) const;
	void resetClipRect ();

	void saveGlobalState ();
	void restoreGlobalState ();

	void moveTo (const CPoint& point);
	void lineTo (const CPoint& point);
	void drawLine (const CPoint& start, const CPoint& end);
	void drawLines (const std::vector<std::pair<CPoint, CPoint>>& lines);
	void drawPolygon (const CPolygon& polygon, const CDrawStyle drawStyle = kDrawStroked);
	void drawRect (const CRect& rect, const CDrawStyle drawStyle = kDrawStroked);
	void drawRoundRect (const CRect& rect, CCoord radius, const CDrawStyle drawStyle = kDrawStroked);
	void drawEllipse (const CRect& rect, const CDrawStyle drawStyle = kDrawStroked);
	void drawArc (const CRect& rect, float startAngle, float endAngle, const CDrawStyle drawStyle = kDrawStroked);
	void drawPoint (const CPoint& point, const CColor& color);
	void clearRect (const CRect& rect);

	// Draws the part of the bitmap starting at offset into dest.
	void drawBitmap (CBitmap* bitmap, const CRect& dest, const CPoint& offset = CPoint (0, 0), float alpha = 1.f);

	CCoord getStringWidth (UTF8StringPtr string);
	void drawString (UTF8StringPtr string, const CRect& rect, const CHoriTxtAlign hAlign = kCenterText, bool antialias = true);
	void drawString (UTF8StringPtr string, const CPoint& baseline, bool antialias = true);

private:
	struct State
	{
		CColor frameColor {kBlackCColor};
		CColor fillColor {kWhiteCColor};
		CColor fontColor {kBlackCColor};
		const CFontDesc* font {nullptr};
		CCoord lineWidth {1.};
		CLineStyleKind lineStyle {kLineSolid};
		CDrawMode drawMode {kAliasing};
		float globalAlpha {1.f};
		CRect clipRect;
	};
	void applySourceColor (const CColor& color);
	void applyLineSettings ();
	void applyFont ();
	void strokeOrFill (CDrawStyle style);
	CCoord pixelAlign (CCoord v) const;

	cairo_t* cr;
	CRect surfaceRect;
	double scaleFactor;
	State currentState;
	std::vector<State> stateStack;
	SharedPointer<CFontDesc> fontHolder;
	CPoint penPosition;
};

} // namespace VSTGUI
