#include "cviewcontainer.h"
#include "cbitmap.h"
#include "cdrawcontext.h"
#include "cframe.h"
#include "cgradient.h"
#include <algorithm>
#include <cairo.h>

namespace VSTGUI {

CViewContainer::CViewContainer (const CRect& size) : CView (size) {}

CViewContainer::CViewContainer (const CViewContainer& other)
: CView (other)
, backgroundColor (other.backgroundColor)
, backgroundColorDrawStyle (other.backgroundColorDrawStyle)
, backgroundOffset (other.backgroundOffset)
, backgroundGradient (other.backgroundGradient)
{
	for (const auto& child : other.children)
		addView (child->newCopy ());
}

CViewContainer::~CViewContainer ()
{
	removeAll (true);
}

bool CViewContainer::addView (CView* pView)
{
	if (!pView || isChild (pView))
		return false;
	children.push_back (owned (pView));
	if (isAttached ())
		pView->attached (this);
	pView->invalid ();
	return true;
}

bool CViewContainer::addView (CView* pView, const CRect& area, bool enable)
{
	if (!addView (pView))
		return false;
	pView->setMouseableArea (area);
	pView->setMouseEnabled (enable);
	return true;
}

bool CViewContainer::removeView (CView* pView, bool withForget)
{
	auto it = std::find_if (children.begin (), children.end (),
	                        [&] (const SharedPointer<CView>& v) { return v.get () == pView; });
	if (it == children.end ())
		return false;
	pView->invalid ();
	if (mouseDownView.get () == pView)
		mouseDownView = nullptr;
	if (pView->isAttached ())
		pView->removed (this);
	if (!withForget)
		pView->remember ();
	children.erase (it);
	return true;
}

bool CViewContainer::removeAll (bool withForget)
{
	mouseDownView = nullptr;
	while (!children.empty ())
		removeView (children.back ().get (), withForget);
	return true;
}

bool CViewContainer::isChild (CView* pView) const
{
	return std::any_of (children.begin (), children.end (),
	                    [&] (const SharedPointer<CView>& v) { return v.get () == pView; });
}

CView* CViewContainer::getView (uint32_t index) const
{
	return index < children.size () ? children[index].get () : nullptr;
}

CView* CViewContainer::getViewAt (const CPoint& where) const
{
	CPoint local (where);
	local.offset (-size.left, -size.top);
	for (auto it = children.rbegin (); it != children.rend (); ++it)
	{
		if ((*it)->isVisible () && (*it)->getViewSize ().pointInside (local))
			return it->get ();
	}
	return nullptr;
}

void CViewContainer::setBackgroundColor (const CColor& color)
{
	backgroundColor = color;
	setDirty (true);
}

void CViewContainer::setBackgroundColorDrawStyle (CBackgroundDrawStyle style)
{
	backgroundColorDrawStyle = style;
	setDirty (true);
}

void CViewContainer::setBackgroundGradient (CGradient* g)
{
	backgroundGradient = g;
}

void CViewContainer::draw (CDrawContext* context)
{
	drawRect (context, size);
}

void CViewContainer::drawBackgroundRect (CDrawContext* context, const CRect& /*rect*/)
{
	CRect local (0, 0, getWidth (), getHeight ());
	if (background)
	{
		background->draw (context, local, backgroundOffset);
	}
	else if (!transparent && backgroundColor.alpha > 0)
	{
		context->setLineWidth (1);
		context->setFillColor (backgroundColor);
		context->setFrameColor (backgroundColor);
		CDrawStyle style = kDrawFilledAndStroked;
		if (backgroundColorDrawStyle == kDrawBackgroundFilled)
			style = kDrawFilled;
		else if (backgroundColorDrawStyle == kDrawBackgroundStroked)
			style = kDrawStroked;
		context->drawRect (local, style);
	}
}

void CViewContainer::drawRect (CDrawContext* context, const CRect& updateRect)
{
	CRect localUpdate (updateRect);
	localUpdate.offset (-size.left, -size.top);
	localUpdate.bound (CRect (0, 0, getWidth (), getHeight ()));
	if (localUpdate.isEmpty ())
	{
		setDirty (false);
		return;
	}

	context->saveGlobalState ();
	cairo_t* cr = context->getCairo ();
	cairo_translate (cr, size.left, size.top);
	cairo_rectangle (cr, localUpdate.left, localUpdate.top, localUpdate.getWidth (), localUpdate.getHeight ());
	cairo_clip (cr);

	drawBackgroundRect (context, localUpdate);

	// Copy: a view may change the list while drawing.
	auto views = children;
	for (const auto& child : views)
	{
		if (!child->isVisible () || !child->checkUpdate (localUpdate))
			continue;
		CRect clip (child->getViewSize ());
		clip.bound (localUpdate);
		if (clip.isEmpty ())
			continue;
		context->saveGlobalState ();
		cairo_rectangle (cr, clip.left, clip.top, clip.getWidth (), clip.getHeight ());
		cairo_clip (cr);
		if (child->getAlphaValue () < 1.f)
			context->setGlobalAlpha (child->getAlphaValue ());
		child->drawRect (context, localUpdate);
		context->restoreGlobalState ();
	}
	context->restoreGlobalState ();
	setDirty (false);
}

bool CViewContainer::isDirty () const
{
	if (CView::isDirty ())
		return true;
	for (const auto& child : children)
	{
		if (child->isDirty ())
			return true;
	}
	return false;
}

CMouseEventResult CViewContainer::onMouseDown (CPoint& where, const CButtonState& buttons)
{
	CPoint local (where);
	local.offset (-size.left, -size.top);
	auto views = children;
	for (auto it = views.rbegin (); it != views.rend (); ++it)
	{
		CView* view = it->get ();
		if (!view->isVisible () || !view->getMouseEnabled () || !view->hitTest (local, buttons))
			continue;
		CPoint p (local);
		CMouseEventResult result = view->onMouseDown (p, buttons);
		if (result == kMouseEventHandled)
		{
			mouseDownView = view;
			return kMouseEventHandled;
		}
		if (result == kMouseDownEventHandledButDontNeedMovedOrUpEvents)
			return kMouseEventHandled;
		if (result == kMouseEventNotHandled && view->asViewContainer ())
			continue;
		if (result != kMouseEventNotImplemented && result != kMouseEventNotHandled)
			return result;
	}
	return kMouseEventNotHandled;
}

CMouseEventResult CViewContainer::onMouseUp (CPoint& where, const CButtonState& buttons)
{
	if (!mouseDownView)
		return kMouseEventNotHandled;
	SharedPointer<CView> view = mouseDownView;
	mouseDownView = nullptr;
	CPoint local (where);
	local.offset (-size.left, -size.top);
	view->onMouseUp (local, buttons);
	return kMouseEventHandled;
}

CMouseEventResult CViewContainer::onMouseMoved (CPoint& where, const CButtonState& buttons)
{
	if (!mouseDownView)
		return kMouseEventNotHandled;
	SharedPointer<CView> view = mouseDownView;
	CPoint local (where);
	local.offset (-size.left, -size.top);
	CMouseEventResult result = view->onMouseMoved (local, buttons);
	if (result == kMouseMoveEventHandledButDontNeedMoreEvents)
	{
		if (mouseDownView == view)
			mouseDownView = nullptr;
		return kMouseEventHandled;
	}
	if (result == kMouseEventNotHandled || result == kMouseEventNotImplemented)
		return result;
	return kMouseEventHandled;
}

bool CViewContainer::onWheel (const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                              const CButtonState& buttons)
{
	CPoint local (where);
	local.offset (-size.left, -size.top);
	auto views = children;
	for (auto it = views.rbegin (); it != views.rend (); ++it)
	{
		CView* view = it->get ();
		if (!view->isVisible () || !view->getMouseEnabled () || !view->hitTest (local, buttons))
			continue;
		if (view->onWheel (local, axis, distance, buttons))
			return true;
	}
	return false;
}

bool CViewContainer::attached (CView* parent)
{
	if (!CView::attached (parent))
		return false;
	for (const auto& child : children)
		child->attached (this);
	return true;
}

bool CViewContainer::removed (CView* parent)
{
	if (!isAttached ())
		return false;
	mouseDownView = nullptr;
	for (const auto& child : children)
		child->removed (this);
	return CView::removed (parent);
}

CPoint& CViewContainer::localToFrame (CPoint& point) const
{
	point.offset (size.left, size.top);
	if (parentView)
		return parentView->localToFrame (point);
	return point;
}

CPoint& CViewContainer::frameToLocal (CPoint& point) const
{
	point.offset (-size.left, -size.top);
	if (parentView)
		return parentView->frameToLocal (point);
	return point;
}

void CViewContainer::invalidRect (const CRect& rect)
{
	if (!visible)
		return;
	CRect r (rect);
	r.offset (size.left, size.top);
	r.bound (size);
	if (r.isEmpty ())
		return;
	if (parentView)
		parentView->invalidRect (r);
	else if (parentFrame && static_cast<CView*> (parentFrame) != static_cast<CView*> (this))
		parentFrame->invalidRect (r);
}

} // namespace VSTGUI
