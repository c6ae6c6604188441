// The frame's window on Linux: an X11 child window of the host's window, driven
// by the host's run loop (IRunLoop) or, without one, by VSTGUI::idle().
#include "../../cdrawcontext.h"
#include "../../cframe.h"
#include "../../cvstguitimer.h"
#include "../iplatformframe.h"
#include "x11connection.h"

#include "base/source/fobject.h"
#include "pluginterfaces/gui/iplugview.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <algorithm>
#include <cairo-xlib.h>
#include <cairo.h>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace VSTGUI {

using Steinberg::Linux::FileDescriptor;
using Steinberg::Linux::IEventHandler;
using Steinberg::Linux::IRunLoop;
using Steinberg::Linux::ITimerHandler;

class X11Frame;

namespace {

// Host timer period that drives the frame and the VSTGUI timers.
constexpr Steinberg::Linux::TimerInterval kTickMilliseconds = 10;

// How deep we are inside handler callbacks that the host is iterating.
int gCallbackDepth = 0;

struct CallbackScope
{
	CallbackScope () { ++gCallbackDepth; }
	~CallbackScope () { --gCallbackDepth; }
};

// Frames that have no host run loop: VSTGUI::idle() drives them.
std::vector<X11Frame*>& framesWithoutRunLoop ()
{
	static std::vector<X11Frame*> frames;
	return frames;
}

// X errors on our own connections (a parent window the host destroyed first, a bad
// parent id) must not end the host. Our handler takes those and passes every other
// error on to the handler that was installed before it. It is in place only while one
// of our connections is open: the host's handler comes back when the last one closes,
// so nothing calls into this module after it is unloaded.
std::vector<Display*>& ourDisplays ()
{
	static std::vector<Display*> displays;
	return displays;
}
bool gXError = false;
XErrorHandler gPreviousErrorHandler = nullptr;
bool gPassingErrorOn = false;

int handleXError (Display* display, XErrorEvent* event)
{
	auto& ours = ourDisplays ();
	if (std::find (ours.begin (), ours.end (), display) != ours.end ())
	{
		gXError = true;
		return 0;
	}
	// A host handler that passes errors back to ours must not loop.
	if (!gPreviousErrorHandler || gPassingErrorOn)
		return 0;
	gPassingErrorOn = true;
	const int result = gPreviousErrorHandler (display, event);
	gPassingErrorOn = false;
	return result;
}

void adoptDisplay (Display* display)
{
	// Installed at every opening: the host may have put its own handler in place meanwhile.
	XErrorHandler current = XSetErrorHandler (handleXError);
	if (current != handleXError)
		gPreviousErrorHandler = current;
	ourDisplays ().push_back (display);
}

void releaseDisplay (Display* display)
{
	auto& ours = ourDisplays ();
	ours.erase (std::remove (ours.begin (), ours.end (), display), ours.end ());
	if (!ours.empty ())
		return;
	XErrorHandler current = XSetErrorHandler (gPreviousErrorHandler);
	if (current != handleXError)
		XSetErrorHandler (current); // the host replaced ours since: its own stays
	gPreviousErrorHandler = nullptr;
}

//------------------------------------------------------------------------
class FrameEventHandler : public Steinberg::FObject, public IEventHandler
{
public:
	explicit FrameEventHandler (X11Frame* f) : frame (f) {}
	void PLUGIN_API onFDIsSet (FileDescriptor fd) override;
	void detach () { frame = nullptr; }

	OBJ_METHODS (FrameEventHandler, FObject)
	DEFINE_INTERFACES
		DEF_INTERFACE (IEventHandler)
	END_DEFINE_INTERFACES (FObject)
	REFCOUNT_METHODS (FObject)

private:
	X11Frame* frame;
};

class FrameTimerHandler : public Steinberg::FObject, public ITimerHandler
{
public:
	explicit FrameTimerHandler (X11Frame* f) : frame (f) {}
	void PLUGIN_API onTimer () override;
	void detach () { frame = nullptr; }

	OBJ_METHODS (FrameTimerHandler, FObject)
	DEFINE_INTERFACES
		DEF_INTERFACE (ITimerHandler)
	END_DEFINE_INTERFACES (FObject)
	REFCOUNT_METHODS (FObject)

private:
	X11Frame* frame;
};

// Registrations that could not be undone while the host was iterating its handlers.
struct PendingUnregistration
{
	IRunLoop* runLoop;
	FrameEventHandler* eventHandler;
	FrameTimerHandler* timerHandler;
};

std::vector<PendingUnregistration>& pendingUnregistrations ()
{
	static std::vector<PendingUnregistration> pending;
	return pending;
}

void unregisterNow (const PendingUnregistration& p)
{
	if (p.eventHandler)
	{
		p.runLoop->unregisterEventHandler (p.eventHandler);
		p.eventHandler->release ();
	}
	if (p.timerHandler)
	{
		p.runLoop->unregisterTimer (p.timerHandler);
		p.timerHandler->release ();
	}
	p.runLoop->release ();
}

void flushPendingUnregistrations ()
{
	if (gCallbackDepth > 0)
		return;
	auto pending = std::move (pendingUnregistrations ());
	pendingUnregistrations ().clear ();
	for (const auto& p : pending)
		unregisterNow (p);
}

int32_t buttonStateFromX (unsigned int state)
{
	int32_t result = 0;
	if (state & Button1Mask)
		result |= kLButton;
	if (state & Button2Mask)
		result |= kMButton;
	if (state & Button3Mask)
		result |= kRButton;
	if (state & ShiftMask)
		result |= kShift;
	if (state & ControlMask)
		result |= kControl;
	if (state & Mod1Mask)
		result |= kAlt;
	return result;
}

int32_t buttonFromX (unsigned int button)
{
	switch (button)
	{
		case Button1: return kLButton;
		case Button2: return kMButton;
		case Button3: return kRButton;
		default: return 0;
	}
}

} // namespace

//------------------------------------------------------------------------
class X11Frame : public IPlatformFrame
{
public:
	X11Frame (CFrame* frame, const X11FrameConfig* config)
	: frame (frame)
	, hostRunLoop (config ? config->runLoop : nullptr)
	, owner (config ? config->owner : nullptr)
	{
	}
	~X11Frame () override;

	bool create (Window parent, const CRect& size);
	void invalidRect (const CRect& rect) override;
	bool setSize (const CRect& newSize) override;
	void paint () override;

	void handleEvents ();
	void tick ();
	Steinberg::FUnknown* getOwner () const { return owner; }
	void setInitialPicture (int width, int height);

private:
	void dispatch (XEvent& event);
	// The window's pixel size for a frame size, at the frame's scale factor.
	int pixelLength (CCoord length) const { return std::max (1, scaledLength (length, frame->getScaleFactor ())); }
	// A window position in frame coordinates.
	CPoint toFrame (int x, int y) const
	{
		const double s = frame->getScaleFactor ();
		return CPoint (x / s, y / s);
	}
	void setFixedSizeHints (int width, int height);

	CFrame* frame;
	IRunLoop* hostRunLoop;
	Steinberg::FUnknown* owner;
	IRunLoop* runLoop {nullptr}; // referenced while our handlers are registered with it
	Display* display {nullptr};
	Window window {0};
	Visual* visual {nullptr};
	int depth {0};
	cairo_surface_t* windowSurface {nullptr};
	cairo_surface_t* backBuffer {nullptr};
	FrameEventHandler* eventHandler {nullptr};
	FrameTimerHandler* timerHandler {nullptr};
	bool windowGone {false};
	Time lastClickTime {0};
	unsigned int lastClickButton {0};
	int lastClickX {0};
	int lastClickY {0};
};

void FrameEventHandler::onFDIsSet (FileDescriptor)
{
	CallbackScope scope;
	if (frame)
	{
		Steinberg::IPtr<Steinberg::FUnknown> keepOwner (frame->getOwner ());
		frame->handleEvents ();
	}
}

void FrameTimerHandler::onTimer ()
{
	CallbackScope scope;
	if (frame)
	{
		Steinberg::IPtr<Steinberg::FUnknown> keepOwner (frame->getOwner ());
		frame->tick ();
	}
}

bool X11Frame::create (Window parent, const CRect& size)
{
	display = openX11Display ();
	if (!display)
		return false;

	int width = pixelLength (size.getWidth ());
	int height = pixelLength (size.getHeight ());

	// A bad parent id must not end the host: catch the error instead.
	adoptDisplay (display);
	XSync (display, False);
	gXError = false;
	XSetWindowAttributes attributes {};
	attributes.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
	                        StructureNotifyMask | EnterWindowMask | LeaveWindowMask;
	attributes.background_pixmap = None;
	attributes.border_pixel = 0;
	window = XCreateWindow (display, parent, 0, 0, static_cast<unsigned> (width), static_cast<unsigned> (height), 0,
	                        CopyFromParent, InputOutput, CopyFromParent, CWEventMask | CWBackPixmap | CWBorderPixel,
	                        &attributes);
	XWindowAttributes windowAttributes {};
	if (window)
	{
		// XEmbed: protocol version 0, mapped.
		Atom xembedInfo = XInternAtom (display, "_XEMBED_INFO", False);
		long info[2] = {0, 1};
		XChangeProperty (display, window, xembedInfo, xembedInfo, 32, PropModeReplace,
		                 reinterpret_cast<unsigned char*> (info), 2);
		setFixedSizeHints (width, height);
		XMapWindow (display, window);
		XGetWindowAttributes (display, window, &windowAttributes);
	}
	XSync (display, False);
	if (gXError || !window)
	{
		window = 0; // never made: nothing to destroy
		return false;
	}

	visual = windowAttributes.visual;
	depth = windowAttributes.depth;
	windowSurface = cairo_xlib_surface_create (display, window, visual, width, height);
	if (cairo_surface_status (windowSurface) != CAIRO_STATUS_SUCCESS)
		return false;
	setInitialPicture (width, height);

	if (hostRunLoop)
	{
		runLoop = hostRunLoop;
		runLoop->addRef ();
		eventHandler = new FrameEventHandler (this);
		timerHandler = new FrameTimerHandler (this);
		runLoop->registerEventHandler (eventHandler, ConnectionNumber (display));
		runLoop->registerTimer (timerHandler, kTickMilliseconds);
	}
	else
	{
		framesWithoutRunLoop ().push_back (this);
	}
	XFlush (display);
	return true;
}

X11Frame::~X11Frame ()
{
	auto& frames = framesWithoutRunLoop ();
	frames.erase (std::remove (frames.begin (), frames.end (), this), frames.end ());

	if (runLoop)
	{
		if (eventHandler)
			eventHandler->detach ();
		if (timerHandler)
			timerHandler->detach ();
		PendingUnregistration p {runLoop, eventHandler, timerHandler};
		if (gCallbackDepth > 0)
			pendingUnregistrations ().push_back (p); // the host is iterating its handlers
		else
		{
			flushPendingUnregistrations ();
			unregisterNow (p);
		}
		runLoop = nullptr;
	}
	if (windowSurface)
		cairo_surface_destroy (windowSurface);
	if (backBuffer)
		cairo_surface_destroy (backBuffer);
	if (display)
	{
		// The host may have destroyed its window (and ours with it) already: errors are ours to swallow.
		if (window && !windowGone)
			XDestroyWindow (display, window);
		XSync (display, False);
		releaseDisplay (display);
		XCloseDisplay (display);
	}
}

// The window's background is the editor's first picture, so the X server shows it
// on every expose even before (or without) any event reaching us.
void X11Frame::setInitialPicture (int width, int height)
{
	Pixmap pixmap = XCreatePixmap (display, window, static_cast<unsigned> (width), static_cast<unsigned> (height),
	                               static_cast<unsigned> (depth));
	if (!pixmap)
		return;
	frame->invalid ();
	cairo_surface_t* target = windowSurface;
	windowSurface = cairo_xlib_surface_create (display, pixmap, visual, width, height);
	paint ();
	cairo_surface_destroy (windowSurface);
	windowSurface = target;
	XSetWindowBackgroundPixmap (display, window, pixmap);
	XFreePixmap (display, pixmap);
	XClearWindow (display, window);
	frame->invalid ();
}

void X11Frame::invalidRect (const CRect& /*rect*/)
{
	// The frame keeps the area; it is painted after the current event or tick.
}

void X11Frame::setFixedSizeHints (int width, int height)
{
	XSizeHints hints {};
	hints.flags = PMinSize | PMaxSize;
	hints.min_width = hints.max_width = width;
	hints.min_height = hints.max_height = height;
	XSetWMNormalHints (display, window, &hints);
}

bool X11Frame::setSize (const CRect& newSize)
{
	if (!display || !window || !windowSurface)
		return false;
	int w = pixelLength (newSize.getWidth ());
	int h = pixelLength (newSize.getHeight ());
	setFixedSizeHints (w, h);
	XResizeWindow (display, window, static_cast<unsigned> (w), static_cast<unsigned> (h));
	cairo_xlib_surface_set_size (windowSurface, w, h);
	// The background the server shows on exposure is the old picture: it follows the size,
	// and the window is drawn anew at its new resolution.
	if (!windowGone)
		setInitialPicture (w, h);
	XFlush (display);
	return true;
}

void X11Frame::paint ()
{
	if (!windowSurface || windowGone)
	{
		frame->clearInvalidArea ();
		return;
	}
	std::vector<CRect> areas = frame->getInvalidRects ();
	frame->clearInvalidArea ();
	if (areas.empty ())
		return;
	SharedPointer<CFrame> keep (frame);
	const double scale = frame->getScaleFactor ();
	int w = pixelLength (frame->getWidth ());
	int h = pixelLength (frame->getHeight ());
	if (!backBuffer || cairo_image_surface_get_width (backBuffer) != w || cairo_image_surface_get_height (backBuffer) != h)
	{
		if (backBuffer)
			cairo_surface_destroy (backBuffer);
		backBuffer = cairo_image_surface_create (CAIRO_FORMAT_ARGB32, w, h);
		areas.assign (1, frame->getViewSize ());
	}
	// The whole pixels each area touches; views draw in memory, only the finished areas go
	// to the X server.
	std::vector<CRect> pixelAreas;
	for (const CRect& area : areas)
	{
		CRect pixels (std::floor (area.left * scale), std::floor (area.top * scale),
		              std::ceil (area.right * scale), std::ceil (area.bottom * scale));
		pixels.bound (CRect (0, 0, w, h));
		if (pixels.isEmpty ())
			continue;
		pixelAreas.push_back (pixels);
		cairo_t* cr = cairo_create (backBuffer);
		cairo_rectangle (cr, pixels.left, pixels.top, pixels.getWidth (), pixels.getHeight ());
		cairo_clip (cr);
		frame->drawScaled (cr, scale,
		                   CRect (pixels.left / scale, pixels.top / scale, pixels.right / scale,
		                          pixels.bottom / scale));
		cairo_destroy (cr);
	}
	if (pixelAreas.empty ())
		return;
	cairo_surface_flush (backBuffer);

	cairo_t* wcr = cairo_create (windowSurface);
	for (const CRect& pixels : pixelAreas)
		cairo_rectangle (wcr, pixels.left, pixels.top, pixels.getWidth (), pixels.getHeight ());
	cairo_clip (wcr);
	cairo_set_operator (wcr, CAIRO_OPERATOR_SOURCE);
	cairo_set_source_surface (wcr, backBuffer, 0, 0);
	cairo_paint (wcr);
	cairo_destroy (wcr);
	cairo_surface_flush (windowSurface);
	XFlush (display);
}

void X11Frame::handleEvents ()
{
	if (!display)
		return;
	// An event may close the frame, which deletes this object: only locals after that.
	SharedPointer<CFrame> keep (frame);
	IPlatformFrame* self = this;
	while (XPending (display) > 0)
	{
		XEvent event;
		XNextEvent (display, &event);
		dispatch (event);
		if (keep->getPlatformFrame () != self)
			return; // closed from inside an event
	}
	keep->idle ();
}

void X11Frame::tick ()
{
	// A timer may close the frame, which deletes this object: only locals after that.
	SharedPointer<CFrame> keep (frame);
	IPlatformFrame* self = this;
	CVSTGUITimer::fireDueTimers ();
	if (keep->getPlatformFrame () == self)
	{
		// Events that arrived without the descriptor being polled (the host may be slow).
		handleEvents ();
	}
}

void X11Frame::dispatch (XEvent& event)
{
	switch (event.type)
	{
		case DestroyNotify:
		{
			if (event.xdestroywindow.window == window)
				windowGone = true;
			break;
		}
		case Expose:
		{
			const CPoint topLeft = toFrame (event.xexpose.x, event.xexpose.y);
			const CPoint bottomRight =
			    toFrame (event.xexpose.x + event.xexpose.width, event.xexpose.y + event.xexpose.height);
			frame->invalidRect (CRect (topLeft.x, topLeft.y, bottomRight.x, bottomRight.y));
			break;
		}
		case ButtonPress:
		{
			CPoint where = toFrame (event.xbutton.x, event.xbutton.y);
			unsigned int b = event.xbutton.button;
			if (b == Button4 || b == Button5 || b == 6 || b == 7)
			{
				CButtonState state (buttonStateFromX (event.xbutton.state));
				float distance = (b == Button4 || b == 6) ? 1.f : -1.f;
				CMouseWheelAxis axis = (b == 6 || b == 7) ? kMouseWheelAxisX : kMouseWheelAxisY;
				frame->platformOnWheel (where, axis, distance, state);
				break;
			}
			int32_t state = buttonFromX (b) | (buttonStateFromX (event.xbutton.state) & (kShift | kControl | kAlt));
		    // A second press soon after the first and near it: a press on another control is not
		    // one.
		    if (b == lastClickButton && event.xbutton.time - lastClickTime < 250 &&
		        std::abs (event.xbutton.x - lastClickX) <= 4 &&
		        std::abs (event.xbutton.y - lastClickY) <= 4)
			    state |= kDoubleClick;
			lastClickButton = b;
			lastClickTime = event.xbutton.time;
		    lastClickX = event.xbutton.x;
		    lastClickY = event.xbutton.y;
		    CButtonState buttons (state);
			frame->platformOnMouseDown (where, buttons);
			break;
		}
		case ButtonRelease:
		{
			unsigned int b = event.xbutton.button;
			if (b >= Button4)
				break;
			CPoint where = toFrame (event.xbutton.x, event.xbutton.y);
			CButtonState buttons (buttonFromX (b) | (buttonStateFromX (event.xbutton.state) & (kShift | kControl | kAlt)));
			frame->platformOnMouseUp (where, buttons);
			break;
		}
	    case EnterNotify:
	    {
		    if (event.xcrossing.state & (Button1Mask | Button2Mask | Button3Mask))
			    break;
		    CPoint where = toFrame (event.xcrossing.x, event.xcrossing.y);
		    CButtonState buttons (buttonStateFromX (event.xcrossing.state));
		    frame->platformOnMouseMoved (where, buttons);
		    break;
	    }
	    case LeaveNotify:
	    {
		    // A drag keeps its control; the release tells where the mouse went.
		    if (!(event.xcrossing.state & (Button1Mask | Button2Mask | Button3Mask)))
			    frame->platformOnMouseExited ();
		    break;
	    }
	    case MotionNotify:
		{
			// Only the latest position matters.
			while (XCheckTypedWindowEvent (display, window, MotionNotify, &event))
			{
			}
			CPoint where = toFrame (event.xmotion.x, event.xmotion.y);
			CButtonState buttons (buttonStateFromX (event.xmotion.state));
			frame->platformOnMouseMoved (where, buttons);
			break;
		}
		default: break;
	}
}

//------------------------------------------------------------------------
IPlatformFrame* createX11PlatformFrame (CFrame* frame, void* parent, const CRect& size, const X11FrameConfig* config)
{
	flushPendingUnregistrations ();
	auto platformFrame = new X11Frame (frame, config);
	if (!platformFrame->create (reinterpret_cast<Window> (parent), size))
	{
		delete platformFrame;
		return nullptr;
	}
	return platformFrame;
}

void idle ()
{
	flushPendingUnregistrations ();
	auto frames = framesWithoutRunLoop ();
	for (X11Frame* f : frames)
	{
		auto& current = framesWithoutRunLoop ();
		if (std::find (current.begin (), current.end (), f) != current.end ())
		{
			Steinberg::IPtr<Steinberg::FUnknown> keepOwner (f->getOwner ());
			f->handleEvents ();
		}
	}
	CVSTGUITimer::fireDueTimers ();
}

} // namespace VSTGUI
