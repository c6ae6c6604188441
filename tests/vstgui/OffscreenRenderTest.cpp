#include "TestImages.h"
#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/cdrawcontext.h"
#include "vstgui/lib/cframe.h"
#include "vstgui/lib/controls/canimknob.h"
#include "vstgui/lib/controls/ctextlabel.h"
#include "vstgui/lib/controls/cvumeter.h"

#include <gtest/gtest.h>
#include <cairo.h>
#include <cstdio>
#include <unistd.h>

using namespace VSTGUI;
using VSTGUITest::colorOf;

namespace {

// Draws with the context's primitives, for checking them pixel by pixel.
struct PrimitivesView : CView
{
	PrimitivesView () : CView (CRect (0, 0, 100, 100)) {}
	void draw (CDrawContext* c) override
	{
		c->setFillColor (kBlueCColor);
		c->drawRect (CRect (0, 0, 100, 100), kDrawFilled);
		c->setLineWidth (1);
		c->setFrameColor (kRedCColor);
		c->drawLine (CPoint (0, 10), CPoint (100, 10)); // row 10
		c->setFillColor (kGreenCColor);
		c->drawEllipse (CRect (20, 20, 60, 60), kDrawFilled);
		c->setFillColor (kWhiteCColor);
		c->setFrameColor (kBlackCColor);
		c->drawPolygon ({CPoint (70, 70), CPoint (90, 70), CPoint (90, 90), CPoint (70, 90)}, kDrawFilledAndStroked);
		setDirty (false);
	}
};

CColor at (const COffscreenImage& image, int x, int y)
{
	return colorOf (image.pixelAt (x, y));
}

} // namespace

TEST (OffscreenRender, ContainerBackgroundAndNestedOffsets)
{
	auto frame = owned (new CFrame (CRect (0, 0, 40, 30), nullptr));
	frame->setBackgroundColor (kRedCColor);
	auto inner = new CViewContainer (CRect (10, 10, 30, 20));
	inner->setBackgroundColor (kGreenCColor);
	auto leaf = new CViewContainer (CRect (5, 2, 10, 8)); // at 15..20, 12..18 in the frame
	leaf->setBackgroundColor (kBlueCColor);
	inner->addView (leaf);
	frame->addView (inner);
	COffscreenImage image;
	ASSERT_TRUE (renderFrame (frame, 1., image));
	ASSERT_EQ (image.width, 40);
	ASSERT_EQ (image.height, 30);
	EXPECT_EQ (at (image, 0, 0), kRedCColor);
	EXPECT_EQ (at (image, 10, 10), kGreenCColor);
	EXPECT_EQ (at (image, 29, 19), kGreenCColor);
	EXPECT_EQ (at (image, 30, 20), kRedCColor);
	EXPECT_EQ (at (image, 15, 12), kBlueCColor);
	EXPECT_EQ (at (image, 19, 17), kBlueCColor);
	EXPECT_EQ (at (image, 20, 17), kGreenCColor);

	// Twice the size: every view pixel covers two by two.
	ASSERT_TRUE (renderFrame (frame, 2., image));
	ASSERT_EQ (image.width, 80);
	EXPECT_EQ (at (image, 31, 25), kBlueCColor);
	EXPECT_EQ (at (image, 29, 25), kGreenCColor);
	frame->removeAll ();
}

TEST (OffscreenRender, Primitives)
{
	auto frame = owned (new CFrame (CRect (0, 0, 100, 100), nullptr));
	frame->addView (new PrimitivesView ());
	COffscreenImage image;
	ASSERT_TRUE (renderFrame (frame, 1., image));
	EXPECT_EQ (at (image, 50, 10), kRedCColor);
	EXPECT_EQ (at (image, 50, 9), kBlueCColor);
	EXPECT_EQ (at (image, 50, 11), kBlueCColor);
	EXPECT_EQ (at (image, 40, 40), kGreenCColor); // centre of the ellipse
	EXPECT_EQ (at (image, 22, 22), kBlueCColor);  // outside the circle, inside its box
	EXPECT_EQ (at (image, 80, 80), kWhiteCColor);
	EXPECT_TRUE (at (image, 69, 80) == kBlackCColor || at (image, 70, 80) == kBlackCColor); // the stroked edge
	EXPECT_EQ (at (image, 95, 95), kBlueCColor);
	frame->removeAll ();
}

TEST (OffscreenRender, AnimKnobShowsTheFrameOfItsValue)
{
	VSTGUITest::ResourceFolder folder;
	std::vector<CColor> bands;
	for (int i = 0; i < 5; ++i)
		bands.push_back (CColor (static_cast<uint8_t> (i * 50), 0, 0));
	folder.writeBands ("strip.png", 20, 20, bands);
	auto bitmap = owned (new CBitmap (CResourceDescription ("strip.png")));
	auto frame = owned (new CFrame (CRect (0, 0, 40, 40), nullptr));
	auto knob = new CAnimKnob (CRect (10, 10, 30, 30), nullptr, 0, bitmap);
	frame->addView (knob);
	COffscreenImage image;
	const float values[] = {0.f, 0.25f, 0.5f, 0.74f, 0.75f, 1.f};
	const int frames[] = {0, 1, 2, 2, 3, 4};
	for (int i = 0; i < 6; ++i)
	{
		knob->setValue (values[i]);
		ASSERT_TRUE (renderFrame (frame, 1., image));
		EXPECT_EQ (at (image, 10, 10).red, frames[i] * 50) << values[i];
		EXPECT_EQ (at (image, 29, 29).red, frames[i] * 50) << values[i];
	}
	frame->removeAll ();
}

TEST (OffscreenRender, VuMeterLightsFromTheBottom)
{
	VSTGUITest::ResourceFolder folder;
	folder.writeBands ("on.png", 10, 100, {kGreenCColor});
	folder.writeBands ("off.png", 10, 100, {kBlackCColor});
	auto on = owned (new CBitmap (CResourceDescription ("on.png")));
	auto off = owned (new CBitmap (CResourceDescription ("off.png")));
	auto frame = owned (new CFrame (CRect (0, 0, 10, 100), nullptr));
	auto meter = new CVuMeter (CRect (0, 0, 10, 100), on, off, 10);
	meter->setDecreaseStepValue (1.f);
	frame->addView (meter);
	meter->setValue (0.3f);
	COffscreenImage image;
	ASSERT_TRUE (renderFrame (frame, 1., image));
	EXPECT_EQ (at (image, 5, 69), kBlackCColor);
	EXPECT_EQ (at (image, 5, 70), kGreenCColor);
	EXPECT_EQ (at (image, 5, 99), kGreenCColor);
	frame->removeAll ();
}

TEST (OffscreenRender, TextLandsInsideItsRectangle)
{
	auto frame = owned (new CFrame (CRect (0, 0, 120, 40), nullptr));
	frame->setBackgroundColor (kBlackCColor);
	auto label = new CTextLabel (CRect (10, 10, 110, 30), "Cutoff");
	label->setBackColor (kBlackCColor);
	label->setFrameColor (kBlackCColor);
	label->setFontColor (kWhiteCColor);
	frame->addView (label);
	COffscreenImage image;
	ASSERT_TRUE (renderFrame (frame, 1., image));
	int lit = 0;
	int litOutside = 0;
	for (int y = 0; y < 40; ++y)
	{
		for (int x = 0; x < 120; ++x)
		{
			if (at (image, x, y).red > 128)
			{
				if (CRect (10, 10, 110, 30).pointInside (CPoint (x, y)))
					++lit;
				else
					++litOutside;
			}
		}
	}
	EXPECT_GT (lit, 30);
	EXPECT_EQ (litOutside, 0);
	frame->removeAll ();
}

TEST (OffscreenRender, WritesAPng)
{
	auto frame = owned (new CFrame (CRect (0, 0, 16, 8), nullptr));
	frame->setBackgroundColor (CColor (10, 20, 30));
	std::string path = "/tmp/vstgui-offscreen-" + std::to_string (::getpid ()) + ".png";
	ASSERT_TRUE (renderFrameToPNG (frame, path, 2.));
	cairo_surface_t* s = cairo_image_surface_create_from_png (path.c_str ());
	ASSERT_EQ (cairo_surface_status (s), CAIRO_STATUS_SUCCESS);
	EXPECT_EQ (cairo_image_surface_get_width (s), 32);
	EXPECT_EQ (cairo_image_surface_get_height (s), 16);
	uint32_t pixel = *reinterpret_cast<uint32_t*> (cairo_image_surface_get_data (s));
	EXPECT_EQ (colorOf (pixel), CColor (10, 20, 30));
	cairo_surface_destroy (s);
	std::remove (path.c_str ());
	EXPECT_FALSE (renderFrameToPNG (frame, "/nonexistent-dir/x.png", 1.));
	EXPECT_FALSE (renderFrameToPNG (nullptr, path, 1.));
}
