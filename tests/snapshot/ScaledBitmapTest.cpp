// Bitmaps drawn at scale 2 (the double-size snapshot, HiDPI windows): one frame of
// a strip shows that frame only, and an image's edge stays as opaque as the image.
#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/cdrawcontext.h"

#include <gtest/gtest.h>

#include <cairo.h>

using namespace VSTGUI;

namespace {

// A strip of two 4 x 4 frames: opaque red on top, opaque blue below.
SharedPointer<CBitmap> twoFrameStrip ()
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
	cairo_surface_flush (bitmap->getSurface ());
	return bitmap;
}

// Draws rect of the bitmap from offset, at the scale, onto a transparent surface of
// 8 x 8 units; returns the surface's pixels (ARGB32, premultiplied).
std::vector<uint32_t> drawAt (CBitmap* bitmap, double scale, const CRect& rect, const CPoint& offset)
{
	const int size = static_cast<int> (8 * scale);
	cairo_surface_t* surface = cairo_image_surface_create (CAIRO_FORMAT_ARGB32, size, size);
	cairo_t* cr = cairo_create (surface);
	cairo_scale (cr, scale, scale);
	{
		auto context = owned (new CDrawContext (cr, CRect (0, 0, 8, 8), scale));
		bitmap->draw (context, rect, offset);
	}
	cairo_destroy (cr);
	cairo_surface_flush (surface);
	std::vector<uint32_t> pixels;
	const unsigned char* data = cairo_image_surface_get_data (surface);
	const int stride = cairo_image_surface_get_stride (surface);
	for (int y = 0; y < size; ++y)
		for (int x = 0; x < size; ++x)
			pixels.push_back (reinterpret_cast<const uint32_t*> (data + y * stride)[x]);
	cairo_surface_destroy (surface);
	return pixels;
}

} // namespace

TEST (ScaledBitmap, OneFrameOfAStripShowsNothingOfItsNeighbour)
{
	auto strip = twoFrameStrip ();
	for (double scale : {1., 2.})
	{
		// The blue frame at 2, 2 .. 6, 6 (in units).
		const auto pixels = drawAt (strip, scale, CRect (2, 2, 6, 6), CPoint (0, 4));
		const int size = static_cast<int> (8 * scale);
		for (int y = 0; y < size; ++y)
		{
			for (int x = 0; x < size; ++x)
			{
				const bool inside = x >= 2 * scale && x < 6 * scale && y >= 2 * scale && y < 6 * scale;
				const uint32_t p = pixels[static_cast<size_t> (y * size + x)];
				EXPECT_EQ (p, inside ? 0xff0000ffu : 0u) << "scale " << scale << " at " << x << ", " << y;
			}
		}
	}
}

TEST (ScaledBitmap, RectLargerThanTheImageLeavesTheRestUntouched)
{
	auto strip = twoFrameStrip ();
	// The whole strip and beyond: 4 x 8 image into 6 x 8 units from 1, 0.
	const auto pixels = drawAt (strip, 2., CRect (1, 0, 7, 8), CPoint (0, 0));
	for (int y = 0; y < 16; ++y)
	{
		for (int x = 0; x < 16; ++x)
		{
			uint32_t expected = 0;
			if (x >= 2 && x < 10)
				expected = y < 8 ? 0xffff0000u : 0xff0000ffu;
			const uint32_t p = pixels[static_cast<size_t> (y * 16 + x)];
			if (x >= 2 && x < 10 && (y == 7 || y == 8))
			{
				// Where the two frames meet, a smoothed blend, but opaque.
				EXPECT_EQ (p >> 24, 0xffu) << x << ", " << y;
				continue;
			}
			EXPECT_EQ (p, expected) << x << ", " << y;
		}
	}
}
