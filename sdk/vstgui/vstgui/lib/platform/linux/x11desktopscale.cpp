#include "x11desktopscale.h"
#include "x11connection.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace VSTGUI {
namespace DesktopScale {

namespace {

constexpr double kMinScale = 1.;
constexpr double kMaxScale = 4.;
constexpr double kReferenceDpi = 96.;

size_t padded (size_t length)
{
	return (length + 3) & ~static_cast<size_t> (3);
}

// Reads the block's numbers in the byte order it declares.
class XSettingsReader
{
public:
	XSettingsReader (const unsigned char* data, size_t size) : data (data), size (size) {}

	bool ok () const { return good; }
	void setBigEndian (bool big) { bigEndian = big; }
	size_t remaining () const { return good ? size - pos : 0; }

	uint32_t card32 ()
	{
		if (!need (4))
			return 0;
		const unsigned char* p = data + pos;
		pos += 4;
		if (bigEndian)
			return (uint32_t (p[0]) << 24) | (uint32_t (p[1]) << 16) | (uint32_t (p[2]) << 8) | p[3];
		return (uint32_t (p[3]) << 24) | (uint32_t (p[2]) << 16) | (uint32_t (p[1]) << 8) | p[0];
	}
	uint16_t card16 ()
	{
		if (!need (2))
			return 0;
		const unsigned char* p = data + pos;
		pos += 2;
		return bigEndian ? static_cast<uint16_t> ((p[0] << 8) | p[1]) : static_cast<uint16_t> ((p[1] << 8) | p[0]);
	}
	uint8_t card8 ()
	{
		if (!need (1))
			return 0;
		return data[pos++];
	}
	std::string text (size_t length)
	{
		if (!need (padded (length)))
			return {};
		std::string result (reinterpret_cast<const char*> (data + pos), length);
		pos += padded (length);
		return result;
	}
	void skip (size_t length)
	{
		if (need (length))
			pos += length;
	}

private:
	bool need (size_t n)
	{
		if (!good || n > size - pos)
			good = false;
		return good;
	}

	const unsigned char* data;
	size_t size;
	size_t pos {0};
	bool bigEndian {false};
	bool good {true};
};

enum SettingType : uint8_t
{
	kInteger = 0,
	kString = 1,
	kColor = 2
};

} // namespace

bool parseXSettings (const unsigned char* data, size_t size, XSettingsValues& values)
{
	values = XSettingsValues ();
	if (!data)
		return false;
	XSettingsReader in (data, size);
	const uint8_t order = in.card8 ();
	if (order > 1)
		return false;
	in.setBigEndian (order == 1); // MSBFirst
	in.skip (3);
	in.card32 (); // serial
	const uint32_t count = in.card32 ();
	for (uint32_t i = 0; i < count && in.ok (); ++i)
	{
		const uint8_t type = in.card8 ();
		in.skip (1);
		const std::string name = in.text (in.card16 ());
		in.card32 (); // last change
		switch (type)
		{
			case kInteger:
			{
				const int32_t v = static_cast<int32_t> (in.card32 ());
				if (name == "Gdk/WindowScalingFactor")
					values.windowScalingFactor = v;
				else if (name == "Xft/DPI")
					values.xftDpi1024 = v;
				break;
			}
			case kString: in.text (in.card32 ()); break;
			case kColor: in.skip (8); break;
			default: return false;
		}
	}
	return in.ok ();
}

double xftDpiFromResources (const char* text)
{
	if (!text)
		return 0.;
	const char* const name = "Xft.dpi";
	const size_t nameLength = std::strlen (name);
	for (const char* line = text; *line;)
	{
		const char* end = std::strchr (line, '\n');
		const size_t length = end ? static_cast<size_t> (end - line) : std::strlen (line);
		if (length > nameLength && std::strncmp (line, name, nameLength) == 0)
		{
			size_t p = nameLength;
			while (p < length && (line[p] == ' ' || line[p] == '\t'))
				++p;
			if (p < length && line[p] == ':')
			{
				const std::string value (line + p + 1, length - p - 1);
				char* stop = nullptr;
				const double dpi = std::strtod (value.c_str (), &stop);
				if (stop != value.c_str () && std::isfinite (dpi) && dpi > 0.)
					return dpi;
			}
		}
		if (!end)
			break;
		line = end + 1;
	}
	return 0.;
}

double scaleFromDpi (double dpi)
{
	if (!std::isfinite (dpi) || dpi <= 0.)
		return kMinScale;
	const double quarters = std::round (dpi / kReferenceDpi * 4.) / 4.;
	return std::min (kMaxScale, std::max (kMinScale, quarters));
}

double scaleFromAnnouncements (const XSettingsValues& settings, double resourceDpi)
{
	double scale = kMinScale;
	if (settings.windowScalingFactor > 0)
		scale = std::max (scale, std::min (kMaxScale, static_cast<double> (settings.windowScalingFactor)));
	if (settings.xftDpi1024 > 0)
		scale = std::max (scale, scaleFromDpi (settings.xftDpi1024 / 1024.));
	if (resourceDpi > 0.)
		scale = std::max (scale, scaleFromDpi (resourceDpi));
	return scale;
}

} // namespace DesktopScale

namespace {

// The settings manager may go away between our questions: its errors are no one's concern.
bool gQueryFailed = false;
int ignoreXError (Display*, XErrorEvent*)
{
	gQueryFailed = true;
	return 0;
}

DesktopScale::XSettingsValues readXSettings (Display* display)
{
	DesktopScale::XSettingsValues values;
	char selectionName[32];
	std::snprintf (selectionName, sizeof (selectionName), "_XSETTINGS_S%d", DefaultScreen (display));
	const Atom selection = XInternAtom (display, selectionName, False);
	const Atom settings = XInternAtom (display, "_XSETTINGS_SETTINGS", False);

	XErrorHandler previous = XSetErrorHandler (ignoreXError);
	gQueryFailed = false;
	const Window owner = XGetSelectionOwner (display, selection);
	if (owner != 0)
	{
		Atom type = 0;
		int format = 0;
		unsigned long items = 0, after = 0;
		unsigned char* data = nullptr;
		// At most 64 KiB: more is not a settings block.
		if (XGetWindowProperty (display, owner, settings, 0, 16384, False, settings, &type, &format, &items, &after,
		                        &data) == Success &&
		    data)
		{
			if (type == settings && format == 8 && !gQueryFailed)
			{
				if (!DesktopScale::parseXSettings (data, items, values))
					values = DesktopScale::XSettingsValues ();
			}
			XFree (data);
		}
	}
	XSync (display, False);
	XSetErrorHandler (previous);
	return values;
}

} // namespace

double desktopScaleFactor ()
{
	Display* display = openX11Display ();
	if (!display)
		return 1.;
	const DesktopScale::XSettingsValues settings = readXSettings (display);
	// The resource text as the server held it when we connected, just now.
	const double resourceDpi = DesktopScale::xftDpiFromResources (XResourceManagerString (display));
	XCloseDisplay (display);
	return DesktopScale::scaleFromAnnouncements (settings, resourceDpi);
}

} // namespace VSTGUI
