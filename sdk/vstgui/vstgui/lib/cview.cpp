#include "cview.h"
#include "cbitmap.h"
#include "cdrawcontext.h"
#include "cframe.h"
#include "../uidescription/icontroller.h"

namespace VSTGUI {

CView::CView (const CRect& size) : size (size), mouseableArea (size) {}

CView::CView (const CView& v)
: CBaseObject (v)
, size (v.size)
, mouseableArea (v.mouseableArea)
, background (v.background)
, mouseEnabled (v.mouseEnabled)
, transparent (v.transparent)
, visible (v.visible)
, alphaValue (v.alphaValue)
, attributes (v.attributes)
{
}

CView::~CView ()
{
	setViewController (nullptr);
}

void CView::setViewController (IController* controller)
{
	if (viewController == controller)
		return;
	IController* old = viewController;
	viewController = controller;
	if (old)
	{
		if (auto obj = dynamic_cast<CBaseObject*> (old))
			obj->forget ();
		else
			delete old;
	}
}

void CView::draw (CDrawContext* context)
{
	if (background)
		background->draw (context, size);
	setDirty (false);
}

void CView::drawRect (CDrawContext* context, const CRect& /*updateRect*/)
{
	draw (context);
}

void CView::setDirty (bool val)
{
	dirty = val;
}

void CView::invalidRect (const CRect& rect)
{
	if (parentView && visible)
		parentView->invalidRect (rect);
	else if (parentFrame && visible && static_cast<CView*> (parentFrame) != this)
		parentFrame->invalidRect (rect);
}

CMouseEventResult CView::onMouseDown (CPoint&, const CButtonState&)
{
	return kMouseEventNotImplemented;
}

CMouseEventResult CView::onMouseUp (CPoint&, const CButtonState&)
{
	return kMouseEventNotImplemented;
}

CMouseEventResult CView::onMouseMoved (CPoint&, const CButtonState&)
{
	return kMouseEventNotImplemented;
}

CMouseEventResult CView::onMouseEntered (CPoint&, const CButtonState&)
{
	return kMouseEventNotImplemented;
}

CMouseEventResult CView::onMouseExited (CPoint&, const CButtonState&)
{
	return kMouseEventNotImplemented;
}

bool CView::onWheel (const CPoint& where, const CMouseWheelAxis& axis, const float& distance, const CButtonState& buttons)
{
	if (axis == kMouseWheelAxisY)
		return onWheel (where, distance, buttons);
	return false;
}

bool CView::onWheel (const CPoint&, const float&, const CButtonState&)
{
	return false;
}

CRect& CView::getMouseableArea (CRect& rect) const
{
	rect = mouseableArea;
	return rect;
}

bool CView::hitTest (const CPoint& where, const CButtonState&)
{
	return mouseableArea.pointInside (where);
}

void CView::setViewSize (const CRect& rect, bool doInvalid)
{
	if (size == rect)
		return;
	if (doInvalid)
		invalid ();
	size = rect;
	mouseableArea = rect;
	if (doInvalid)
		invalid ();
}

CPoint& CView::localToFrame (CPoint& point) const
{
	if (parentView)
		return parentView->localToFrame (point);
	return point;
}

CPoint& CView::frameToLocal (CPoint& point) const
{
	if (parentView)
		return parentView->frameToLocal (point);
	return point;
}

void CView::setBackground (CBitmap* b)
{
	background = b;
	setDirty (true);
}

void CView::setVisible (bool state)
{
	if (visible == state)
		return;
	if (!state)
		invalid ();
	visible = state;
	if (state)
		invalid ();
}

bool CView::attached (CView* parent)
{
	if (attachedToParent)
		return false;
	parentView = parent;
	if (parent)
		parentFrame = parent->getFrame ();
	attachedToParent = true;
	return true;
}

bool CView::removed (CView* /*parent*/)
{
	if (!attachedToParent)
		return false;
	parentView = nullptr;
	parentFrame = nullptr;
	attachedToParent = false;
	return true;
}

const std::string* CView::getAttribute (const std::string& name) const
{
	auto it = attributes.find (name);
	return it == attributes.end () ? nullptr : &it->second;
}

} // namespace VSTGUI
