#include "vstgui/lib/cframe.h"
#include "vstgui/lib/controls/cxypad.h"

#include <gtest/gtest.h>

using namespace VSTGUI;

namespace {

struct RecordingListener : IControlListener
{
	void valueChanged (CControl* c) override { values.push_back (c->getValue ()); }
	void controlBeginEdit (CControl*) override { ++begins; }
	void controlEndEdit (CControl*) override { ++ends; }
	std::vector<float> values;
	int begins {0};
	int ends {0};
};

} // namespace

TEST (CXYPad, PackingRoundTripsOnTheThousandthGrid)
{
	for (int xi = 0; xi <= 1000; xi += 7)
	{
		for (int yi = 0; yi <= 1000; yi += 13)
		{
			float x = xi / 1000.f;
			float y = yi / 1000.f;
			float v = CXYPad::calculateValue (x, y);
			float dx = -1, dy = -1;
			CXYPad::calculateXY (v, dx, dy);
			ASSERT_FLOAT_EQ (dx, x) << xi << "," << yi;
			ASSERT_FLOAT_EQ (dy, y) << xi << "," << yi;
		}
	}
}

TEST (CXYPad, PackedValueIsXPlusYOverTenThousand)
{
	EXPECT_FLOAT_EQ (CXYPad::calculateValue (0.25f, 0.8f), 0.25f + 0.00008f);
	EXPECT_FLOAT_EQ (CXYPad::calculateValue (1.f, 1.f), 1.0001f);
	EXPECT_FLOAT_EQ (CXYPad::calculateValue (0.f, 0.f), 0.f);
}

TEST (CXYPad, PackingRoundsHalfUp)
{
	float x, y;
	// 0.0125 · 1000 = 12.5 rounds up to 13; 0.0004 rounds down to 0.
	CXYPad::calculateXY (CXYPad::calculateValue (0.0125f, 0.0004f), x, y);
	EXPECT_FLOAT_EQ (x, 0.013f);
	EXPECT_FLOAT_EQ (y, 0.f);
	CXYPad::calculateXY (CXYPad::calculateValue (0.3337f, 0.6665f), x, y);
	EXPECT_FLOAT_EQ (x, 0.334f);
	EXPECT_FLOAT_EQ (y, 0.667f);
}

TEST (CXYPad, DragMapsTheMouseInsideTheHandleMarginAndClamps)
{
	auto frame = owned (new CFrame (CRect (0, 0, 200, 200), nullptr));
	auto pad = new CXYPad (CRect (10, 10, 120, 120)); // 110 wide, handle 10: 100 px of travel
	pad->setRoundRectRadius (10);
	RecordingListener listener;
	pad->setListener (&listener);
	frame->addView (pad);

	CPoint p (10 + 5 + 25, 10 + 5 + 75);
	frame->platformOnMouseDown (p, CButtonState (kLButton));
	float x, y;
	CXYPad::calculateXY (pad->getValue (), x, y);
	EXPECT_FLOAT_EQ (x, 0.25f);
	EXPECT_FLOAT_EQ (y, 0.75f);
	EXPECT_EQ (listener.begins, 1);

	CPoint outside (500, -40);
	frame->platformOnMouseMoved (outside, CButtonState (kLButton));
	CXYPad::calculateXY (pad->getValue (), x, y);
	EXPECT_FLOAT_EQ (x, 1.f);
	EXPECT_FLOAT_EQ (y, 0.f);

	frame->platformOnMouseUp (outside, CButtonState (kLButton));
	EXPECT_EQ (listener.ends, 1);
	ASSERT_GE (listener.values.size (), 2u);
	frame->removeAll ();
}
