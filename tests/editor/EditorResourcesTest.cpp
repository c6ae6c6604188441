// The product editor built from the bundle's description and bitmaps, drawn
// offscreen; and what happens when the description or a bitmap is missing or
// malformed (an empty or partial editor, never a crash).
// Processor.h first: it must precede the other edit-controller headers.
#include "EditorRig.h"

#include "CStepSelectorVx.h"
#include "VST3EditorVx.h"

#include "vstgui/lib/cframe.h"
#include "vstgui/lib/controls/canimknob.h"
#include "vstgui/lib/controls/cbuttons.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

using namespace VSTGUI;
using Vire2VUR3::VST3EditorVx;

namespace {

std::string readFile (const std::string& path)
{
	std::ifstream in (path, std::ios::binary);
	std::stringstream s;
	s << in.rdbuf ();
	return s.str ();
}

void writeFile (const std::string& path, const std::string& bytes)
{
	std::ofstream out (path, std::ios::binary | std::ios::trunc);
	out << bytes;
}

// A resources folder of the test's own, filled per test.
std::string scratchResources (const std::string& name)
{
	const std::string base = TARNWICK_TEST_SCRATCH;
	mkdir (base.c_str (), 0755);
	const std::string dir = base + "/" + name;
	std::remove ((dir + "/vexa.uidesc").c_str ());
	std::remove ((dir + "/codeback.png").c_str ());
	std::remove ((dir + "/cutk.png").c_str ());
	mkdir (dir.c_str (), 0755);
	return dir;
}

// The product's editor over the given resources, its views built into a frame
// that is drawn offscreen.
struct ProductEditor
{
	explicit ProductEditor (const std::string& resources)
	{
		CBitmap::setResourceBasePath (resources);
		rig.reset (new EditorRig ());
		CBitmap::setResourceBasePath (resources); // EditorRig points it at the bundle
		view = rig->processor ()->createView ("editor");
		editor = view ? dynamic_cast<VST3EditorVx*> (static_cast<Steinberg::CPluginView*> (view)) : nullptr;
		if (!editor)
			return;
		frame = new CFrame (CRect (0, 0, 485, 270), nullptr);
		if (CView* content = editor->getUIDescription ()->createView ("Editor", editor))
		{
			container = content->asViewContainer ();
			frame->addView (content);
		}
	}
	~ProductEditor ()
	{
		if (frame)
			frame->forget ();
		if (view)
			view->release ();
		rig.reset ();
		CBitmap::setResourceBasePath (TARNWICK_TEST_RESOURCES);
	}
	bool render (COffscreenImage& image) { return renderFrame (frame, 1.0, image); }

	std::unique_ptr<EditorRig> rig;
	Steinberg::IPlugView* view = nullptr;
	VST3EditorVx* editor = nullptr;
	CFrame* frame = nullptr;
	CViewContainer* container = nullptr;
};

int alphaOf (uint32_t p)
{
	return static_cast<int> (p >> 24);
}

} // namespace

TEST(EditorResources, ProductEditorHasItsTwelveControlsBoundToTheirParameters)
{
	ProductEditor e (TARNWICK_TEST_RESOURCES);
	ASSERT_NE (e.editor, nullptr);
	ASSERT_NE (e.container, nullptr);
    ASSERT_EQ(e.container->getNbViews(), 12u);
    const int32_t tags[12] = {8, 9, 2, 5, 4, 3, 0, 1, 6, 7, 10, 11};
    for (uint32_t i = 0; i < 12; ++i)
    {
		auto* control = dynamic_cast<CControl*> (e.container->getView (i));
		ASSERT_NE (control, nullptr) << i;
		EXPECT_EQ (control->getTag (), tags[i]) << i;
		EXPECT_EQ (e.editor->findControlForParameter (static_cast<Steinberg::Vst::ParamID> (tags[i])), control);
        if (i == 11)
        {
            // The note selector: drawn, no bitmap; at its default, showing its text.
            auto* selector = dynamic_cast<Vire2VUR3::CStepSelectorVx*>(control);
            ASSERT_NE(selector, nullptr);
            EXPECT_EQ(selector->getValue(), 12.f);
            EXPECT_EQ(selector->shownText(), "1/4");
            continue;
        }
        ASSERT_NE (control->getBackground (), nullptr) << i;
		EXPECT_TRUE (control->getBackground ()->isLoaded ()) << i;
        if (i < 2 || i == 10)
        {
			EXPECT_NE (dynamic_cast<COnOffButton*> (control), nullptr);
		}
		else
		{
			EXPECT_NE (dynamic_cast<CAnimKnob*> (control), nullptr);
		}
	}
}

TEST (EditorResources, ProductEditorDrawsOpaqueEverywhere)
{
	ProductEditor e (TARNWICK_TEST_RESOURCES);
	ASSERT_NE (e.container, nullptr);
	COffscreenImage image;
	ASSERT_TRUE (e.render (image));
	ASSERT_EQ (image.width, 485);
	ASSERT_EQ (image.height, 270);
	for (int y = 0; y < image.height; y += 3)
		for (int x = 0; x < image.width; x += 3)
			ASSERT_EQ (alphaOf (image.pixelAt (x, y)), 255) << x << ", " << y;
	renderFrameToPNG (e.frame, std::string (TARNWICK_TEST_SCRATCH) + "/product-editor.png", 1.0);
}

TEST (EditorResources, MissingDescriptionGivesAnEmptyEditor)
{
	const std::string dir = scratchResources ("missing");
	ProductEditor e (dir);
	ASSERT_NE (e.editor, nullptr); // the host still gets a view
	EXPECT_EQ (e.container, nullptr);
	Steinberg::ViewRect size;
	EXPECT_EQ (e.view->getSize (&size), Steinberg::kResultOk);
	COffscreenImage image;
	EXPECT_TRUE (e.render (image));
}

TEST (EditorResources, MalformedDescriptionsGiveAnEmptyOrPartialEditor)
{
	const std::string original = readFile (std::string (TARNWICK_TEST_RESOURCES) + "/vexa.uidesc");
	ASSERT_FALSE (original.empty ());
	const std::string variants[] = {
	    "",
	    "this is not xml",
	    original.substr (0, original.size () / 3),
	    original.substr (0, original.find ("ratiok")),
	    "<vstgui-ui-description version=\"1\"><template name=\"Editor\" class=\"CViewContainer\" size=\"-5, x\">"
	    "<view class=\"CAnimKnob\" origin=\"1e308, nan\" size=\"-100, -100\" control-tag=\"999999999999\"/>"
	    "<view class=\"NoSuchClass\"/><view/></template></vstgui-ui-description>",
	    std::string ("<vstgui-ui-description version=\"1\">\0<template/>", 45),
	};
	int n = 0;
	for (const std::string& text : variants)
	{
		const std::string dir = scratchResources ("malformed" + std::to_string (n++));
		writeFile (dir + "/vexa.uidesc", text);
		ProductEditor e (dir);
		ASSERT_NE (e.editor, nullptr) << n;
		if (e.container)
		{
            EXPECT_LE(e.container->getNbViews(), 12u) << n;
        }
		COffscreenImage image;
		e.render (image);
	}
}

TEST (EditorResources, MissingOrBrokenBitmapsLeaveViewsWithoutImages)
{
	const std::string dir = scratchResources ("nobitmaps");
	writeFile (dir + "/vexa.uidesc", readFile (std::string (TARNWICK_TEST_RESOURCES) + "/vexa.uidesc"));
	writeFile (dir + "/codeback.png", "\x89PNG\r\n\x1a\n broken");
	writeFile (dir + "/cutk.png", readFile (std::string (TARNWICK_TEST_RESOURCES) + "/cutk.png").substr (0, 300));
	ProductEditor e (dir);
	ASSERT_NE (e.container, nullptr);
    EXPECT_EQ(e.container->getNbViews(), 12u);
    for (uint32_t i = 0; i < e.container->getNbViews (); ++i)
	{
        // A knob without its strip is drawn by the knob painter; the switches stay empty.
        CView* view = e.container->getView(i);
        if (dynamic_cast<Vire2VUR3::CStepSelectorVx*>(view))
            continue;
        CBitmap* b = view->getBackground();
        if (dynamic_cast<CAnimKnob*>(view))
            EXPECT_TRUE(b && b->isLoaded() && b->getPainter()) << i;
        else
            EXPECT_TRUE(b == nullptr || !b->isLoaded()) << i;
    }
	COffscreenImage image;
	EXPECT_TRUE (e.render (image));
}
