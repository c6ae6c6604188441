#include "DesktopScaleAnnouncer.h"
#include "X11TestWindow.h"

#include <X11/Xatom.h>
#include <cstdio>

namespace X11Test {

XftDpiResource::XftDpiResource (int dpi)
{
	display = openDisplay ();
	if (!display)
		return;
	if (const char* text = XResourceManagerString (display))
	{
		hadResources = true;
		previous = text;
	}
	const std::string text = previous + "Xft.dpi:\t" + std::to_string (dpi) + "\n";
	XChangeProperty (display, DefaultRootWindow (display), XA_RESOURCE_MANAGER, XA_STRING, 8, PropModeReplace,
	                 reinterpret_cast<const unsigned char*> (text.data ()), static_cast<int> (text.size ()));
	XSync (display, False);
}

XftDpiResource::~XftDpiResource ()
{
	if (!display)
		return;
	if (hadResources)
		XChangeProperty (display, DefaultRootWindow (display), XA_RESOURCE_MANAGER, XA_STRING, 8, PropModeReplace,
		                 reinterpret_cast<const unsigned char*> (previous.data ()), static_cast<int> (previous.size ()));
	else
		XDeleteProperty (display, DefaultRootWindow (display), XA_RESOURCE_MANAGER);
	XCloseDisplay (display);
}

namespace {
Atom selectionAtom (Display* display)
{
	char name[32];
	std::snprintf (name, sizeof (name), "_XSETTINGS_S%d", DefaultScreen (display));
	return XInternAtom (display, name, False);
}
} // namespace

XSettingsManager::XSettingsManager (const std::vector<unsigned char>& block)
{
	display = openDisplay ();
	if (!display)
		return;
	window = XCreateSimpleWindow (display, DefaultRootWindow (display), 0, 0, 1, 1, 0, 0, 0);
	const Atom settings = XInternAtom (display, "_XSETTINGS_SETTINGS", False);
	XChangeProperty (display, window, settings, settings, 8, PropModeReplace, block.data (),
	                 static_cast<int> (block.size ()));
	XSetSelectionOwner (display, selectionAtom (display), window, CurrentTime);
	XSync (display, False);
}

XSettingsManager::~XSettingsManager ()
{
	if (!display)
		return;
	XDestroyWindow (display, window); // the selection goes with its owner
	XCloseDisplay (display);
}

bool XSettingsManager::isOwner () const
{
	return display && XGetSelectionOwner (display, selectionAtom (display)) == window;
}

} // namespace X11Test
