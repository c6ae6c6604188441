#include "TestImages.h"
#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/cframe.h"
#include "vstgui/lib/controls/canimknob.h"

#include <gtest/gtest.h>
#include <cmath>

using namespace VSTGUI;

namespace {

struct ModeEditor : VSTGUIEditorInterface
{
	explicit ModeEditor (int32_t mode) : mode (mode) {}
	int32_t getKnobMode () const override { return mode; }
	int32_t mode;
};

struct RecordingListener : IControlListener
{
	void valueChanged (CControl* c) override { values.push_back (c->getValue ()); }
	void controlBeginEdit (CControl*) override { events.push_back ('b'); }
	void controlEndEdit (CControl*) override { events.push_back ('e'); }
	std::vector<float> values;
	std::string events;
};

// A 100 × 100 knob at (10, 10) in a frame whose editor answers the given knob mode.
struct KnobFixture
{
	explicit KnobFixture (int32_t mode) : editor (mode)
	{
		frame = owned (new CFrame (CRect (0, 0, 200, 200), &editor));
		knob = new CAnimKnob (CRect (10, 10, 110, 110), &listener, 7, nullptr);
		knob->setValue (0.5f);
		frame->addView (knob);
	}
	~KnobFixture () { frame->removeAll (); }

	void press (CCoord x, CCoord y, int32_t buttons = kLButton)
	{
		CPoint p (x, y);
		frame->platformOnMouseDown (p, CButtonState (buttons));
	}
	void move (CCoord x, CCoord y, int32_t buttons = kLButton)
	{
		CPoint p (x, y);
		frame->platformOnMouseMoved (p, CButtonState (buttons));
	}
	void release (CCoord x, CCoord y)
	{
		CPoint p (x, y);
		frame->platformOnMouseUp (p, CButtonState (kLButton));
	}

	ModeEditor editor;
	RecordingListener listener;
	SharedPointer<CFrame> frame;
	CAnimKnob* knob;
};

} // namespace

TEST (CKnob, LinearModeMovesTwoHundredPixelsOverTheRange)
{
	KnobFixture f (kLinearMode);
	f.press (60, 60);
	EXPECT_FLOAT_EQ (f.knob->getValue (), 0.5f); // a press alone does not move a linear knob
	f.move (60, 40); // 20 px up
	EXPECT_FLOAT_EQ (f.knob->getValue (), 0.6f);
	f.move (70, 40); // and 10 px right: both directions add
	EXPECT_FLOAT_EQ (f.knob->getValue (), 0.65f);
	f.move (60, -500);
	EXPECT_FLOAT_EQ (f.knob->getValue (), 1.f);
	f.release (60, -500);
	EXPECT_EQ (f.listener.events, "be");
	EXPECT_FLOAT_EQ (f.listener.values.back (), 1.f);
}

TEST (CKnob, LinearModeWithShiftIsFiner)
{
	KnobFixture f (kLinearMode);
	f.press (60, 60, kLButton | kShift);
	f.move (60, 30, kLButton | kShift); // 30 px over 300 px
	EXPECT_NEAR (f.knob->getValue (), 0.6f, 1e-6);
	f.release (60, 30);
}

TEST (CKnob, CircularModeJumpsToTheMouseAngle)
{
	KnobFixture f (kCircularMode);
	f.knob->setValue (0.1f);
	// Straight up from the centre is the middle of the 270° sweep.
	f.press (60, 15);
	EXPECT_NEAR (f.knob->getValue (), 0.5f, 1e-5);
	// Right of the centre: 90° past the middle → 0.5 + 90/270.
	f.move (105, 60);
	EXPECT_NEAR (f.knob->getValue (), 0.5f + 1.f / 3.f, 1e-5);
	f.release (105, 60);
	EXPECT_EQ (f.listener.events, "be");
}

TEST (CKnob, CircularModeDoesNotJumpAcrossTheDeadZone)
{
	KnobFixture f (kCircularMode);
	f.press (100, 101); // near the end of the sweep (bottom right)
	float high = f.knob->getValue ();
	EXPECT_GT (high, 0.95f);
	f.move (20, 101); // across the gap at the bottom: stays at the end it came from
	EXPECT_FLOAT_EQ (f.knob->getValue (), 1.f);
	f.release (20, 101);
}

TEST (CKnob, RelativeCircularModeMovesByTheChangeOfAngle)
{
	KnobFixture f (kRelativCircularMode);
	f.knob->setValue (0.2f);
	f.press (60, 15); // the press does not move the knob
	EXPECT_FLOAT_EQ (f.knob->getValue (), 0.2f);
	f.move (105, 60); // a quarter turn clockwise
	EXPECT_NEAR (f.knob->getValue (), 0.2f + 1.f / 3.f, 1e-5);
	f.release (105, 60);
}

TEST (CKnob, AltSwapsLinearAndCircular)
{
	KnobFixture f (kLinearMode);
	f.press (105, 60, kLButton | kAlt); // circular with Alt
	EXPECT_NEAR (f.knob->getValue (), 0.5f + 1.f / 3.f, 1e-5);
	f.release (105, 60);
}

TEST (CKnob, WheelStepsByTheWheelIncrementAsOneEdit)
{
	KnobFixture f (kLinearMode);
	f.knob->setWheelInc (0.1f);
	EXPECT_TRUE (f.frame->platformOnWheel (CPoint (60, 60), kMouseWheelAxisY, 1.f, CButtonState ()));
	EXPECT_FLOAT_EQ (f.knob->getValue (), 0.6f);
	f.frame->platformOnWheel (CPoint (60, 60), kMouseWheelAxisY, -3.f, CButtonState ());
	EXPECT_NEAR (f.knob->getValue (), 0.3f, 1e-6);
	f.frame->platformOnWheel (CPoint (60, 60), kMouseWheelAxisY, 1.f, CButtonState (kShift));
	EXPECT_NEAR (f.knob->getValue (), 0.31f, 1e-6);
	EXPECT_EQ (f.listener.events, "bebebe");
	// Outside the knob the wheel does nothing.
	EXPECT_FALSE (f.frame->platformOnWheel (CPoint (150, 150), kMouseWheelAxisY, 1.f, CButtonState ()));
}

TEST (CKnob, ControlClickResetsToTheDefault)
{
	KnobFixture f (kLinearMode);
	f.knob->setDefaultValue (0.25f);
	f.press (60, 60, kLButton | kControl);
	EXPECT_FLOAT_EQ (f.knob->getValue (), 0.25f);
	EXPECT_EQ (f.listener.events, "be");
}

TEST (CKnob, NoFrameMeansCircular)
{
	CAnimKnob knob (CRect (0, 0, 10, 10), nullptr, 0, nullptr);
	EXPECT_EQ (knob.getKnobModeFromEditor (), kCircularMode);
}

TEST (CAnimKnob, FrameIndexFollowsTheNormalizedValue)
{
	VSTGUITest::ResourceFolder folder;
	folder.writeBands ("strip.png", 78, 78, std::vector<CColor> (135, kBlackCColor));
	auto bitmap = owned (new CBitmap (CResourceDescription ("strip.png")));
	ASSERT_EQ (bitmap->getHeight (), 78 * 135);
	CAnimKnob knob (CRect (0, 0, 78, 78), nullptr, 0, bitmap);
	EXPECT_EQ (knob.getNumSubPixmaps (), 135);
	knob.setValue (0.f);
	EXPECT_EQ (knob.getFrameIndex (), 0);
	knob.setValue (1.f);
	EXPECT_EQ (knob.getFrameIndex (), 134);
	knob.setValue (0.5f);
	EXPECT_EQ (knob.getFrameIndex (), 67);
	// floor(0.1 · 134 · 78) = 1045 → frame 13.
	knob.setValue (0.1f);
	EXPECT_EQ (knob.getFrameIndex (), 13);
	knob.setInverseBitmap (true);
	EXPECT_EQ (knob.getFrameIndex (), 120);
}
