// A bitmap's representations at higher scales: which one a context draws from, how a
// frame of a strip is cut from it, and how they are found beside the 1x file.
#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/cdrawcontext.h"

#include <gtest/gtest.h>

#include <cairo.h>
#include <cstdlib>
#include <string>
#include <unistd.h>

using namespace VSTGUI;

namespace {

// A strip of two frames of 4 x 4 units at scale: the top frame one colour, the bottom another.
cairo_surface_t* twoFrameStrip (int scale, uint32_t top, uint32_t bottom)
{
	cairo_surface_t* s = cairo_image_surface_create (CAIRO_FORMAT_ARGB32, 4 * scale, 8 * scale);
	cairo_surface_flush (s);
	unsigned char* data = cairo_image_surface_get_data (s);
	const int stride = cairo_image_surface_get_stride (s);
	for (int y = 0; y < 8 * scale; ++y)
		for (int x = 0; x < 4 * scale; ++x)
			reinterpret_cast<uint32_t*> (data + y * stride)[x] = y < 4 * scale ? top : bottom;
	cairo_surface_mark_dirty (s);
	return s;
}

constexpr uint32_t kRed = 0xffff0000u, kBlue = 0xff0000ffu, kGreen = 0xff00ff00u, kYellow = 0xffffff00u,
                   kWhite = 0xffffffffu, kBlack = 0xff000000u;

// Draws the strip's second frame into 4 x 4 units at scale; the pixel in the middle.
uint32_t secondFrameCentre (CBitmap* bitmap, double scale)
{
	const int size = static_cast<int> (4 * scale);
	cairo_surface_t* surface = cairo_image_surface_create (CAIRO_FORMAT_ARGB32, size, size);
	cairo_t* cr = cairo_create (surface);
	cairo_scale (cr, scale, scale);
	{
		auto context = owned (new CDrawContext (cr, CRect (0, 0, 4, 4), scale));
		bitmap->draw (context, CRect (0, 0, 4, 4), CPoint (0, 4));
	}
	cairo_destroy (cr);
	cairo_surface_flush (surface);
	const uint32_t p = reinterpret_cast<const uint32_t*> (cairo_image_surface_get_data (surface) +
	                                                      (size / 2) * cairo_image_surface_get_stride (surface))[size / 2];
	cairo_surface_destroy (surface);
	return p;
}

void addStrip (CBitmap* bitmap, int scale, uint32_t top, uint32_t bottom)
{
	cairo_surface_t* s = twoFrameStrip (scale, top, bottom);
	EXPECT_TRUE (bitmap->addRepresentation (scale, s)) << scale;
	cairo_surface_destroy (s);
}

} // namespace

TEST (BitmapRepresentation, TheSmallestAtOrAboveTheScaleElseTheLargest)
{
	auto bitmap = owned (new CBitmap (4, 8));
	cairo_t* cr = cairo_create (bitmap->getSurface ());
	cairo_set_source_rgba (cr, 1, 0, 0, 1);
	cairo_rectangle (cr, 0, 0, 4, 4);
	cairo_fill (cr);
	cairo_set_source_rgba (cr, 0, 0, 1, 1);
	cairo_rectangle (cr, 0, 4, 4, 4);
	cairo_fill (cr);
	cairo_destroy (cr);
	addStrip (bitmap, 4, kWhite, kBlack);
	addStrip (bitmap, 2, kGreen, kYellow);

	EXPECT_EQ (secondFrameCentre (bitmap, 1.), kBlue);
	EXPECT_EQ (secondFrameCentre (bitmap, 1.5), kYellow);
	EXPECT_EQ (secondFrameCentre (bitmap, 2.), kYellow);
	EXPECT_EQ (secondFrameCentre (bitmap, 2.5), kBlack);
	EXPECT_EQ (secondFrameCentre (bitmap, 4.), kBlack);
	EXPECT_EQ (secondFrameCentre (bitmap, 5.), kBlack);
	EXPECT_EQ (bitmap->getRepresentationScales (), (std::vector<double> {2., 4.}));
}

TEST (BitmapRepresentation, OnlyTheExactMultipleOfTheSizeIsTaken)
{
	auto bitmap = owned (new CBitmap (4, 8));
	cairo_surface_t* wrong = cairo_image_surface_create (CAIRO_FORMAT_ARGB32, 8, 15);
	EXPECT_FALSE (bitmap->addRepresentation (2., wrong));
	cairo_surface_destroy (wrong);
	cairo_surface_t* right = twoFrameStrip (2, kGreen, kYellow);
	EXPECT_FALSE (bitmap->addRepresentation (1., right));
	EXPECT_FALSE (bitmap->addRepresentation (3., right));
	EXPECT_FALSE (bitmap->addRepresentation (2., nullptr));
	EXPECT_TRUE (bitmap->addRepresentation (2., right));
	cairo_surface_destroy (right);
	EXPECT_EQ (bitmap->getRepresentationScales (), (std::vector<double> {2.}));
}

TEST (BitmapRepresentation, FoundBesideTheFileByItsScaleSuffix)
{
	char folder[] = "/tmp/tarnwick-bitmaps-XXXXXX";
	ASSERT_NE (mkdtemp (folder), nullptr);
	const std::string dir = folder;
	auto write = [&dir] (const std::string& name, cairo_surface_t* s) {
		EXPECT_EQ (cairo_surface_write_to_png (s, (dir + "/" + name).c_str ()), CAIRO_STATUS_SUCCESS);
		cairo_surface_destroy (s);
	};
	write ("knob.png", twoFrameStrip (1, kRed, kBlue));
	write ("knob_2x.png", twoFrameStrip (2, kGreen, kYellow));
	write ("knob_3x.png", twoFrameStrip (2, kWhite, kBlack)); // not three times the size: ignored
	write ("plain.png", twoFrameStrip (1, kRed, kBlue));

	CBitmap::setResourceBasePath (dir);
	{
		auto knob = owned (new CBitmap (CResourceDescription ("knob.png")));
		ASSERT_TRUE (knob->isLoaded ());
		EXPECT_EQ (knob->getWidth (), 4);
		EXPECT_EQ (knob->getRepresentationScales (), (std::vector<double> {2.}));
		EXPECT_EQ (secondFrameCentre (knob, 1.), kBlue);
		EXPECT_EQ (secondFrameCentre (knob, 3.), kYellow);
		auto byName = owned (new CBitmap (CResourceDescription ("knob")));
		EXPECT_EQ (byName->getRepresentationScales (), (std::vector<double> {2.}));
		auto plain = owned (new CBitmap (CResourceDescription ("plain.png")));
		EXPECT_TRUE (plain->getRepresentationScales ().empty ());
		EXPECT_EQ (secondFrameCentre (plain, 2.), kBlue);
	}
	CBitmap::setResourceBasePath ("");
	for (const char* name : {"knob.png", "knob_2x.png", "knob_3x.png", "plain.png"})
		unlink ((dir + "/" + name).c_str ());
	rmdir (folder);
}
