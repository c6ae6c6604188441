#include "cframe.h"
#include "cbitmap.h"
#include "cdrawcontext.h"
#include "cvstguitimer.h"
#include "platform/iplatformframe.h"
#include <algorithm>
#include <cairo.h>
#include <cmath>
#include <cstddef>

namespace VSTGUI {

CFrame::CFrame (const CRect& inSize, VSTGUIEditorInterface* editor) : CViewContainer (inSize), editor (editor)
{
	// The frame is its own root: children attach as soon as they are added.
	parentFrame = this;
	attachedToParent = true;
	size.moveTo (0, 0);
	mouseableArea = size;
}

namespace {
// Frames with a window: when the last one closes, the shared images are given back.
int gOpenFrames = 0;
} // namespace

CFrame::~CFrame ()
{
	removeAll (true);
	releasePlatformFrame ();
}

void CFrame::releasePlatformFrame ()
{
	if (!platformFrame)
		return;
	delete platformFrame;
	platformFrame = nullptr;
	if (--gOpenFrames == 0)
		CBitmap::releaseSharedImages ();
}

bool CFrame::removeAll (bool withForget)
{
	mouseOverView = nullptr;
	return CViewContainer::removeAll (withForget);
}

bool CFrame::attached (CView* /*parent*/)
{
	return false;
}

bool CFrame::open (void* parent, PlatformType type, const X11FrameConfig* config)
{
	if (platformFrame || !parent || type != kX11EmbedWindowID)
		return false;
	++gOpenFrames;
	platformFrame = createX11PlatformFrame (this, parent, getViewSize (), config);
	if (!platformFrame)
	{
		if (--gOpenFrames == 0)
			CBitmap::releaseSharedImages ();
		return false;
	}
	invalid ();
	return true;
}

void CFrame::close ()
{
	removeAll (true);
	mouseObservers.clear ();
	releasePlatformFrame ();
	editor = nullptr;
	forget ();
}

bool CFrame::setSize (CCoord width, CCoord height)
{
	if (width == getWidth () && height == getHeight ())
		return true;
	CRect newSize (0, 0, width, height);
	const CRect oldSize = getViewSize ();
	if (editor && !editor->beforeSizeChange (newSize, oldSize))
		return false;
	// The window draws its first picture at the new size: the frame has it already.
	CViewContainer::setViewSize (newSize, false);
	if (platformFrame && !platformFrame->setSize (newSize))
	{
		CViewContainer::setViewSize (oldSize, false);
		return false;
	}
	invalid ();
	return true;
}

bool CFrame::setScaleFactor (double factor)
{
	if (!std::isfinite (factor) || factor <= 0.)
		return false;
	if (factor == scaleFactor)
		return true;
	scaleFactor = factor;
	// The window takes its new pixel size; the views stay where they are.
	if (platformFrame)
		platformFrame->setSize (getViewSize ());
	invalid ();
	return true;
}

int32_t scaledLength (CCoord length, double scale)
{
	return static_cast<int32_t> (std::floor (length * scale + 0.5));
}

int32_t CFrame::getKnobMode () const
{
	if (editor)
	{
		int32_t mode = editor->getKnobMode ();
		if (mode != -1)
			return mode;
	}
	return kCircularMode;
}

bool CFrame::setPosition (CCoord, CCoord)
{
	return false;
}

void CFrame::invalidRect (const CRect& rect)
{
	CRect r (rect);
	r.bound (CRect (0, 0, getWidth (), getHeight ()));
	if (r.isEmpty ())
		return;
	invalidArea.unite (r);
	// Rectangles that touch become one; beyond a handful, the whole area is one.
	bool merged = true;
	while (merged)
	{
		merged = false;
		for (auto it = invalidRects.begin (); it != invalidRects.end (); ++it)
		{
			CRect grown (*it);
			grown.inset (-1, -1);
			if (grown.rectOverlap (r))
			{
				r.unite (*it);
				invalidRects.erase (it);
				merged = true;
				break;
			}
		}
	}
	invalidRects.push_back (r);
	if (invalidRects.size () > 8)
		invalidRects.assign (1, invalidArea);
	if (platformFrame)
		platformFrame->invalidRect (r);
}

void CFrame::updateWindow ()
{
	if (platformFrame && !invalidArea.isEmpty ())
		platformFrame->paint ();
}

void CFrame::drawFrameRect (CDrawContext* context, const CRect& rect)
{
	drawRect (context, rect);
}

void CFrame::drawScaled (cairo_t* cr, double scale, const CRect& area)
{
	cairo_save (cr);
	cairo_scale (cr, scale, scale);
	{
		auto context = owned (new CDrawContext (cr, CRect (0, 0, getWidth (), getHeight ()), scale));
		drawFrameRect (context, area);
	}
	cairo_restore (cr);
}

namespace {
// Invalidates every view whose value or look changed since it was last drawn.
void invalidateDirtyViews (CViewContainer* container)
{
	for (uint32_t i = 0; i < container->getNbViews (); ++i)
	{
		CView* view = container->getView (i);
		if (auto sub = view->asViewContainer ())
			invalidateDirtyViews (sub);
		else if (view->isDirty ())
			view->invalid ();
	}
}
} // namespace

void CFrame::idle ()
{
	invalidateDirtyViews (this);
	updateWindow ();
}

namespace {
// The deepest visible, mouse-enabled view under a point (in container's parent coordinates).
CView* viewUnder (CViewContainer* container, const CPoint& where)
{
	CPoint local (where);
	if (container->getParentView ())
		local.offset (-container->getViewSize ().left, -container->getViewSize ().top);
	for (int32_t i = static_cast<int32_t> (container->getNbViews ()) - 1; i >= 0; --i)
	{
		CView* view = container->getView (static_cast<uint32_t> (i));
		if (!view->isVisible () || !view->getMouseEnabled () ||
		    !view->getViewSize ().pointInside (local))
			continue;
		if (auto sub = view->asViewContainer ())
		{
			if (CView* inner = viewUnder (sub, local))
				return inner;
		}
		return view;
	}
	return nullptr;
}

constexpr int32_t kAnyButton = kLButton | kMButton | kRButton;
} // namespace

void CFrame::registerMouseObserver (IMouseObserver* observer)
{
	if (observer && std::find (mouseObservers.begin (), mouseObservers.end (), observer) ==
	                    mouseObservers.end ())
		mouseObservers.push_back (observer);
}

void CFrame::unregisterMouseObserver (IMouseObserver* observer)
{
	mouseObservers.erase (std::remove (mouseObservers.begin (), mouseObservers.end (), observer),
	                      mouseObservers.end ());
}

void CFrame::setMouseOverView (CView* view)
{
	if (view == mouseOverView.get ())
		return;
	SharedPointer<CView> old = mouseOverView;
	mouseOverView = view;
	// Copies: an observer may register or unregister others.
	if (old)
	{
		for (IMouseObserver* o : std::vector<IMouseObserver*> (mouseObservers))
			o->onMouseExited (old, this);
	}
	if (view)
	{
		for (IMouseObserver* o : std::vector<IMouseObserver*> (mouseObservers))
			o->onMouseEntered (view, this);
	}
}

CMouseEventResult CFrame::platformOnMouseDown (CPoint& where, const CButtonState& buttons)
{
	SharedPointer<CFrame> keep (this);
	return onMouseDown (where, buttons);
}

CMouseEventResult CFrame::platformOnMouseUp (CPoint& where, const CButtonState& buttons)
{
	SharedPointer<CFrame> keep (this);
	CMouseEventResult result = onMouseUp (where, buttons);
	setMouseOverView (viewUnder (this, where));
	return result;
}

CMouseEventResult CFrame::platformOnMouseMoved (CPoint& where, const CButtonState& buttons)
{
	SharedPointer<CFrame> keep (this);
	CMouseEventResult result = onMouseMoved (where, buttons);
	// While a button is down the view that took it keeps the mouse.
	if (!(buttons.getButtonState () & kAnyButton))
		setMouseOverView (viewUnder (this, where));
	return result;
}

void CFrame::platformOnMouseExited ()
{
	SharedPointer<CFrame> keep (this);
	setMouseOverView (nullptr);
}

bool CFrame::platformOnWheel (const CPoint& where, const CMouseWheelAxis& axis, float distance, const CButtonState& buttons)
{
	SharedPointer<CFrame> keep (this);
	return onWheel (where, axis, distance, buttons);
}

//------------------------------------------------------------------------
bool renderFrame (CFrame* frame, double scale, COffscreenImage& result)
{
	if (!frame || scale <= 0.)
		return false;
	int w = scaledLength (frame->getWidth (), scale);
	int h = scaledLength (frame->getHeight (), scale);
	if (w <= 0 || h <= 0)
		return false;
	cairo_surface_t* surface = cairo_image_surface_create (CAIRO_FORMAT_ARGB32, w, h);
	if (cairo_surface_status (surface) != CAIRO_STATUS_SUCCESS)
	{
		cairo_surface_destroy (surface);
		return false;
	}
	cairo_t* cr = cairo_create (surface);
	frame->drawScaled (cr, scale, CRect (0, 0, frame->getWidth (), frame->getHeight ()));
	cairo_destroy (cr);
	cairo_surface_flush (surface);

	result.width = w;
	result.height = h;
	result.pixels.resize (static_cast<size_t> (w) * static_cast<size_t> (h));
	const unsigned char* data = cairo_image_surface_get_data (surface);
	int stride = cairo_image_surface_get_stride (surface);
	for (int y = 0; y < h; ++y)
	{
		const uint32_t* row = reinterpret_cast<const uint32_t*> (data + y * stride);
		std::copy (row, row + w, result.pixels.begin () + static_cast<std::ptrdiff_t> (y) * w);
	}
	cairo_surface_destroy (surface);
	return true;
}

bool renderFrameToPNG (CFrame* frame, const std::string& path, double scale)
{
	COffscreenImage image;
	if (!renderFrame (frame, scale, image))
		return false;
	cairo_surface_t* surface = cairo_image_surface_create (CAIRO_FORMAT_ARGB32, image.width, image.height);
	cairo_surface_flush (surface);
	unsigned char* data = cairo_image_surface_get_data (surface);
	int stride = cairo_image_surface_get_stride (surface);
	for (int y = 0; y < image.height; ++y)
	{
		uint32_t* row = reinterpret_cast<uint32_t*> (data + y * stride);
		std::copy (image.pixels.begin () + static_cast<std::ptrdiff_t> (y) * image.width,
		           image.pixels.begin () + static_cast<std::ptrdiff_t> (y + 1) * image.width, row);
	}
	cairo_surface_mark_dirty (surface);
	bool ok = cairo_surface_write_to_png (surface, path.c_str ()) == CAIRO_STATUS_SUCCESS;
	cairo_surface_destroy (surface);
	return ok;
}

} // namespace VSTGUI
