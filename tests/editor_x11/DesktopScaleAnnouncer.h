// The test X server announcing a desktop scale the way Linux desktops do, for as long
// as the object lives: an Xft.dpi resource, or an XSETTINGS manager.
#pragma once

#include <X11/Xlib.h>
#include <string>
#include <vector>

namespace X11Test {

class XftDpiResource
{
public:
	// Puts "Xft.dpi: <dpi>" into the root window's resource database text.
	explicit XftDpiResource (int dpi);
	~XftDpiResource ();

private:
	Display* display {nullptr};
	bool hadResources {false};
	std::string previous;
};

class XSettingsManager
{
public:
	// Owns the screen's XSETTINGS selection and publishes the block on its window.
	explicit XSettingsManager (const std::vector<unsigned char>& block);
	~XSettingsManager ();
	bool isOwner () const;

private:
	Display* display {nullptr};
	Window window {0};
};

} // namespace X11Test
