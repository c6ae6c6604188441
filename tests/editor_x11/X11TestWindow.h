// The test host's own X11 side: a top-level window the editor attaches to, the mouse
// driven through XTest, and screenshots of the window.
#pragma once

#include "hostkit/HostRunLoop.h"

#include <X11/Xlib.h>
#include <cstdint>
#include <functional>
#include <vector>

namespace X11Test {

struct Screenshot
{
	int width {0};
	int height {0};
	std::vector<uint32_t> pixels; // 0x00RRGGBB
	uint32_t at (int x, int y) const { return pixels[static_cast<size_t> (y * width + x)]; }
	// Pixels that differ inside the rectangle (x, y, w, h).
	int differences (const Screenshot& other, int x, int y, int w, int h) const;
};

class TestWindow
{
public:
	TestWindow (int width, int height);
	~TestWindow ();
	bool isOpen () const { return window != 0; }
	Display* display () const { return dpy; }
	Window id () const { return window; }
	// The child the plug-in made inside our window, or 0.
	Window pluginChild () const;

	// Runs the host's loop (when given) for about ms milliseconds, and keeps our own connection serviced.
	void pump (Tarnwick::HostKit::HostRunLoop* runLoop, int ms);
	// The same with any tick (a host that drives the editor by idle calls); without one, sleeps.
	using Tick = std::function<void ()>;
	void pumpWith (const Tick& tick, int ms);

	// Mouse in window coordinates, through XTest (as a user would).
	void moveTo (int x, int y);
	void press (int button = 1);
	void release (int button = 1);
	void click (int x, int y, Tarnwick::HostKit::HostRunLoop* runLoop);
	void drag (int fromX, int fromY, int toX, int toY, int steps, Tarnwick::HostKit::HostRunLoop* runLoop);
	void dragWith (int fromX, int fromY, int toX, int toY, int steps, const Tick& tick);

	Screenshot screenshot () const;

private:
	Display* dpy {nullptr};
	Window window {0};
};

bool haveDisplay ();
// XOpenDisplay, tried again while the server is too busy to accept.
Display* openDisplay ();

// Keeps one connection to the X server open until the process ends, so that the server does not
// reset (and refuse connections meanwhile) whenever a test's last window closes.
void keepXServerUp ();

} // namespace X11Test
