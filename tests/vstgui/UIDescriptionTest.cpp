#include "TestImages.h"
#include "vstgui/lib/cframe.h"
#include "vstgui/lib/controls/canimknob.h"
#include "vstgui/lib/controls/cbuttons.h"
#include "vstgui/lib/controls/ctextlabel.h"
#include "vstgui/uidescription/delegationcontroller.h"
#include "vstgui/uidescription/uidescription.h"

#include <gtest/gtest.h>

#include <functional>
#include <cstring>

using namespace VSTGUI;

namespace {

const char* kDescription = R"(<?xml version="1.0" encoding="UTF-8"?>
<vstgui-ui-description version="1">
  <fonts>
    <font name="Title" font-name="DejaVu Sans" size="18" bold="true"/>
  </fonts>
  <colors>
    <color name="kLightGreyCColor" rgba="#c8c8c8ff"/>
    <color name="Half" rgba="#10203080"/>
  </colors>
  <template name="Editor" class="CViewContainer" origin="0, 0" size="300, 200" background-color="kLightGreyCColor"
            background-color-draw-style="filled" mouse-enabled="true" transparent="false" extra-attribute="kept">
    <view class="CAnimKnob" control-tag="Cutoff" origin="10, 20" size="40, 40" bitmap="knob" height-of-one-image="40"
          sub-pixmaps="3" angle-start="135" angle-range="270" default-value="0.5" min-value="0" max-value="1"
          wheel-inc-value="0.1" custom-view-name=""/>
    <view class="COnOffButton" control-tag="7" origin="60, 20" size="30, 10" bitmap="switch"/>
    <view class="CViewContainer" origin="100, 100" size="150, 80" background-color="~ BlackCColor" sub-controller="Inner">
      <view class="CTextLabel" origin="5, 5" size="100, 20" title="Hello" font="Title" font-color="Half"/>
      <view class="CAnimKnob" custom-view-name="Special" control-tag="Delay" origin="50, 30" size="20, 20"/>
    </view>
    <view class="NoSuchClass" origin="0, 0" size="5, 5"/>
  </template>
  <custom>
    <attributes name="VST3Editor" Version="1" KnobAction="2"/>
  </custom>
  <bitmaps>
    <bitmap name="knob" path="knob.png" vexatype="knob"/>
    <bitmap name="switch" path="switch.png" nineparttiled-offsets="1, 2, 3, 4"/>
    <bitmap name="gone" path="missing.png"/>
  </bitmaps>
  <control-tags>
    <control-tag name="Delay" tag="0"/>
    <control-tag name="Cutoff" tag="2"/>
    <control-tag name="TAB_CTRL_1" tag="65537"/>
  </control-tags>
  <gradients>
    <gradient name="kDarkGreyCColor">
      <color-stop rgba="#646464ff" start="0"/>
      <color-stop rgba="#646464ff" start="1"/>
    </gradient>
  </gradients>
  <template name="Off Screen View 1" class="CViewContainer" origin="0, 0" size="1024, 790" background-color="~ GreyCColor"/>
</vstgui-ui-description>
)";

// Records what the description asks of its controller.
struct RecordingController : IController
{
	void valueChanged (CControl*) override {}
	CView* createView (const UIAttributes& attributes, const IUIDescription*) override
	{
		auto name = attributes.getAttributeValue ("custom-view-name");
		if (name && !name->empty ())
		{
			customNames.push_back (*name);
			if (*name == "Special")
				return new CTextLabel (CRect (0, 0, 1, 1), "custom");
		}
		return nullptr;
	}
	CView* verifyView (CView* view, const UIAttributes&, const IUIDescription*) override
	{
		verified.push_back (view);
		return view;
	}
	IController* createSubController (UTF8StringPtr name, const IUIDescription*) override
	{
		subControllerNames.push_back (name);
		auto sub = new Sub (this);
		lastSub = sub;
		return sub;
	}
	struct Sub : DelegationController
	{
		explicit Sub (IController* c) : DelegationController (c) {}
		~Sub () override { ++destroyed (); }
		CView* verifyView (CView* view, const UIAttributes& a, const IUIDescription* d) override
		{
			seen.push_back (view);
			return DelegationController::verifyView (view, a, d);
		}
		static int& destroyed ()
		{
			static int count = 0;
			return count;
		}
		std::vector<CView*> seen;
	};
	std::vector<std::string> customNames;
	std::vector<std::string> subControllerNames;
	std::vector<CView*> verified;
	Sub* lastSub {nullptr};
};

SharedPointer<UIDescription> parsed (const std::string& text)
{
	auto d = owned (new UIDescription (text.data (), text.size ()));
	d->parse ();
	return d;
}

} // namespace

TEST (UIDescription, ReadsTheTables)
{
	auto d = parsed (kDescription);
	ASSERT_TRUE (d->isParsed ());
	EXPECT_EQ (d->getParseError (), "");

	CColor c;
	ASSERT_TRUE (d->getColor ("kLightGreyCColor", c));
	EXPECT_EQ (c, CColor (0xc8, 0xc8, 0xc8, 0xff));
	ASSERT_TRUE (d->getColor ("Half", c));
	EXPECT_EQ (c, CColor (0x10, 0x20, 0x30, 0x80));
	ASSERT_TRUE (d->getColor ("~ BlackCColor", c));
	EXPECT_EQ (c, kBlackCColor);
	ASSERT_TRUE (d->getColor ("~ None", c));
	EXPECT_EQ (c.alpha, 0);
	ASSERT_TRUE (d->getColor ("#01020304", c));
	EXPECT_EQ (c, CColor (1, 2, 3, 4));
	EXPECT_FALSE (d->getColor ("NoSuchColour", c));
	EXPECT_FALSE (d->getColor ("#12345", c));
	EXPECT_FALSE (d->getColor ("#gg000000", c));

	auto font = d->getFont ("Title");
	ASSERT_NE (font, nullptr);
	EXPECT_STREQ (font->getName ().data (), "DejaVu Sans");
	EXPECT_EQ (font->getSize (), 18);
	EXPECT_TRUE (font->getStyle () & kBoldFace);
	EXPECT_EQ (d->getFont ("~ NormalFont"), kNormalFont);
	EXPECT_EQ (d->getFont ("Nothing"), nullptr);

	EXPECT_EQ (d->getTagForName ("Delay"), 0);
	EXPECT_EQ (d->getTagForName ("Cutoff"), 2);
	EXPECT_EQ (d->getTagForName ("TAB_CTRL_1"), 65537);
	EXPECT_EQ (d->getTagForName ("12"), 12);
	EXPECT_EQ (d->getTagForName ("Unknown"), -1);

	auto g = d->getGradient ("kDarkGreyCColor");
	ASSERT_NE (g, nullptr);
	EXPECT_EQ (g->getColorStops ().size (), 2u);

	EXPECT_EQ (d->getBitmapPath ("switch"), "switch.png");
	EXPECT_EQ (d->getBitmapNames ().size (), 3u);
	EXPECT_EQ (d->getTemplateNames (), (std::vector<std::string> {"Editor", "Off Screen View 1"}));

	auto custom = d->getCustomAttributes ("VST3Editor");
	ASSERT_NE (custom, nullptr);
	ASSERT_NE (custom->getAttributeValue ("KnobAction"), nullptr);
	EXPECT_EQ (*custom->getAttributeValue ("KnobAction"), "2");

	auto templ = d->getViewAttributes ("Editor");
	ASSERT_NE (templ, nullptr);
	EXPECT_EQ (*templ->getAttributeValue ("extra-attribute"), "kept");
}

TEST (UIDescription, BuildsTheTemplateWithNestedViews)
{
	VSTGUITest::ResourceFolder folder;
	folder.writeBands ("knob.png", 40, 40, {kRedCColor, kGreenCColor, kBlueCColor});
	folder.writeBands ("switch.png", 30, 10, {kRedCColor, kGreenCColor});
	auto d = parsed (kDescription);
	RecordingController controller;
	int destroyedBefore = RecordingController::Sub::destroyed ();

	auto view = owned (d->createView ("Editor", &controller));
	ASSERT_NE (view, nullptr);
	auto root = view->asViewContainer ();
	ASSERT_NE (root, nullptr);
	EXPECT_EQ (root->getViewSize (), CRect (0, 0, 300, 200));
	EXPECT_EQ (root->getBackgroundColor (), CColor (0xc8, 0xc8, 0xc8, 0xff));
	EXPECT_EQ (root->getBackgroundColorDrawStyle (), kDrawBackgroundFilled);
	// The unknown class is left out.
	ASSERT_EQ (root->getNbViews (), 3u);

	auto knob = dynamic_cast<CAnimKnob*> (root->getView (0));
	ASSERT_NE (knob, nullptr);
	EXPECT_EQ (knob->getViewSize (), CRect (10, 20, 50, 60));
	EXPECT_EQ (knob->getTag (), 2);
	EXPECT_EQ (knob->getListener (), &controller);
	EXPECT_FLOAT_EQ (knob->getDefaultValue (), 0.5f);
	EXPECT_FLOAT_EQ (knob->getWheelInc (), 0.1f);
	EXPECT_EQ (knob->getHeightOfOneImage (), 40);
	EXPECT_EQ (knob->getNumSubPixmaps (), 3);
	EXPECT_NEAR (knob->getStartAngle (), 3.14159265 * 0.75, 1e-5);
	EXPECT_NEAR (knob->getRangeAngle (), 3.14159265 * 1.5, 1e-5);
	ASSERT_NE (knob->getBackground (), nullptr);
	EXPECT_EQ (knob->getBackground ()->getHeight (), 120);

	auto button = dynamic_cast<COnOffButton*> (root->getView (1));
	ASSERT_NE (button, nullptr);
	EXPECT_EQ (button->getTag (), 7);

	auto inner = root->getView (2)->asViewContainer ();
	ASSERT_NE (inner, nullptr);
	EXPECT_EQ (inner->getViewSize (), CRect (100, 100, 250, 180));
	ASSERT_EQ (inner->getNbViews (), 2u);
	auto label = dynamic_cast<CTextLabel*> (inner->getView (0));
	ASSERT_NE (label, nullptr);
	EXPECT_STREQ (label->getText ().data (), "Hello");
	EXPECT_EQ (label->getFontColor (), CColor (0x10, 0x20, 0x30, 0x80));
	EXPECT_EQ (label->getFont ()->getSize (), 18);
	// The custom view came from the controller, with the class attributes applied after.
	auto special = dynamic_cast<CTextLabel*> (inner->getView (1));
	ASSERT_NE (special, nullptr);
	EXPECT_STREQ (special->getText ().data (), "custom");
	EXPECT_EQ (special->getViewSize (), CRect (50, 30, 70, 50));
	EXPECT_EQ (special->getTag (), 0);
	EXPECT_EQ (controller.customNames, (std::vector<std::string> {"Special"}));

	// The sub-controller saw its views (and the container it was named on), and lives with it.
	EXPECT_EQ (controller.subControllerNames, (std::vector<std::string> {"Inner"}));
	ASSERT_NE (controller.lastSub, nullptr);
	EXPECT_EQ (controller.lastSub->seen.size (), 3u);
	EXPECT_EQ (inner->getViewController (), controller.lastSub);
	// Every created view reached the controller's verifyView once.
	EXPECT_EQ (controller.verified.size (), 6u);

	view = nullptr;
	EXPECT_EQ (RecordingController::Sub::destroyed (), destroyedBefore + 1);
}

TEST (UIDescription, MissingBitmapGivesAViewWithoutImage)
{
	auto d = parsed (kDescription);
	auto gone = d->getBitmap ("gone");
	ASSERT_NE (gone, nullptr);
	EXPECT_FALSE (gone->isLoaded ());
	EXPECT_EQ (gone->getWidth (), 0);
	EXPECT_EQ (d->getBitmap ("not-in-table"), nullptr);
	auto view = owned (d->createView ("Editor", nullptr));
	ASSERT_NE (view, nullptr);
	COffscreenImage image;
	auto frame = owned (new CFrame (CRect (0, 0, 300, 200), nullptr));
	frame->addView (view.get ());
	view->remember ();
	EXPECT_TRUE (renderFrame (frame, 1., image));
	frame->removeAll ();
}

TEST (UIDescription, MissingFileOrTemplateGivesNoView)
{
	UIDescription missing (CResourceDescription ("/nonexistent/dir/vexa.uidesc"));
	EXPECT_FALSE (missing.parse ());
	EXPECT_EQ (missing.createView ("Editor", nullptr), nullptr);

	auto d = parsed (kDescription);
	EXPECT_EQ (d->createView ("NoTemplate", nullptr), nullptr);
	EXPECT_EQ (d->createView (nullptr, nullptr), nullptr);
}

TEST (UIDescription, MalformedInputNeverCrashes)
{
	const std::string full (kDescription);
	// Every truncation of the file: parse fails cleanly, whatever was read may build.
	for (size_t cut = 0; cut < full.size (); cut += 37)
	{
		auto d = parsed (full.substr (0, cut));
		EXPECT_FALSE (d->getParseError ().empty ()) << cut;
		auto view = owned (d->createView ("Editor", nullptr));
		if (view)
		{
			EXPECT_EQ (view->getViewSize ().getWidth (), 300) << cut;
		}
	}
	const char* hostile[] = {
	    "",
	    "not xml at all",
	    "<other-root/>",
	    "<vstgui-ui-description><template name=\"Editor\" class=\"CViewContainer\" size=\"a, b\" origin=\"1\"/></vstgui-ui-description>",
	    "<vstgui-ui-description><template name=\"Editor\" class=\"CAnimKnob\" size=\"-5, -5\" sub-pixmaps=\"-3\" "
	    "height-of-one-image=\"0\" bitmap=\"\" control-tag=\"\"/></vstgui-ui-description>",
	    "<vstgui-ui-description><template name=\"Editor\" class=\"CViewContainer\"><view template=\"Editor\"/></template></vstgui-ui-description>",
	    "<vstgui-ui-description><colors><color name=\"x\"/></colors><control-tags><control-tag name=\"t\" tag=\"zz\"/></control-tags></vstgui-ui-description>",
	    "<vstgui-ui-description><template name=\"Editor\" class=\"CVuMeter\" num-led=\"0\" size=\"10, 10\"/></vstgui-ui-description>",
	};
	for (const char* text : hostile)
	{
		auto d = parsed (text);
		auto view = owned (d->createView ("Editor", nullptr));
		if (view)
		{
			auto frame = owned (new CFrame (CRect (0, 0, 50, 50), nullptr));
			view->remember ();
			frame->addView (view.get ());
			COffscreenImage image;
			renderFrame (frame, 1., image);
			frame->removeAll ();
		}
		CColor c;
		EXPECT_FALSE (d->getColor ("x", c));
		EXPECT_EQ (d->getTagForName ("t"), -1);
	}
	// A template that includes itself several times over would grow exponentially with the
	// depth: the inclusions stop after a bounded number.
	std::string fan = "<vstgui-ui-description><template name=\"Editor\" class=\"CViewContainer\">";
	for (int i = 0; i < 12; ++i)
		fan += "<view template=\"Editor\"/>";
	fan += "</template></vstgui-ui-description>";
	auto fanDescription = parsed (fan);
	auto fanned = owned (fanDescription->createView ("Editor", nullptr));
	ASSERT_NE (fanned, nullptr);
	std::function<int (CView*)> countViews = [&] (CView* v) {
		int n = 1;
		if (auto container = v->asViewContainer ())
			for (uint32_t i = 0; i < container->getNbViews (); ++i)
				n += countViews (container->getView (i));
		return n;
	};
	const int fannedViews = countViews (fanned.get ());
	EXPECT_GT (fannedViews, 12);
	EXPECT_LE (fannedViews, 257);
	// Deep nesting is refused, not followed.
	std::string deep = "<vstgui-ui-description><template name=\"Editor\" class=\"CViewContainer\">";
	for (int i = 0; i < 5000; ++i)
		deep += "<view class=\"CViewContainer\">";
	auto d = parsed (deep);
	EXPECT_NE (d->getParseError ().find ("deep"), std::string::npos);
	auto view = owned (d->createView ("Editor", nullptr));
	EXPECT_NE (view, nullptr);
}

TEST (UIAttributes, ParsesPointsRectsAndNumbers)
{
	CPoint p;
	EXPECT_TRUE (UIAttributes::stringToPoint ("261, 68", p));
	EXPECT_EQ (p, CPoint (261, 68));
	EXPECT_TRUE (UIAttributes::stringToPoint ("1.5,-2", p));
	EXPECT_EQ (p, CPoint (1.5, -2));
	EXPECT_FALSE (UIAttributes::stringToPoint ("12", p));
	EXPECT_FALSE (UIAttributes::stringToPoint ("x, 1", p));
	UIAttributes a;
	a.setAttribute ("r", "1, 2, 3, 4");
	a.setAttribute ("b", "true");
	a.setAttribute ("i", "42");
	CRect r;
	EXPECT_TRUE (a.getRectAttribute ("r", r));
	EXPECT_EQ (r, CRect (1, 2, 3, 4));
	bool b = false;
	EXPECT_TRUE (a.getBooleanAttribute ("b", b));
	EXPECT_TRUE (b);
	int32_t i = 0;
	EXPECT_TRUE (a.getIntegerAttribute ("i", i));
	EXPECT_EQ (i, 42);
	EXPECT_FALSE (a.getIntegerAttribute ("none", i));
	EXPECT_EQ (a.getAttributeValue ("none"), nullptr);
}
