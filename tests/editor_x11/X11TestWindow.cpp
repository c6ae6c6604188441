#include "X11TestWindow.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace X11Test {

Display* openDisplay ()
{
	// Without a connection of our own between windows, the server resets when a window closes
	// last, and the next window finds it refusing connections.
	keepXServerUp ();
	// A busy test server refuses (EAGAIN) or drops (ECONNRESET) new connections for a moment.
	for (int attempt = 0; attempt < 8; ++attempt)
	{
		errno = 0;
		if (Display* display = XOpenDisplay (nullptr))
			return display;
		if (errno != EAGAIN && errno != ECONNRESET)
			break;
		std::this_thread::sleep_for (std::chrono::milliseconds (1 << attempt));
	}
	return nullptr;
}

bool haveDisplay ()
{
	const char* d = std::getenv ("DISPLAY");
	return d && *d;
}

namespace {

// Open until the process ends.
struct XServerKeeper
{
	XServerKeeper ()
	{
		// The previous test program's last connection may just have set a reset going: wait it out.
		for (int attempt = 0; attempt < 100 && display == nullptr; ++attempt)
		{
			display = XOpenDisplay (nullptr);
			if (display == nullptr)
				std::this_thread::sleep_for (std::chrono::milliseconds (20));
		}
	}
	~XServerKeeper ()
	{
		if (display != nullptr)
			XCloseDisplay (display);
	}
	Display* display {nullptr};
};

} // namespace

void keepXServerUp ()
{
	if (!haveDisplay ())
		return;
	static XServerKeeper keeper;
}

int Screenshot::differences (const Screenshot& other, int x, int y, int w, int h) const
{
	int count = 0;
	for (int j = y; j < y + h && j < height && j < other.height; ++j)
	{
		for (int i = x; i < x + w && i < width && i < other.width; ++i)
		{
			if (at (i, j) != other.at (i, j))
				++count;
		}
	}
	return count;
}

TestWindow::TestWindow (int width, int height)
{
	dpy = openDisplay ();
	if (!dpy)
		return;
	int screen = DefaultScreen (dpy);
	window = XCreateSimpleWindow (dpy, RootWindow (dpy, screen), 0, 0, static_cast<unsigned> (width),
	                              static_cast<unsigned> (height), 0, BlackPixel (dpy, screen), BlackPixel (dpy, screen));
	XSelectInput (dpy, window, StructureNotifyMask);
	XMapWindow (dpy, window);
	// Wait until the window is on screen.
	for (;;)
	{
		XEvent e;
		XNextEvent (dpy, &e);
		if (e.type == MapNotify && e.xmap.window == window)
			break;
	}
	XSync (dpy, False);
}

TestWindow::~TestWindow ()
{
	if (dpy)
	{
		if (window)
			XDestroyWindow (dpy, window);
		XCloseDisplay (dpy);
	}
}

Window TestWindow::pluginChild () const
{
	Window root = 0, parent = 0;
	Window* children = nullptr;
	unsigned int count = 0;
	Window result = 0;
	if (XQueryTree (dpy, window, &root, &parent, &children, &count) && count > 0)
		result = children[count - 1];
	if (children)
		XFree (children);
	return result;
}

void TestWindow::pump (Tarnwick::HostKit::HostRunLoop* runLoop, int ms)
{
	Tick tick;
	if (runLoop)
		tick = [runLoop] () { runLoop->runOnce (5); };
	pumpWith (tick, ms);
}

void TestWindow::pumpWith (const Tick& tick, int ms)
{
	auto end = std::chrono::steady_clock::now () + std::chrono::milliseconds (ms);
	while (std::chrono::steady_clock::now () < end)
	{
		while (XPending (dpy) > 0)
		{
			XEvent e;
			XNextEvent (dpy, &e);
		}
		if (tick)
			tick ();
		else
			std::this_thread::sleep_for (std::chrono::milliseconds (5));
	}
}

void TestWindow::moveTo (int x, int y)
{
	int rx = 0, ry = 0;
	Window child = 0;
	XTranslateCoordinates (dpy, window, DefaultRootWindow (dpy), x, y, &rx, &ry, &child);
	XTestFakeMotionEvent (dpy, -1, rx, ry, CurrentTime);
	XFlush (dpy);
}

void TestWindow::press (int button)
{
	XTestFakeButtonEvent (dpy, static_cast<unsigned> (button), True, CurrentTime);
	XFlush (dpy);
}

void TestWindow::release (int button)
{
	XTestFakeButtonEvent (dpy, static_cast<unsigned> (button), False, CurrentTime);
	XFlush (dpy);
}

void TestWindow::click (int x, int y, Tarnwick::HostKit::HostRunLoop* runLoop)
{
	moveTo (x, y);
	pump (runLoop, 30);
	press ();
	pump (runLoop, 30);
	release ();
	pump (runLoop, 60);
}

void TestWindow::drag (int fromX, int fromY, int toX, int toY, int steps, Tarnwick::HostKit::HostRunLoop* runLoop)
{
	Tick tick;
	if (runLoop)
		tick = [runLoop] () { runLoop->runOnce (5); };
	dragWith (fromX, fromY, toX, toY, steps, tick);
}

void TestWindow::dragWith (int fromX, int fromY, int toX, int toY, int steps, const Tick& tick)
{
	moveTo (fromX, fromY);
	pumpWith (tick, 30);
	press ();
	pumpWith (tick, 30);
	for (int i = 1; i <= steps; ++i)
	{
		moveTo (fromX + (toX - fromX) * i / steps, fromY + (toY - fromY) * i / steps);
		pumpWith (tick, 20);
	}
	release ();
	pumpWith (tick, 60);
}

Screenshot TestWindow::screenshot () const
{
	Screenshot shot;
	XWindowAttributes attributes {};
	XGetWindowAttributes (dpy, window, &attributes);
	XImage* image = XGetImage (dpy, window, 0, 0, static_cast<unsigned> (attributes.width),
	                           static_cast<unsigned> (attributes.height), AllPlanes, ZPixmap);
	if (!image)
		return shot;
	shot.width = attributes.width;
	shot.height = attributes.height;
	shot.pixels.resize (static_cast<size_t> (shot.width * shot.height));
	for (int y = 0; y < shot.height; ++y)
	{
		for (int x = 0; x < shot.width; ++x)
			shot.pixels[static_cast<size_t> (y * shot.width + x)] =
			    static_cast<uint32_t> (XGetPixel (image, x, y) & 0xffffff);
	}
	XDestroyImage (image);
	return shot;
}

} // namespace X11Test
