#include "cdrawcontext.h"
#include "cbitmap.h"
#include <cairo.h>
#include <cmath>

namespace VSTGUI {

CDrawContext::CDrawContext (cairo_t* cr, const CRect& surfaceRect, double scaleFactor)
: cr (cairo_reference (cr)), surfaceRect (surfaceRect), scaleFactor (scaleFactor)
{
	currentState.clipRect = surfaceRect;
	setFont (kNormalFont);
}

CDrawContext::~CDrawContext ()
{
	cairo_destroy (cr);
}

void CDrawContext::setLineWidth (CCoord width)
{
	currentState.lineWidth = width;
}

void CDrawContext::setLineStyle (CLineStyleKind style)
{
	currentState.lineStyle = style;
}

void CDrawContext::setDrawMode (CDrawMode mode)
{
	currentState.drawMode = mode;
}

void CDrawContext::setFrameColor (const CColor& color)
{
	currentState.frameColor = color;
}

void CDrawContext::setFillColor (const CColor& color)
{
	currentState.fillColor = color;
}

void CDrawContext::setFontColor (const CColor& color)
{
	currentState.fontColor = color;
}

void CDrawContext::setFont (const CFontDesc* font, const CCoord& size, const int32_t& style)
{
	if (!font)
		return;
	if (size != 0 || style != -1)
	{
		auto copy = owned (new CFontDesc (font->getName (), size != 0 ? size : font->getSize (),
		                                  style != -1 ? style : font->getStyle ()));
		fontHolder = copy;
		currentState.font = copy.get ();
	}
	else
	{
		currentState.font = font;
	}
}

void CDrawContext::setGlobalAlpha (float alpha)
{
	currentState.globalAlpha = alpha;
}

void CDrawContext::setClipRect (const CRect& clip)
{
	currentState.clipRect = clip;
	cairo_reset_clip (cr);
	cairo_rectangle (cr, clip.left, clip.top, clip.getWidth (), clip.getHeight ());
	cairo_clip (cr);
}

CRect& CDrawContext::getClipRect (CRect& clip) const
{
	clip = currentState.clipRect;
	return clip;
}

void CDrawContext::resetClipRect ()
{
	currentState.clipRect = surfaceRect;
	cairo_reset_clip (cr);
}

void CDrawContext::saveGlobalState ()
{
	cairo_save (cr);
	stateStack.push_back (currentState);
}

void CDrawContext::restoreGlobalState ()
{
	if (stateStack.empty ())
		return;
	currentState = stateStack.back ();
	stateStack.pop_back ();
	cairo_restore (cr);
}

void CDrawContext::applySourceColor (const CColor& c)
{
	cairo_set_source_rgba (cr, c.red / 255., c.green / 255., c.blue / 255.,
	                       (c.alpha / 255.) * currentState.globalAlpha);
}

void CDrawContext::applyLineSettings ()
{
	cairo_set_line_width (cr, currentState.lineWidth);
	if (currentState.lineStyle == kLineOnOffDash)
	{
		double dash[] = {currentState.lineWidth * 2., currentState.lineWidth * 2.};
		cairo_set_dash (cr, dash, 2, 0);
	}
	else
		cairo_set_dash (cr, nullptr, 0, 0);
	cairo_set_antialias (cr, currentState.drawMode.modeIgnoringIntegralMode () == kAntiAliasing
	                             ? CAIRO_ANTIALIAS_DEFAULT
	                             : CAIRO_ANTIALIAS_NONE);
}

// Lines of an odd number of device pixels sit on pixel centres when not anti-aliased.
CCoord CDrawContext::pixelAlign (CCoord v) const
{
	if (currentState.drawMode.modeIgnoringIntegralMode () == kAntiAliasing)
		return v;
	if (scaleFactor == 1.)
	{
		int w = static_cast<int> (std::lround (currentState.lineWidth));
		return (w % 2) ? std::floor (v) + 0.5 : std::round (v);
	}
	const double device = v * scaleFactor;
	const long w = std::lround (currentState.lineWidth * scaleFactor);
	return ((w % 2) ? std::floor (device) + 0.5 : std::round (device)) / scaleFactor;
}

void CDrawContext::strokeOrFill (CDrawStyle style)
{
	if (style == kDrawFilled || style == kDrawFilledAndStroked)
	{
		applySourceColor (currentState.fillColor);
		if (style == kDrawFilledAndStroked)
			cairo_fill_preserve (cr);
		else
			cairo_fill (cr);
	}
	if (style == kDrawStroked || style == kDrawFilledAndStroked)
	{
		applyLineSettings ();
		applySourceColor (currentState.frameColor);
		cairo_stroke (cr);
	}
	cairo_new_path (cr);
}

void CDrawContext::moveTo (const CPoint& point)
{
	penPosition = point;
}

void CDrawContext::lineTo (const CPoint& point)
{
	drawLine (penPosition, point);
	penPosition = point;
}

void CDrawContext::drawLine (const CPoint& start, const CPoint& end)
{
	applyLineSettings ();
	cairo_move_to (cr, pixelAlign (start.x), pixelAlign (start.y));
	cairo_line_to (cr, pixelAlign (end.x), pixelAlign (end.y));
	applySourceColor (currentState.frameColor);
	cairo_stroke (cr);
}

void CDrawContext::drawLines (const std::vector<std::pair<CPoint, CPoint>>& lines)
{
	for (const auto& l : lines)
		drawLine (l.first, l.second);
}

void CDrawContext::drawPolygon (const CPolygon& polygon, const CDrawStyle drawStyle)
{
	if (polygon.empty ())
		return;
	applyLineSettings ();
	cairo_move_to (cr, polygon[0].x, polygon[0].y);
	for (size_t i = 1; i < polygon.size (); ++i)
		cairo_line_to (cr, polygon[i].x, polygon[i].y);
	if (drawStyle != kDrawStroked)
		cairo_close_path (cr);
	strokeOrFill (drawStyle);
}

void CDrawContext::drawRect (const CRect& rect, const CDrawStyle drawStyle)
{
	applyLineSettings ();
	if (drawStyle == kDrawFilled)
		cairo_rectangle (cr, rect.left, rect.top, rect.getWidth (), rect.getHeight ());
	else
	{
		// The stroke runs inside the rectangle's edge.
		CCoord half = currentState.lineWidth / 2.;
		if (drawStyle == kDrawFilledAndStroked)
		{
			cairo_rectangle (cr, rect.left, rect.top, rect.getWidth (), rect.getHeight ());
			applySourceColor (currentState.fillColor);
			cairo_fill (cr);
		}
		cairo_rectangle (cr, rect.left + half, rect.top + half, rect.getWidth () - 2 * half,
		                 rect.getHeight () - 2 * half);
		applyLineSettings ();
		applySourceColor (currentState.frameColor);
		cairo_stroke (cr);
		return;
	}
	strokeOrFill (drawStyle);
}

void CDrawContext::drawRoundRect (const CRect& rect, CCoord radius, const CDrawStyle drawStyle)
{
	CCoord r = std::min (radius, std::min (rect.getWidth (), rect.getHeight ()) / 2.);
	const double pi = 3.14159265358979323846;
	cairo_new_sub_path (cr);
	cairo_arc (cr, rect.right - r, rect.top + r, r, -pi / 2., 0.);
	cairo_arc (cr, rect.right - r, rect.bottom - r, r, 0., pi / 2.);
	cairo_arc (cr, rect.left + r, rect.bottom - r, r, pi / 2., pi);
	cairo_arc (cr, rect.left + r, rect.top + r, r, pi, 3. * pi / 2.);
	cairo_close_path (cr);
	strokeOrFill (drawStyle);
}

void CDrawContext::drawEllipse (const CRect& rect, const CDrawStyle drawStyle)
{
	if (rect.getWidth () <= 0 || rect.getHeight () <= 0)
		return;
	CPoint c = rect.getCenter ();
	cairo_save (cr);
	cairo_translate (cr, c.x, c.y);
	cairo_scale (cr, rect.getWidth () / 2., rect.getHeight () / 2.);
	cairo_arc (cr, 0., 0., 1., 0., 2. * 3.14159265358979323846);
	cairo_restore (cr);
	strokeOrFill (drawStyle);
}

void CDrawContext::drawArc (const CRect& rect, float startAngle, float endAngle, const CDrawStyle drawStyle)
{
	if (rect.getWidth () <= 0 || rect.getHeight () <= 0)
		return;
	const double toRad = 3.14159265358979323846 / 180.;
	CPoint c = rect.getCenter ();
	cairo_save (cr);
	cairo_translate (cr, c.x, c.y);
	cairo_scale (cr, rect.getWidth () / 2., rect.getHeight () / 2.);
	if (drawStyle != kDrawStroked)
		cairo_move_to (cr, 0, 0);
	cairo_arc (cr, 0., 0., 1., startAngle * toRad, endAngle * toRad);
	if (drawStyle != kDrawStroked)
		cairo_close_path (cr);
	cairo_restore (cr);
	strokeOrFill (drawStyle);
}

void CDrawContext::drawPoint (const CPoint& point, const CColor& color)
{
	cairo_rectangle (cr, std::floor (point.x), std::floor (point.y), 1, 1);
	applySourceColor (color);
	cairo_fill (cr);
}

void CDrawContext::clearRect (const CRect& rect)
{
	cairo_save (cr);
	cairo_set_operator (cr, CAIRO_OPERATOR_CLEAR);
	cairo_rectangle (cr, rect.left, rect.top, rect.getWidth (), rect.getHeight ());
	cairo_fill (cr);
	cairo_restore (cr);
}

void CDrawContext::drawBitmap (CBitmap* bitmap, const CRect& dest, const CPoint& offset, float alpha)
{
	if (bitmap)
		bitmap->draw (this, dest, offset, alpha);
}

void CDrawContext::applyFont ()
{
	const CFontDesc* font = currentState.font ? currentState.font : kNormalFont;
	const char* family = font->getName ().empty () ? "DejaVu Sans" : font->getName ().data ();
	cairo_select_font_face (cr, family,
	                        (font->getStyle () & kItalicFace) ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
	                        (font->getStyle () & kBoldFace) ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
	cairo_set_font_size (cr, font->getSize () > 0 ? font->getSize () : 12.);
}

CCoord CDrawContext::getStringWidth (UTF8StringPtr string)
{
	if (!string)
		return 0;
	applyFont ();
	cairo_text_extents_t ext;
	cairo_text_extents (cr, string, &ext);
	return ext.x_advance;
}

void CDrawContext::drawString (UTF8StringPtr string, const CPoint& baseline, bool antialias)
{
	if (!string || !*string)
		return;
	applyFont ();
	cairo_font_options_t* options = cairo_font_options_create ();
	cairo_font_options_set_antialias (options, antialias ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
	cairo_set_font_options (cr, options);
	cairo_font_options_destroy (options);
	applySourceColor (currentState.fontColor);
	cairo_move_to (cr, baseline.x, baseline.y);
	cairo_show_text (cr, string);
	cairo_new_path (cr);
}

void CDrawContext::drawString (UTF8StringPtr string, const CRect& rect, const CHoriTxtAlign hAlign, bool antialias)
{
	if (!string || !*string)
		return;
	applyFont ();
	cairo_text_extents_t ext;
	cairo_text_extents (cr, string, &ext);
	cairo_font_extents_t fext;
	cairo_font_extents (cr, &fext);
	CCoord x = rect.left;
	if (hAlign == kCenterText)
		x = rect.left + (rect.getWidth () - ext.x_advance) / 2.;
	else if (hAlign == kRightText)
		x = rect.right - ext.x_advance;
	CCoord y = rect.top + (rect.getHeight () + fext.ascent - fext.descent) / 2.;
	cairo_save (cr);
	cairo_rectangle (cr, rect.left, rect.top, rect.getWidth (), rect.getHeight ());
	cairo_clip (cr);
	drawString (string, CPoint (std::round (x), std::round (y)), antialias);
	cairo_restore (cr);
}

} // namespace VSTGUI
