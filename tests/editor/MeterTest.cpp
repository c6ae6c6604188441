// CVuMeterVx (lamp, LED and analog meters) and the EnvelopeDetector ballistics.
#include "CVuMeterVx.h"
#include "DrawingHelpers.h"
#include "EnvelopeDetector.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace VSTGUI;
using EditorTest::Rgba8;
using EditorTest::sameColour;

namespace {

const Rgba8 kLit {220, 30, 30, 255};
const Rgba8 kDark {20, 20, 20, 255};

struct LedRig
{
	LedRig (int32_t leds, bool inverted, int width = 10, int height = 40)
	: canvas (width, height)
	{
		SharedPointer<CBitmap> on = owned (EditorTest::loadBitmap (EditorTest::writeBandedPng ("on", width, height, {kLit})));
		SharedPointer<CBitmap> off =
		    owned (EditorTest::loadBitmap (EditorTest::writeBandedPng ("off", width, height, {kDark})));
		meter = new CVuMeterVx (CRect (0, 0, width, height), on, off, leds, inverted, false, CVuMeter::kVertical);
		// No smoothing: the detector follows its input at once.
		meter->getDetector ().init (20.f, 0.f, 0.f, true, EnvelopeDetector::kPeak, false);
		meter->setOldValue (0.f);
	}
	~LedRig () { meter->forget (); }

	void show (float value)
	{
		meter->setValue (value);
		canvas.clear ();
		meter->draw (canvas.context ());
	}

	EditorTest::Canvas canvas;
	CVuMeterVx* meter;
};

} // namespace

TEST (EnvelopeDetector, StartsAsPlainPeakFollower)
{
	EnvelopeDetector d;
	EXPECT_EQ (d.getMode (), 0);
	EXPECT_FLOAT_EQ (d.getRate (), 44100.f);
	EXPECT_FLOAT_EQ (d.getEnvelope (), 0.f);
	EXPECT_FALSE (d.isDbScale ());
}

TEST (EnvelopeDetector, CoefficientsFromTheTimeConstants)
{
	EnvelopeDetector d;
	d.init (20.f, 100.f, 500.f, true, EnvelopeDetector::kPeak, false);
	EXPECT_FLOAT_EQ (d.getAttackCoefficient (), 0.6058052778244019f);  // exp(-1002.39343 / 2000)
	EXPECT_FLOAT_EQ (d.getReleaseCoefficient (), 0.904620885848999f);  // exp(-1002.39343 / 10000)
	d.init (20.f, 100.f, 100.f, false, EnvelopeDetector::kPeak, false);
	EXPECT_NEAR (d.getAttackCoefficient (), 0.1f, 1e-6f);               // exp(-4605.17019 / 2000)
}

TEST (EnvelopeDetector, ZeroTimeFollowsAtOnce)
{
	EnvelopeDetector d;
	d.init (20.f, 0.f, 0.f, true, EnvelopeDetector::kPeak, false);
	EXPECT_EQ (d.getAttackCoefficient (), 0.f);
	EXPECT_EQ (d.getReleaseCoefficient (), 0.f);
	EXPECT_FLOAT_EQ (d.process (0.7f), 0.7f);
	EXPECT_FLOAT_EQ (d.process (-0.2f), 0.2f);
}

TEST (EnvelopeDetector, AttackAndReleaseSteps)
{
	EnvelopeDetector d;
	d.init (20.f, 100.f, 500.f, true, EnvelopeDetector::kPeak, false);
	const float a = d.getAttackCoefficient ();
	const float r = d.getReleaseCoefficient ();
	const float up = d.process (1.f);
	EXPECT_FLOAT_EQ (up, a * (0.f - 1.f) + 1.f);
	const float down = d.process (0.f);
	EXPECT_FLOAT_EQ (down, r * (up - 0.f) + 0.f);
	d.reset ();
	EXPECT_EQ (d.getEnvelope (), 0.f);
}

TEST (EnvelopeDetector, SquaresForMeanSquareModes)
{
	EnvelopeDetector d;
	d.init (20.f, 0.f, 0.f, true, EnvelopeDetector::kMeanSquare, false);
	EXPECT_FLOAT_EQ (d.process (0.5f), 0.25f);
	d.init (20.f, 0.f, 0.f, true, EnvelopeDetector::kRootMeanSquare, true);
	// 0.5 squared is 0.25; its root 0.5 is -6.02 dB.
	EXPECT_NEAR (d.process (0.5f), (20.0 * std::log10 (0.5) + 60.0) / 60.0, 1e-6);
}

TEST (EnvelopeDetector, DbScaleMapsMinusSixtyToZero)
{
	EnvelopeDetector d;
	d.init (20.f, 0.f, 0.f, true, EnvelopeDetector::kPeak, true);
	EXPECT_FLOAT_EQ (d.process (1.f), 1.f);
	EXPECT_NEAR (d.process (0.001f), 0.f, 1e-6f);
	EXPECT_EQ (d.process (0.0001f), 0.f); // below -60 dB stays at the bottom
	EXPECT_EQ (d.process (0.f), 0.f);
	EXPECT_NEAR (d.process (0.1f), 40.f / 60.f, 1e-6f);
}

TEST (EnvelopeDetector, ClampsAndFlushesTinyValues)
{
	EnvelopeDetector d;
	d.init (20.f, 0.f, 0.f, true, EnvelopeDetector::kPeak, false);
	EXPECT_EQ (d.process (3.f), 1.f);
	EXPECT_EQ (d.process (1e-39f), 0.f);
	EXPECT_EQ (d.getEnvelope (), 0.f);
}

TEST (Meter, TwoLedLampIsDarkBelowHalfAndLitFromHalf)
{
	LedRig rig (2, false);
	rig.show (0.49f);
	EXPECT_TRUE (sameColour (rig.canvas.pixel (5, 2), kDark));
	EXPECT_TRUE (sameColour (rig.canvas.pixel (5, 37), kDark));
	rig.show (0.5f);
	EXPECT_TRUE (sameColour (rig.canvas.pixel (5, 2), kLit));
	EXPECT_TRUE (sameColour (rig.canvas.pixel (5, 37), kLit));
	// The lamp has no decay: straight back to dark.
	rig.show (0.f);
	EXPECT_TRUE (sameColour (rig.canvas.pixel (5, 20), kDark));
}

TEST (Meter, LedMeterLightsWholeLedsFromTheBottom)
{
	LedRig rig (10, false);
	rig.show (0.3f); // three LEDs of four pixels
	EXPECT_TRUE (sameColour (rig.canvas.pixel (5, 39), kLit));
	EXPECT_TRUE (sameColour (rig.canvas.pixel (5, 28), kLit));
	EXPECT_TRUE (sameColour (rig.canvas.pixel (5, 27), kDark));
	EXPECT_TRUE (sameColour (rig.canvas.pixel (5, 0), kDark));
}

TEST (Meter, InvertedLedMeterLightsFromTheTop)
{
	LedRig rig (10, true);
	rig.show (0.3f);
	EXPECT_TRUE (sameColour (rig.canvas.pixel (5, 0), kLit));
	EXPECT_TRUE (sameColour (rig.canvas.pixel (5, 11), kLit));
	EXPECT_TRUE (sameColour (rig.canvas.pixel (5, 12), kDark));
	EXPECT_TRUE (sameColour (rig.canvas.pixel (5, 39), kDark));
}

TEST (Meter, LedMeterFallsBackByTheDecreaseStep)
{
	LedRig rig (10, false);
	rig.show (1.f);
	EXPECT_TRUE (sameColour (rig.canvas.pixel (5, 0), kLit));
	rig.show (0.f); // 1 - 0.1: nine LEDs
	EXPECT_TRUE (sameColour (rig.canvas.pixel (5, 3), kDark));
	EXPECT_TRUE (sameColour (rig.canvas.pixel (5, 4), kLit));
	rig.show (0.f); // 0.8: eight
	EXPECT_TRUE (sameColour (rig.canvas.pixel (5, 7), kDark));
	EXPECT_TRUE (sameColour (rig.canvas.pixel (5, 8), kLit));
}

TEST (Meter, LitExtentRoundsToWholeLeds)
{
	LedRig rig (10, false);
	EXPECT_EQ (rig.meter->litExtent (0.f, 40.), 0);
	EXPECT_EQ (rig.meter->litExtent (0.04f, 40.), 0);
	EXPECT_EQ (rig.meter->litExtent (0.05f, 40.), 4);
	EXPECT_EQ (rig.meter->litExtent (0.34f, 40.), 12);
	EXPECT_EQ (rig.meter->litExtent (1.f, 40.), 40);
}

TEST (Meter, NothingDrawnWithoutAnOnBitmap)
{
	auto* meter = new CVuMeterVx (CRect (0, 0, 10, 40), nullptr, nullptr, 10, false, false);
	EditorTest::Canvas canvas (10, 40);
	meter->setValue (1.f);
	meter->draw (canvas.context ());
	EXPECT_EQ (canvas.pixel (5, 20).a, 0);
	meter->forget ();
}

TEST (Meter, AnalogSourceRowSnapsToWholeFrames)
{
	auto* meter = new CVuMeterVx (CRect (0, 0, 10, 65), nullptr, nullptr, 80, false, true);
	EXPECT_DOUBLE_EQ (meter->getFrameHeight (), 65.0);
	EXPECT_DOUBLE_EQ (meter->getFrameCount (), 80.0);
	EXPECT_DOUBLE_EQ (meter->getRestFrame (), 52.0);
	// floor(0.5 * 79 * 65) = 2567, down to a multiple of 65.
	EXPECT_EQ (meter->analogSourceRow (0.5f), 2535);
	EXPECT_EQ (meter->analogSourceRow (1.f), 79 * 65);
	EXPECT_EQ (meter->analogSourceRow (0.f), 0);
	meter->setFrameHeight (0.0);
	EXPECT_EQ (meter->analogSourceRow (0.7f), 0);
	meter->forget ();

	auto* inverted = new CVuMeterVx (CRect (0, 0, 10, 65), nullptr, nullptr, 80, true, true);
	// floor((52 / 80) * 0.5 * 79 * 65) = 1668, down to 1625.
	EXPECT_EQ (inverted->analogSourceRow (0.5f), 1625);
	// At rest (d = 0): floor(0.65 * 79 * 65) = 3337, down to 3315 (frame 51).
	EXPECT_EQ (inverted->analogSourceRow (0.f), 3315);
	inverted->forget ();
}

TEST (Meter, AnalogMeterDrawsTheFrameOfItsLevel)
{
	const std::vector<Rgba8> frames = {{10, 10, 10, 255}, {80, 80, 80, 255}, {160, 160, 160, 255}, {240, 240, 240, 255}};
	SharedPointer<CBitmap> strip = owned (EditorTest::loadBitmap (EditorTest::writeBandedPng ("needle", 10, 10, frames)));
	auto* meter = new CVuMeterVx (CRect (0, 0, 10, 10), strip, nullptr, 4, false, true);
	meter->setFrameHeight (10.0);
	meter->setFrameCount (4.0);
	meter->getDetector ().init (20.f, 0.f, 0.f, true, EnvelopeDetector::kPeak, false);
	meter->setOldValue (0.f);
	EditorTest::Canvas canvas (10, 10);

	meter->setValue (1.f);
	meter->draw (canvas.context ());
	EXPECT_TRUE (sameColour (canvas.pixel (5, 5), frames[3]));

	meter->setOldValue (0.f);
	meter->setValue (0.4f); // floor(0.4 * 3 * 10) = 12, frame 1
	canvas.clear ();
	meter->draw (canvas.context ());
	EXPECT_TRUE (sameColour (canvas.pixel (5, 5), frames[1]));
	meter->forget ();
}
