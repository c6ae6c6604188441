// The scale a Linux desktop asks applications to draw at, as it announces it on the
// X server: the XSETTINGS Gdk/WindowScalingFactor and Xft/DPI, and the Xft.dpi resource.
#pragma once

#include <cstddef>

namespace VSTGUI {

// Read from the X server now: the largest of what the desktop announces, as a quarter
// step from 1 to 4. 1 when it announces nothing or there is no X server.
double desktopScaleFactor ();

namespace DesktopScale {

// What an XSETTINGS block holds for us; 0 where it holds nothing.
struct XSettingsValues
{
	int windowScalingFactor {0};
	int xftDpi1024 {0}; // DPI × 1024
};

// Reads the block an XSETTINGS manager puts on its window (_XSETTINGS_SETTINGS).
// False for a malformed block (values then unreliable).
bool parseXSettings (const unsigned char* data, size_t size, XSettingsValues& values);
// Xft.dpi from the text of the X resource database; 0 when absent or unreadable.
double xftDpiFromResources (const char* text);
// DPI / 96 rounded to a quarter, within 1 to 4.
double scaleFromDpi (double dpi);
// The scale those values ask for (resourceDpi 0: none); 1 when they ask for nothing.
double scaleFromAnnouncements (const XSettingsValues& settings, double resourceDpi);

} // namespace DesktopScale
} // namespace VSTGUI
