#pragma once

#include "cpoint.h"
#include <algorithm>

namespace VSTGUI {

struct CRect
{
	CRect () = default;
	CRect (CCoord l, CCoord t, CCoord r, CCoord b) : left (l), top (t), right (r), bottom (b) {}
	CRect (const CPoint& origin, const CPoint& size)
	: left (origin.x), top (origin.y), right (origin.x + size.x), bottom (origin.y + size.y)
	{
	}

	CCoord getWidth () const { return right - left; }
	CCoord getHeight () const { return bottom - top; }
	CRect& setWidth (CCoord w)
	{
		right = left + w;
		return *this;
	}
	CRect& setHeight (CCoord h)
	{
		bottom = top + h;
		return *this;
	}
	CPoint getTopLeft () const { return CPoint (left, top); }
	CPoint getBottomRight () const { return CPoint (right, bottom); }
	CPoint getSize () const { return CPoint (getWidth (), getHeight ()); }
	CPoint getCenter () const { return CPoint (left + getWidth () / 2., top + getHeight () / 2.); }
	CRect& setTopLeft (const CPoint& p)
	{
		CPoint s = getSize ();
		left = p.x;
		top = p.y;
		right = left + s.x;
		bottom = top + s.y;
		return *this;
	}
	CRect& setSize (const CPoint& s)
	{
		right = left + s.x;
		bottom = top + s.y;
		return *this;
	}
	CRect& offset (CCoord dx, CCoord dy)
	{
		left += dx;
		right += dx;
		top += dy;
		bottom += dy;
		return *this;
	}
	CRect& offset (const CPoint& p) { return offset (p.x, p.y); }
	CRect& moveTo (CCoord x, CCoord y) { return setTopLeft (CPoint (x, y)); }
	CRect& moveTo (const CPoint& p) { return setTopLeft (p); }
	CRect& inset (CCoord dx, CCoord dy)
	{
		left += dx;
		right -= dx;
		top += dy;
		bottom -= dy;
		return *this;
	}
	CRect& extend (CCoord dx, CCoord dy) { return inset (-dx, -dy); }
	bool pointInside (const CPoint& p) const
	{
		return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
	}
	bool isEmpty () const { return right <= left || bottom <= top; }
	bool rectOverlap (const CRect& r) const
	{
		return r.left < right && r.right > left && r.top < bottom && r.bottom > top;
	}
	CRect& bound (const CRect& r)
	{
		left = std::max (left, r.left);
		top = std::max (top, r.top);
		right = std::max (std::min (right, r.right), left);
		bottom = std::max (std::min (bottom, r.bottom), top);
		return *this;
	}
	CRect& unite (const CRect& r)
	{
		if (isEmpty ())
			return *this = r;
		if (r.isEmpty ())
			return *this;
		left = std::min (left, r.left);
		top = std::min (top, r.top);
		right = std::max (right, r.right);
		bottom = std::max (bottom, r.bottom);
		return *this;
	}
	bool operator== (const CRect& o) const
	{
		return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
	}
	bool operator!= (const CRect& o) const { return !(*this == o); }

	CCoord left {0.};
	CCoord top {0.};
	CCoord right {0.};
	CCoord bottom {0.};
};

} // namespace VSTGUI
