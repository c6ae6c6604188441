// The custom view factory and the pad sub-controllers, reached the way VSTGUI
// reaches them: a UI description whose views name them, built with the editor
// as controller and the Processor as its delegate.
// Processor.h first: it must precede the other edit-controller headers.
#include "EditorRig.h"

#include "CKickButtonVx.h"
#include "CPadControllerVx.h"
#include "CTextEditVx.h"
#include "CTextLabelVx.h"
#include "CVuMeterVx.h"
#include "CXYPadVx.h"
#include "CustomViewFactory.h"
#include "PadSubControllerName.h"
#include "VST3EditorVx.h"

#include "vstgui/lib/cviewcontainer.h"
#include "vstgui/lib/controls/cknob.h"
#include "vstgui/lib/controls/cxypad.h"
#include "vstgui/uidescription/uidescription.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using namespace VSTGUI;

namespace {

const char* const kDescription = R"XML(<?xml version="1.0" encoding="UTF-8"?>
<vstgui-ui-description version="1">
  <colors>
    <color name="padBack" rgba="#10203040"/>
  </colors>
  <bitmaps>
    <bitmap name="active" path="active.png"/>
    <bitmap name="cutk" path="cutk.png"/>
  </bitmaps>
  <control-tags>
    <control-tag name="Level" tag="0"/>
    <control-tag name="Freq" tag="1"/>
    <control-tag name="Gain" tag="2"/>
    <control-tag name="Peak" tag="3"/>
    <control-tag name="Nowhere" tag="40"/>
  </control-tags>
  <template name="Test" class="CViewContainer" origin="0, 0" size="400, 300">
    <view class="CKickButton" custom-view-name="VexaKickButton" origin="10, 10" size="20, 20" bitmap="active" control-tag="Gain" background-offset="0, 0"/>
    <view class="CKickButton" custom-view-name="VexaKickButtonU" origin="10, 40" size="20, 20" bitmap="active" control-tag="Gain" background-offset="1, 2"/>
    <view class="CKickButton" custom-view-name="VexaKickButtonD" origin="10, 70" size="20, 20" bitmap="nosuchimage" control-tag="Gain" background-offset="0, 0"/>
    <view class="CKickButton" custom-view-name="VexaKickButtonDU" origin="10, 100" size="20, 20" bitmap="active" control-tag="Gain" background-offset="0, 0"/>
    <view class="CKickButton" custom-view-name="VexaKickButtonD" origin="10, 130" size="20, 20" control-tag="Gain"/>
    <view class="CXYPad" custom-view-name="Joystick" origin="100, 10" size="80, 80" back-color="padBack" frame-color="#ff0000ff" font-color="no colour" frame-width="2" round-rect-radius="12" style-round-rect="true" style-no-frame="false" control-tag="Gain"/>
    <view class="CXYPad" custom-view-name="TrackPad" origin="200, 10" size="60, 60" back-color="padBack" frame-color="padBack" font-color="padBack" frame-width="1" round-rect-radius="8" style-round-rect="false" style-no-frame="true"/>
    <view class="CTextEdit" custom-view-name="UnitsEdit" origin="10, 160" size="60, 16" title="Lvl" control-tag="Level"/>
    <view class="CTextLabel" custom-view-name="UnitsLabel" origin="80, 160" size="60, 16" title="Frq" control-tag="Freq" bitmap="active"/>
    <view class="CTextLabel" custom-view-name="UnitsLabel" origin="150, 160" size="60, 16" title="None" control-tag="Nowhere"/>
    <view class="CVuMeter" custom-view-name="InvertedAnalogMeterView_H65_Z52" origin="10, 200" size="20, 65" bitmap="cutk" off-bitmap="cutk" num-led="80" control-tag="Peak"/>
    <view class="CVuMeter" custom-view-name="AnalogMeterView" origin="40, 200" size="20, 65" bitmap="cutk" off-bitmap="cutk" num-led="30" control-tag="Peak"/>
    <view class="CVuMeter" custom-view-name="MeterView" origin="70, 200" size="10, 40" bitmap="cutk" off-bitmap="cutk" num-led="2" control-tag="Peak"/>
    <view class="CVuMeter" custom-view-name="InvertedMeterView" origin="90, 200" size="10, 40" bitmap="cutk" off-bitmap="cutk" num-led="12" control-tag="Peak"/>
    <view class="CVuMeter" custom-view-name="MeterView" origin="110, 200" size="10, 40" bitmap="cutk" num-led="12" control-tag="Peak"/>
    <view class="CView" custom-view-name="EffectView" origin="5, 6" size="30, 40" control-tag="Freq" bitmap="b" handle-bitmap="h" off-bitmap="o" orientation="vertical" back-color="#01020304" frame-width="3" round-rect-radius="4" height-of-one-image="9" sub-pixmaps="11" style-no-frame="true" style-round-rect="no"/>
    <view class="CView" custom-view-name="UnknownToEveryone" origin="300, 200" size="10, 10"/>
    <view class="CKnob" custom-view-name="" origin="300, 220" size="10, 10" control-tag="Level"/>
    <view class="CViewContainer" sub-controller="Joystick_X5_Y6" origin="300, 10" size="50, 50">
      <view class="CXYPad" origin="0, 0" size="50, 50"/>
    </view>
    <view class="CViewContainer" sub-controller="Joystick_Y6_X5" origin="300, 70" size="50, 50"/>
    <view class="CViewContainer" sub-controller="VectorJoystick" origin="300, 130" size="50, 50">
      <view class="CXYPad" origin="0, 0" size="50, 50"/>
    </view>
    <view class="CViewContainer" sub-controller="TrackPad_X1_Y2" origin="350, 10" size="40, 40"/>
    <view class="CViewContainer" sub-controller="TrackPad_X1_Y99" origin="350, 60" size="40, 40"/>
  </template>
</vstgui-ui-description>
)XML";

enum ViewIndex
{
	kKick,
	kKickU,
	kKickD,
	kKickDU,
	kKickMissing,
	kJoystick,
	kTrackPad,
	kUnitsEdit,
	kUnitsLabel,
	kUnitsLabelNoControl,
	kInvertedAnalog,
	kAnalog,
	kLamp,
	kInvertedLed,
	kLedWithoutOff,
	kEffectView,
	kUnknownView,
	kPlainKnob,
	kJoystickX5Y6,
	kJoystickY6X5,
	kVectorJoystick,
	kTrackPadX1Y2,
	kTrackPadMissingParameter,
	kViewCount
};

std::vector<ProbeControl> factoryControls ()
{
	std::vector<ProbeControl> controls = eightControls ();
	controls[0].name = "Level";
	controls[0].units = " dB \t\n";
	controls[1].name = "Freq";
	controls[1].units = "  Hz  ";
	controls[2].name = "Gain";
	controls[3].name = "Peak";
	controls[3].controlType = kControlMeter;
	controls[4].name = "Peak"; // a second "Peak", without a meter variable
	return controls;
}

class CustomViewFactoryTest : public ::testing::Test
{
protected:
	void SetUp () override
	{
		effect = new EditorProbeEffect (factoryControls ());
		rig.reset (new EditorRig (effect));
		ControlDescriptor* meter = effect->controlAt (3);
		meter->meterAttackMs = 10.f;
		meter->meterReleaseMs = 300.f;
		meter->meterMode = 2;
		meter->meterLogScale = true;
		ControlDescriptor* other = effect->controlAt (4);
		other->meterAttackMs = 40.f;
		other->meterReleaseMs = 80.f;

		view = rig->processor ()->createView ("editor");
		editor = view ? dynamic_cast<Vire2VUR3::VST3EditorVx*> (static_cast<Steinberg::CPluginView*> (view)) : nullptr;
		ASSERT_NE (editor, nullptr);
		description = new UIDescription (kDescription, std::strlen (kDescription));
		ASSERT_TRUE (description->parse ());
		effect->records.clear ();
		CView* built = description->createView ("Test", editor);
		container = built ? built->asViewContainer () : nullptr;
		ASSERT_NE (container, nullptr);
		ASSERT_EQ (container->getNbViews (), static_cast<uint32_t> (kViewCount));
	}
	void TearDown () override
	{
		if (container)
			container->forget ();
		if (description)
			description->forget ();
		if (view)
			view->release ();
		rig.reset ();
	}

	template <typename T>
	T* at (ViewIndex i) const
	{
		return dynamic_cast<T*> (container->getView (static_cast<uint32_t> (i)));
	}

	EditorProbeEffect* effect = nullptr;
	std::unique_ptr<EditorRig> rig;
	Steinberg::IPlugView* view = nullptr;
	Vire2VUR3::VST3EditorVx* editor = nullptr;
	UIDescription* description = nullptr;
	CViewContainer* container = nullptr;
};

} // namespace

TEST_F (CustomViewFactoryTest, KickButtonsTakeTheirModeFromTheName)
{
	ASSERT_NE (at<CKickButtonVx> (kKick), nullptr);
	EXPECT_EQ (at<CKickButtonVx> (kKick)->kickMode, 1);
	EXPECT_EQ (at<CKickButtonVx> (kKickU)->kickMode, 1);
	EXPECT_EQ (at<CKickButtonVx> (kKickD)->kickMode, 2);
	EXPECT_EQ (at<CKickButtonVx> (kKickDU)->kickMode, 0);
	CKickButtonVx* kick = at<CKickButtonVx> (kKickU);
	EXPECT_EQ (kick->getTag (), 2);
	EXPECT_EQ (kick->getListener (), editor);
	EXPECT_EQ (kick->getViewSize (), CRect (10, 40, 30, 60));
	EXPECT_EQ (kick->getOffset (), CPoint (1, 2));
	ASSERT_NE (kick->getBackground (), nullptr);
	EXPECT_TRUE (kick->getBackground ()->isLoaded ());
	// A missing image leaves a button without one, not a crash.
	CBitmap* missing = at<CKickButtonVx> (kKickD)->getBackground ();
	EXPECT_TRUE (missing == nullptr || !missing->isLoaded ());
}

TEST_F (CustomViewFactoryTest, KickButtonLackingAttributesFallsBackToTheToolkitClass)
{
	CView* v = container->getView (kKickMissing);
	ASSERT_NE (v, nullptr);
	EXPECT_EQ (dynamic_cast<CKickButtonVx*> (v), nullptr);
	EXPECT_NE (dynamic_cast<CKickButton*> (v), nullptr);
}

TEST_F (CustomViewFactoryTest, PadsTakeColoursSizesAndStyle)
{
	CXYPadVx* joystick = at<CXYPadVx> (kJoystick);
	ASSERT_NE (joystick, nullptr);
	EXPECT_TRUE (joystick->isJoystick);
	EXPECT_EQ (joystick->getBackColor (), CColor (0x10, 0x20, 0x30, 0x40));
	EXPECT_EQ (joystick->getFrameColor (), CColor (255, 0, 0, 255));
	EXPECT_EQ (joystick->getFontColor (), CColor (255, 255, 255, 255)); // unknown: opaque white
	EXPECT_EQ (joystick->getFrameWidth (), 2);
	EXPECT_EQ (joystick->getRoundRectRadius (), 12);
	EXPECT_TRUE (joystick->getStyle () & kRoundRectStyle);
	EXPECT_FALSE (joystick->getStyle () & kNoFrame);
	// The class attributes (the control-tag among them) come from VSTGUI afterwards.
	EXPECT_EQ (joystick->getTag (), 2);

	CXYPadVx* pad = at<CXYPadVx> (kTrackPad);
	ASSERT_NE (pad, nullptr);
	EXPECT_FALSE (pad->isJoystick);
	EXPECT_FALSE (pad->getStyle () & kRoundRectStyle);
	EXPECT_TRUE (pad->getStyle () & kNoFrame);
	EXPECT_EQ (pad->getViewSize (), CRect (200, 10, 260, 70));
}

TEST_F (CustomViewFactoryTest, UnitsViewsTakeTheTrimmedUnitsOfTheirControl)
{
	CTextEditVx* edit = at<CTextEditVx> (kUnitsEdit);
	ASSERT_NE (edit, nullptr);
	EXPECT_EQ (edit->unitsSuffix, " dB");
	EXPECT_EQ (edit->getTag (), 0);
	EXPECT_STREQ (effect->controlAt (0)->unitsText, " dB"); // trimmed in the effect too

	CTextLabelVx* label = at<CTextLabelVx> (kUnitsLabel);
	ASSERT_NE (label, nullptr);
	EXPECT_EQ (label->unitsSuffix, "  Hz");
	EXPECT_STREQ (effect->controlAt (1)->unitsText, "  Hz");
	ASSERT_NE (label->getBackground (), nullptr);
	EXPECT_TRUE (label->getBackground ()->isLoaded ());

	// No control at the tag: VSTGUI's own label instead.
	CView* plain = container->getView (kUnitsLabelNoControl);
	ASSERT_NE (plain, nullptr);
	EXPECT_EQ (dynamic_cast<CTextLabelVx*> (plain), nullptr);
	EXPECT_NE (dynamic_cast<CTextLabel*> (plain), nullptr);
}

TEST_F (CustomViewFactoryTest, AnalogMetersReadFrameHeightAndRestFromTheirName)
{
	CVuMeterVx* inverted = at<CVuMeterVx> (kInvertedAnalog);
	ASSERT_NE (inverted, nullptr);
	EXPECT_TRUE (inverted->isAnalog ());
	EXPECT_TRUE (inverted->isInverted ());
	EXPECT_DOUBLE_EQ (inverted->getFrameHeight (), 65.0);
	EXPECT_DOUBLE_EQ (inverted->getRestFrame (), 52.0);
	EXPECT_DOUBLE_EQ (inverted->getFrameCount (), 80.0);
	// Ballistics from the control named "Peak" that has a meter variable.
	EXPECT_FLOAT_EQ (inverted->getDetector ().getRate (), 20.f);
	EXPECT_FLOAT_EQ (inverted->getDetector ().getAttackCoefficient (),
	                 static_cast<float> (std::exp (-1002.39343 / (20.0 * 10.0))));
	EXPECT_EQ (inverted->getDetector ().getMode (), 2);
	EXPECT_TRUE (inverted->getDetector ().isDbScale ());

	CVuMeterVx* plain = at<CVuMeterVx> (kAnalog);
	ASSERT_NE (plain, nullptr);
	EXPECT_TRUE (plain->isAnalog ());
	EXPECT_FALSE (plain->isInverted ());
	EXPECT_DOUBLE_EQ (plain->getFrameHeight (), 0.0);
	EXPECT_DOUBLE_EQ (plain->getRestFrame (), 0.0);
	EXPECT_DOUBLE_EQ (plain->getFrameCount (), 30.0);
	EXPECT_EQ (plain->analogSourceRow (0.9f), 0); // always the first frame
}

TEST_F (CustomViewFactoryTest, LedMetersAndTheLastMatchingControl)
{
	CVuMeterVx* lamp = at<CVuMeterVx> (kLamp);
	ASSERT_NE (lamp, nullptr);
	EXPECT_FALSE (lamp->isAnalog ());
	EXPECT_FALSE (lamp->isInverted ());
	EXPECT_EQ (lamp->getNbLed (), 2);
	// LED meters take every control of that name; the last one wins.
	EXPECT_FLOAT_EQ (lamp->getDetector ().getAttackCoefficient (),
	                 static_cast<float> (std::exp (-1002.39343 / (20.0 * 40.0))));

	CVuMeterVx* inverted = at<CVuMeterVx> (kInvertedLed);
	ASSERT_NE (inverted, nullptr);
	EXPECT_TRUE (inverted->isInverted ());
	EXPECT_EQ (inverted->getNbLed (), 12);
}

TEST_F (CustomViewFactoryTest, IncompleteMeterGoesToTheEffect)
{
	CView* v = container->getView (kLedWithoutOff);
	EXPECT_EQ (dynamic_cast<CVuMeterVx*> (v), nullptr);
	bool asked = false;
	for (const GuiRecord& r : effect->records)
		if (r.code == kGuiCreateCustomView && r.viewName == "MeterView")
			asked = true;
	EXPECT_TRUE (asked);
}

TEST_F (CustomViewFactoryTest, OtherNamesAreAskedOfTheEffect)
{
	const GuiRecord* record = nullptr;
	for (const GuiRecord& r : effect->records)
		if (r.code == kGuiCreateCustomView && r.viewName == "EffectView")
			record = &r;
	ASSERT_NE (record, nullptr);
	EXPECT_EQ (record->controlTag, 1);
	EXPECT_EQ (record->listener, static_cast<IControlListener*> (editor));
	EXPECT_EQ (record->rect[0], 5);
	EXPECT_EQ (record->rect[1], 6);
	EXPECT_EQ (record->rect[2], 35);
	EXPECT_EQ (record->rect[3], 46);
	EXPECT_EQ (record->offset[0], 0);
	EXPECT_EQ (record->bitmap, "b.png");
	EXPECT_EQ (record->handleBitmap, "h.png");
	EXPECT_EQ (record->offBitmap, ""); // only when there is no handle bitmap
	EXPECT_EQ (record->orientation, "vertical");
	ASSERT_TRUE (record->hasBack);
	EXPECT_EQ (record->back.red, 1);
	EXPECT_EQ (record->back.green, 2);
	EXPECT_EQ (record->back.blue, 3);
	EXPECT_EQ (record->back.alpha, 4);
	EXPECT_FALSE (record->hasFrame);
	EXPECT_FALSE (record->hasFont);
	EXPECT_EQ (record->frameWidth, 3);
	EXPECT_EQ (record->roundRectRadius, 4);
	EXPECT_EQ (record->heightOfOneImage, 9);
	EXPECT_EQ (record->subImages, 11);
	EXPECT_TRUE (record->noFrame);
	EXPECT_FALSE (record->roundRect);
	EXPECT_EQ (record->editorPart, nullptr);
	EXPECT_EQ (record->parentWindow, nullptr);

	// The effect built it: a plain view at the rectangle.
	CView* built = container->getView (kEffectView);
	ASSERT_NE (built, nullptr);
	EXPECT_EQ (built->getViewSize (), CRect (5, 6, 35, 46));

	// A name nobody knows: the effect declines and VSTGUI builds the class.
	CView* unknown = container->getView (kUnknownView);
	ASSERT_NE (unknown, nullptr);
}

TEST_F (CustomViewFactoryTest, EmptyNameIsTheToolkitsOwnClass)
{
	EXPECT_NE (at<CKnob> (kPlainKnob), nullptr);
	for (const GuiRecord& r : effect->records)
		EXPECT_NE (r.viewName, "");
}

TEST_F (CustomViewFactoryTest, JoystickSubControllerBindsTheNamedParameters)
{
	auto* pad = dynamic_cast<CPadControllerVx*> (container->getView (kJoystickX5Y6)->getViewController ());
	ASSERT_NE (pad, nullptr);
	EXPECT_EQ (pad->getXParameter ()->getInfo ().id, 5u);
	EXPECT_EQ (pad->getYParameter ()->getInfo ().id, 6u);
	EXPECT_NE (pad->getPad (), nullptr);
	EXPECT_EQ (pad->getBaseController (), static_cast<IController*> (editor));

	// Moving the pad reports x then y, each before it is set.
	CXYPad* xy = pad->getPad ();
	ASSERT_NE (xy, nullptr);
	xy->setValue (CXYPad::calculateValue (0.25f, 0.75f));
	rig->handler.edits.clear ();
	rig->handler.heldAtEdit.clear ();
	const double xBefore = rig->processor ()->getParamNormalized (5);
	const double yBefore = rig->processor ()->getParamNormalized (6);
	pad->valueChanged (xy);
	ASSERT_EQ (rig->handler.edits.size (), 2u);
	EXPECT_EQ (rig->handler.edits[0].first, 5u);
	EXPECT_NEAR (rig->handler.edits[0].second, 0.25, 1e-6);
	EXPECT_EQ (rig->handler.edits[1].first, 6u);
	EXPECT_NEAR (rig->handler.edits[1].second, 0.75, 1e-6);
	EXPECT_DOUBLE_EQ (rig->handler.heldAtEdit[0], xBefore);
	EXPECT_DOUBLE_EQ (rig->handler.heldAtEdit[1], yBefore);
	EXPECT_NEAR (rig->processor ()->getParamNormalized (5), 0.25, 1e-6);
	EXPECT_NEAR (rig->processor ()->getParamNormalized (6), 0.75, 1e-6);
}

TEST_F (CustomViewFactoryTest, SubControllerNamesOutOfOrderOrUnknownGiveNone)
{
	EXPECT_EQ (container->getView (kJoystickY6X5)->getViewController (), nullptr);
	// A parameter that does not exist: no pad controller over nothing.
	EXPECT_EQ (container->getView (kTrackPadMissingParameter)->getViewController (), nullptr);
}

TEST_F (CustomViewFactoryTest, VectorJoystickAndTrackPadSubControllers)
{
	IController* vector = container->getView (kVectorJoystick)->getViewController ();
	auto* base = dynamic_cast<PadController*> (vector);
	ASSERT_NE (base, nullptr);
	EXPECT_EQ (dynamic_cast<CPadControllerVx*> (vector), nullptr); // VSTGUI's own
	EXPECT_EQ (base->getXParameter ()->getInfo ().id, 32773u);
	EXPECT_EQ (base->getYParameter ()->getInfo ().id, 32774u);

	auto* track = dynamic_cast<CPadControllerVx*> (container->getView (kTrackPadX1Y2)->getViewController ());
	ASSERT_NE (track, nullptr);
	EXPECT_EQ (track->getXParameter ()->getInfo ().id, 1u);
	EXPECT_EQ (track->getYParameter ()->getInfo ().id, 2u);
}

TEST (CustomViewFactory, MissingAttributesGiveNull)
{
	auto* effect = new EditorProbeEffect (factoryControls ());
	EditorRig rig (effect);
	UIDescription description (kDescription, std::strlen (kDescription));
	ASSERT_TRUE (description.parse ());
	UIAttributes attributes;
	attributes.setAttribute ("origin", "1, 1");
	// Size missing.
	for (const char* name : {"VexaKickButton", "Joystick", "TrackPad", "UnitsEdit", "UnitsLabel"})
		EXPECT_EQ (rig.processor ()->createCustomView (name, attributes, &description, nullptr), nullptr) << name;
	attributes.setAttribute ("size", "10, 10");
	attributes.setAttribute ("control-tag", "Level");
	// A units view needs its title.
	EXPECT_EQ (rig.processor ()->createCustomView ("UnitsEdit", attributes, &description, nullptr), nullptr);
	attributes.setAttribute ("title", "t");
	CView* edit = rig.processor ()->createCustomView ("UnitsEdit", attributes, &description, nullptr);
	ASSERT_NE (edit, nullptr);
	EXPECT_NE (dynamic_cast<CTextEditVx*> (edit), nullptr);
	edit->forget ();
	// Nothing at all for an empty name, and the effect is not asked.
	effect->records.clear ();
	EXPECT_EQ (rig.processor ()->createCustomView ("", attributes, &description, nullptr), nullptr);
	EXPECT_EQ (rig.processor ()->createCustomView (nullptr, attributes, &description, nullptr), nullptr);
	EXPECT_TRUE (effect->records.empty ());
	// Without a description no tag can be looked up.
	EXPECT_EQ (rig.processor ()->createCustomView ("UnitsLabel", attributes, nullptr, nullptr), nullptr);
}

TEST (CustomViewFactory, TrimsOnlyTrailingBlanks)
{
	using Vire2VUR3::CustomViewFactory;
	EXPECT_EQ (CustomViewFactory::trimTrailingBlanks ("Hz \t\n"), "Hz");
	EXPECT_EQ (CustomViewFactory::trimTrailingBlanks ("  Hz"), "  Hz");
	EXPECT_EQ (CustomViewFactory::trimTrailingBlanks (" \t "), "");
	EXPECT_EQ (CustomViewFactory::trimTrailingBlanks (""), "");
}

TEST (CustomViewFactory, AnalogMarkers)
{
	using Vire2VUR3::CustomViewFactory;
	double h = -1, z = -1;
	CustomViewFactory::parseAnalogMarkers ("InvertedAnalogMeterView_H65_Z52", h, z);
	EXPECT_EQ (h, 65.0);
	EXPECT_EQ (z, 52.0);
	CustomViewFactory::parseAnalogMarkers ("AnalogMeterView", h, z);
	EXPECT_EQ (h, 0.0);
	EXPECT_EQ (z, 0.0);
	CustomViewFactory::parseAnalogMarkers ("AnalogMeterView_Hxx_Z7", h, z);
	EXPECT_EQ (h, 0.0);
	EXPECT_EQ (z, 7.0);
	CustomViewFactory::parseAnalogMarkers ("AnalogMeterView_H40", h, z);
	EXPECT_EQ (h, 40.0);
	EXPECT_EQ (z, 0.0);
}

TEST (PadSubControllerName, ReadsBothIdsInOrder)
{
	using Vire2VUR3::PadSubControllerName;
	int32_t x = -1, y = -1;
	EXPECT_TRUE (PadSubControllerName::parse ("Joystick_X5_Y6", x, y));
	EXPECT_EQ (x, 5);
	EXPECT_EQ (y, 6);
	EXPECT_TRUE (PadSubControllerName::parse ("TrackPad_X12_Y130", x, y));
	EXPECT_EQ (x, 12);
	EXPECT_EQ (y, 130);
	EXPECT_FALSE (PadSubControllerName::parse ("Joystick_Y6_X5", x, y));
	EXPECT_FALSE (PadSubControllerName::parse ("Joystick_X5", x, y));
	EXPECT_FALSE (PadSubControllerName::parse ("Joystick_", x, y));
}
