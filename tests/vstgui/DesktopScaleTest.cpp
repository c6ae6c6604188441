// Reading the scale Linux desktops announce: the XSETTINGS block, the Xft.dpi resource,
// and how they make one scale factor.
#include "vstgui/lib/platform/linux/x11desktopscale.h"

#include "XSettingsBlock.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace VSTGUI::DesktopScale;

TEST (DesktopScale, XSettingsBlockInEitherByteOrder)
{
	for (bool bigEndian : {false, true})
	{
		const auto block = XSettingsTest::Block (bigEndian)
		                       .text ("Net/ThemeName", "Adwaita")
		                       .integer ("Gdk/WindowScalingFactor", 2)
		                       .colour ("Gtk/Colour")
		                       .integer ("Xft/DPI", 196608)
		                       .integer ("Xft/Antialias", 1)
		                       .data ();
		XSettingsValues values;
		ASSERT_TRUE (parseXSettings (block.data (), block.size (), values)) << bigEndian;
		EXPECT_EQ (values.windowScalingFactor, 2);
		EXPECT_EQ (values.xftDpi1024, 196608);
	}
	const auto none = XSettingsTest::Block ().integer ("Xft/Hinting", 1).data ();
	XSettingsValues values;
	ASSERT_TRUE (parseXSettings (none.data (), none.size (), values));
	EXPECT_EQ (values.windowScalingFactor, 0);
	EXPECT_EQ (values.xftDpi1024, 0);
}

TEST (DesktopScale, MalformedXSettingsBlocksAreRefused)
{
	const auto block = XSettingsTest::Block ().text ("Net/ThemeName", "Adwaita").integer ("Xft/DPI", 147456).data ();
	XSettingsValues values;
	// Cut anywhere short of its end.
	for (size_t size = 0; size < block.size (); ++size)
		EXPECT_FALSE (parseXSettings (block.data (), size, values)) << size;
	EXPECT_FALSE (parseXSettings (nullptr, 0, values));

	auto badOrder = block;
	badOrder[0] = 7;
	EXPECT_FALSE (parseXSettings (badOrder.data (), badOrder.size (), values));
	auto badType = block;
	badType[12] = 9; // the first setting's type
	EXPECT_FALSE (parseXSettings (badType.data (), badType.size (), values));
	auto hugeText = block;
	hugeText[12 + 4 + 16 + 4 + 3] = 0xFF; // the theme name's length: far past the end
	EXPECT_FALSE (parseXSettings (hugeText.data (), hugeText.size (), values));
	auto manySettings = block;
	manySettings[11] = 0x7F; // count: more settings than there are bytes
	EXPECT_FALSE (parseXSettings (manySettings.data (), manySettings.size (), values));
}

TEST (DesktopScale, XftDpiFromTheResourceText)
{
	EXPECT_EQ (xftDpiFromResources ("Xft.antialias:\t1\nXft.dpi:\t144\nXft.hinting:\t1\n"), 144.);
	EXPECT_EQ (xftDpiFromResources ("Xft.dpi: 192"), 192.);
	EXPECT_EQ (xftDpiFromResources ("Xft.dpi :\t120.5\n"), 120.5);
	EXPECT_EQ (xftDpiFromResources ("Xft.dpis:\t144\n"), 0.);
	EXPECT_EQ (xftDpiFromResources ("Xft.dpi:\tlarge\n"), 0.);
	EXPECT_EQ (xftDpiFromResources ("Xft.dpi:\t-96\n"), 0.);
	EXPECT_EQ (xftDpiFromResources ("Xft.dpi"), 0.);
	EXPECT_EQ (xftDpiFromResources ("*background:\tgrey\n"), 0.);
	EXPECT_EQ (xftDpiFromResources (""), 0.);
	EXPECT_EQ (xftDpiFromResources (nullptr), 0.);
}

TEST (DesktopScale, DpiOver96RoundedToAQuarterFrom1To4)
{
	EXPECT_EQ (scaleFromDpi (96.), 1.);
	EXPECT_EQ (scaleFromDpi (100.), 1.);
	EXPECT_EQ (scaleFromDpi (110.), 1.25);
	EXPECT_EQ (scaleFromDpi (120.), 1.25);
	EXPECT_EQ (scaleFromDpi (144.), 1.5);
	EXPECT_EQ (scaleFromDpi (168.), 1.75);
	EXPECT_EQ (scaleFromDpi (192.), 2.);
	EXPECT_EQ (scaleFromDpi (288.), 3.);
	EXPECT_EQ (scaleFromDpi (48.), 1.);
	EXPECT_EQ (scaleFromDpi (1000.), 4.);
	EXPECT_EQ (scaleFromDpi (std::nan ("")), 1.);
	EXPECT_EQ (scaleFromDpi (-1.), 1.);
}

TEST (DesktopScale, TheLargestAnnouncementWins)
{
	EXPECT_EQ (scaleFromAnnouncements ({}, 0.), 1.);
	EXPECT_EQ (scaleFromAnnouncements ({2, 96 * 1024}, 0.), 2.);
	EXPECT_EQ (scaleFromAnnouncements ({1, 144 * 1024}, 0.), 1.5);
	EXPECT_EQ (scaleFromAnnouncements ({0, 0}, 192.), 2.);
	EXPECT_EQ (scaleFromAnnouncements ({2, 0}, 288.), 3.);
	EXPECT_EQ (scaleFromAnnouncements ({9, 0}, 0.), 4.);
	EXPECT_EQ (scaleFromAnnouncements ({-3, -5}, -1.), 1.);
}
