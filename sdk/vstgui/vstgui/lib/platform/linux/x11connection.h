// Our own connections to the X server.
#pragma once

#include <X11/Xlib.h>

namespace VSTGUI {

// XOpenDisplay (DISPLAY), tried again for a few milliseconds: a busy server refuses new
// connections (EAGAIN) or drops them (ECONNRESET) for a moment. Null when there is no X
// server to reach.
Display* openX11Display ();

} // namespace VSTGUI
