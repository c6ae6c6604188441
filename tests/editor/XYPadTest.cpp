// CXYPadVx: the y flip of values from outside, the joystick diamond, and the
// joystick's own drawing.
#include "CXYPadVx.h"
#include "DrawingHelpers.h"
#include "RecordingListener.h"

#include <gtest/gtest.h>

using namespace VSTGUI;
using EditorTest::RecordingListener;

namespace {

struct PadRig
{
	explicit PadRig (bool joystick, CCoord handle = 10)
	{
		pad = new CXYPadVx (CRect (0, 0, 100, 100));
		pad->isJoystick = joystick;
		pad->setRoundRectRadius (handle);
		pad->setListener (&listener);
	}
	~PadRig () { pad->forget (); }

	CMouseEventResult down (CCoord x, CCoord y)
	{
		CPoint p (x, y);
		return pad->onMouseDown (p, CButtonState (kLButton));
	}
	CMouseEventResult move (CCoord x, CCoord y)
	{
		CPoint p (x, y);
		return pad->onMouseMoved (p, CButtonState (kLButton));
	}
	CMouseEventResult up (CCoord x, CCoord y)
	{
		CPoint p (x, y);
		return pad->onMouseUp (p, CButtonState (kLButton));
	}
	void xy (float& x, float& y) const { CXYPad::calculateXY (pad->getValue (), x, y); }

	RecordingListener listener;
	CXYPadVx* pad;
};

} // namespace

TEST (XYPad, StartsAsTrackPadNotTracking)
{
	auto* pad = new CXYPadVx (CRect (0, 0, 50, 50));
	EXPECT_FALSE (pad->isJoystick);
	EXPECT_FALSE (pad->isTracking);
	pad->forget ();
}

TEST (XYPad, TrackPadTurnsOverYOfValuesFromOutside)
{
	PadRig rig (false);
	rig.pad->setValue (CXYPad::calculateValue (0.25f, 0.2f));
	EXPECT_EQ (rig.pad->getValue (), CXYPad::calculateValue (0.25f, 0.8f));
}

TEST (XYPad, TrackPadKeepsValuesSetDuringADrag)
{
	PadRig rig (false);
	rig.pad->isTracking = true;
	const float v = CXYPad::calculateValue (0.25f, 0.2f);
	rig.pad->setValue (v);
	EXPECT_EQ (rig.pad->getValue (), v);
}

TEST (XYPad, JoystickDiamondThroughTheEdgeMidpoints)
{
	PadRig rig (true);
	EXPECT_TRUE (rig.pad->isInsideJoystick (0.5f, 0.5f));
	EXPECT_TRUE (rig.pad->isInsideJoystick (0.3f, 0.4f));
	EXPECT_TRUE (rig.pad->isInsideJoystick (0.9f, 0.5f));
	EXPECT_FALSE (rig.pad->isInsideJoystick (0.1f, 0.1f));
	EXPECT_FALSE (rig.pad->isInsideJoystick (0.9f, 0.9f));
	EXPECT_FALSE (rig.pad->isInsideJoystick (0.2f, 0.75f));
}

TEST (XYPad, JoystickIgnoresOutsideValuesFromOutside)
{
	PadRig rig (true);
	rig.pad->setValue (CXYPad::calculateValue (0.5f, 0.4f)); // stored as (0.5, 0.6)
	const float before = rig.pad->getValue ();
	EXPECT_EQ (before, CXYPad::calculateValue (0.5f, 0.6f));
	// (0.1, 0.9) turns into (0.1, 0.1): outside the diamond.
	rig.pad->setValue (CXYPad::calculateValue (0.1f, 0.9f));
	EXPECT_EQ (rig.pad->getValue (), before);
}

TEST (XYPad, JoystickDragStaysAtTheLastPointInside)
{
	PadRig rig (true, 10); // handle 10: positions map over 90 pixels
	EXPECT_EQ (rig.down (50, 50), kMouseEventHandled);
	EXPECT_TRUE (rig.pad->isTracking);
	float x, y;
	rig.xy (x, y);
	EXPECT_FLOAT_EQ (x, 0.5f);
	EXPECT_FLOAT_EQ (y, 0.5f);

	rig.move (50, 14); // (0.5, 0.1): inside, near the top corner
	const float inside = rig.pad->getValue ();
	EXPECT_EQ (inside, CXYPad::calculateValue (0.5f, 0.1f));

	rig.move (95, 95); // the lower right corner is outside
	EXPECT_EQ (rig.pad->getValue (), inside);
	rig.move (2, 2);
	EXPECT_EQ (rig.pad->getValue (), inside);

	EXPECT_EQ (rig.up (2, 2), kMouseEventHandled);
	EXPECT_FALSE (rig.pad->isTracking);
	// The edit enclosed every reported value.
	ASSERT_GE (rig.listener.events.size (), 3u);
	EXPECT_EQ (rig.listener.events.front (), "begin");
	EXPECT_EQ (rig.listener.events.back (), "end");
	for (float v : rig.listener.values)
	{
		float vx, vy;
		CXYPad::calculateXY (v, vx, vy);
		EXPECT_TRUE (rig.pad->isInsideJoystick (vx, vy)) << vx << ", " << vy;
	}
}

TEST (XYPad, JoystickAnswersOnlyTheLeftButtonAlone)
{
	PadRig rig (true);
	CPoint p (50, 50);
	EXPECT_EQ (rig.pad->onMouseDown (p, CButtonState (kLButton | kRButton)), kMouseEventNotHandled);
	EXPECT_EQ (rig.pad->onMouseDown (p, CButtonState (kRButton)), kMouseEventNotHandled);
	EXPECT_FALSE (rig.pad->isTracking);
	// Modifier keys are allowed.
	EXPECT_EQ (rig.pad->onMouseDown (p, CButtonState (kLButton | kShift)), kMouseEventHandled);
	EXPECT_TRUE (rig.pad->isTracking);
	rig.up (50, 50);
}

TEST (XYPad, JoystickDrawsDiamondAxesAndHandle)
{
	PadRig rig (true, 20);
	rig.pad->setBackColor (CColor (200, 0, 0, 255));
	rig.pad->setFrameColor (CColor (0, 200, 0, 255));
	rig.pad->setFontColor (CColor (0, 0, 200, 255));
	rig.pad->setValue (CXYPad::calculateValue (0.75f, 0.5f)); // handle right of centre
	EditorTest::Canvas canvas (100, 100);
	rig.pad->draw (canvas.context ());

	using EditorTest::Rgba8;
	using EditorTest::sameColour;
	// Handle centre: 10 + 0.75 * 80 = 70, 10 + 0.5 * 80 = 50.
	EXPECT_TRUE (sameColour (canvas.pixel (70, 44), Rgba8 {0, 0, 200, 255}));
	// Inside the diamond, away from lines and handle: back colour.
	EXPECT_TRUE (sameColour (canvas.pixel (30, 40), Rgba8 {200, 0, 0, 255}));
	// The vertical axis in the frame colour.
	EXPECT_TRUE (sameColour (canvas.pixel (50, 25), Rgba8 {0, 200, 0, 255}, 60));
	// Corners lie outside the diamond: nothing drawn.
	EXPECT_EQ (canvas.pixel (5, 5).a, 0);
	EXPECT_EQ (canvas.pixel (95, 95).a, 0);
	EXPECT_FALSE (rig.pad->isDirty ());
}
