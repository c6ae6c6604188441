// What a frame needs from the window system it is shown in.
#pragma once

#include "../crect.h"

namespace VSTGUI {

class CFrame;
struct X11FrameConfig;

class IPlatformFrame
{
public:
	virtual ~IPlatformFrame () = default;
	// Asks for a repaint of the area (frame coordinates).
	virtual void invalidRect (const CRect& rect) = 0;
	virtual bool setSize (const CRect& newSize) = 0;
	// Paints the frame's waiting area now.
	virtual void paint () = 0;
};

// The Linux window: a child of the host's X11 window. Null when no X display can be opened.
IPlatformFrame* createX11PlatformFrame (CFrame* frame, void* parent, const CRect& size, const X11FrameConfig* config);

} // namespace VSTGUI
