#include "TestImages.h"
#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/cframe.h"
#include "vstgui/lib/controls/cbuttons.h"

#include <gtest/gtest.h>

using namespace VSTGUI;
using VSTGUITest::colorOf;

namespace {

struct RecordingListener : IControlListener
{
	void valueChanged (CControl* c) override
	{
		values.push_back (c->getValue ());
		events.push_back ('v');
	}
	void controlBeginEdit (CControl*) override { events.push_back ('b'); }
	void controlEndEdit (CControl*) override { events.push_back ('e'); }
	std::vector<float> values;
	std::string events;
};

const CColor kUpper (200, 30, 30);
const CColor kLower (30, 200, 30);

} // namespace

TEST (COnOffButton, DrawsTheUpperHalfBelowMaxAndTheLowerHalfAtMax)
{
	VSTGUITest::ResourceFolder folder;
	// 96 × 98: rows 0–48 one state, rows 49–97 the other.
	folder.writeBands ("switch.png", 96, 49, {kUpper, kLower});
	auto bitmap = owned (new CBitmap (CResourceDescription ("switch.png")));
	ASSERT_TRUE (bitmap->isLoaded ());

	auto frame = owned (new CFrame (CRect (0, 0, 100, 60), nullptr));
	auto button = new COnOffButton (CRect (0, 0, 96, 48), nullptr, 8, bitmap);
	frame->addView (button);

	COffscreenImage image;
	button->setValue (0.f);
	ASSERT_TRUE (renderFrame (frame, 1., image));
	EXPECT_EQ (button->getBitmapOffsetY (), 0);
	EXPECT_EQ (colorOf (image.pixelAt (10, 10)), kUpper);
	EXPECT_EQ (colorOf (image.pixelAt (10, 47)), kUpper);

	button->setValue (0.99f);
	ASSERT_TRUE (renderFrame (frame, 1., image));
	EXPECT_EQ (colorOf (image.pixelAt (10, 47)), kUpper);

	button->setValue (1.f);
	EXPECT_EQ (button->getBitmapOffsetY (), 49);
	ASSERT_TRUE (renderFrame (frame, 1., image));
	EXPECT_EQ (colorOf (image.pixelAt (10, 0)), kLower);
	EXPECT_EQ (colorOf (image.pixelAt (10, 47)), kLower);
	frame->removeAll ();
}

TEST (COnOffButton, ClickTogglesAsOneEdit)
{
	auto frame = owned (new CFrame (CRect (0, 0, 100, 60), nullptr));
	RecordingListener listener;
	auto button = new COnOffButton (CRect (0, 0, 96, 48), &listener, 8, nullptr);
	frame->addView (button);
	CPoint p (20, 20);
	frame->platformOnMouseDown (p, CButtonState (kLButton));
	frame->platformOnMouseUp (p, CButtonState (kLButton));
	EXPECT_FLOAT_EQ (button->getValue (), 1.f);
	frame->platformOnMouseDown (p, CButtonState (kLButton));
	frame->platformOnMouseUp (p, CButtonState (kLButton));
	EXPECT_FLOAT_EQ (button->getValue (), 0.f);
	EXPECT_EQ (listener.events, "bvebve");
	// The right button does nothing.
	frame->platformOnMouseDown (p, CButtonState (kRButton));
	EXPECT_FLOAT_EQ (button->getValue (), 0.f);
	frame->removeAll ();
}

TEST (CKickButton, IsMaxWhilePressedInsideAndReportsTheRelease)
{
	auto frame = owned (new CFrame (CRect (0, 0, 100, 100), nullptr));
	RecordingListener listener;
	auto button = new CKickButton (CRect (10, 10, 50, 30), &listener, 3, nullptr);
	frame->addView (button);
	CPoint inside (20, 20);
	frame->platformOnMouseDown (inside, CButtonState (kLButton));
	EXPECT_FLOAT_EQ (button->getValue (), 1.f);
	CPoint outside (80, 80);
	frame->platformOnMouseMoved (outside, CButtonState (kLButton));
	EXPECT_FLOAT_EQ (button->getValue (), 0.f);
	frame->platformOnMouseMoved (inside, CButtonState (kLButton));
	frame->platformOnMouseUp (inside, CButtonState (kLButton));
	EXPECT_FLOAT_EQ (button->getValue (), 0.f);
	// Release inside: the pressed value, then the minimum.
	ASSERT_EQ (listener.values.size (), 2u);
	EXPECT_FLOAT_EQ (listener.values[0], 1.f);
	EXPECT_FLOAT_EQ (listener.values[1], 0.f);
	EXPECT_EQ (listener.events, "bvve");
	frame->removeAll ();
}

TEST (CKickButton, DrawsThePressedImageBelowTheReleasedOne)
{
	VSTGUITest::ResourceFolder folder;
	folder.writeBands ("kick.png", 40, 20, {kUpper, kLower});
	auto bitmap = owned (new CBitmap (CResourceDescription ("kick.png")));
	auto frame = owned (new CFrame (CRect (0, 0, 40, 20), nullptr));
	auto button = new CKickButton (CRect (0, 0, 40, 20), nullptr, 3, bitmap);
	frame->addView (button);
	COffscreenImage image;
	ASSERT_TRUE (renderFrame (frame, 1., image));
	EXPECT_EQ (colorOf (image.pixelAt (5, 5)), kUpper);
	button->setValue (1.f);
	ASSERT_TRUE (renderFrame (frame, 1., image));
	EXPECT_EQ (colorOf (image.pixelAt (5, 5)), kLower);
	frame->removeAll ();
}
