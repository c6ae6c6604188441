#include "EnvelopeDetector.h"

#include <cmath>

namespace VSTGUI {

// Time constants: reaching 99 % (analog, ln 0.01 scaled) or 1 % of the way (digital).
static const float kAnalogTimeConstant = 1002.39343f;
static const float kDigitalTimeConstant = 4605.17019f;
static const float kSmallestNormal = 1.175494351e-38f;

float EnvelopeDetector::coefficient (float k, float updateRate, float timeMs)
{
	// A zero or negative time means no smoothing at all (and no division by zero).
	const double ticks = static_cast<double> (updateRate) * static_cast<double> (timeMs);
	if (!(ticks > 0.0))
		return 0.f;
	return static_cast<float> (std::exp (-static_cast<double> (k) / ticks));
}

void EnvelopeDetector::init (float updateRate, float attackMs, float releaseMs, bool analog, int32_t mode, bool db)
{
	rate = updateRate;
	attackTimeMs = attackMs;
	releaseTimeMs = releaseMs;
	analogTimeConstant = analog;
	detectorMode = mode;
	dbScale = db;
	const float k = analog ? kAnalogTimeConstant : kDigitalTimeConstant;
	attackCoefficient = coefficient (k, rate, attackTimeMs);
	releaseCoefficient = coefficient (k, rate, releaseTimeMs);
}

float EnvelopeDetector::process (float x)
{
	x = std::fabs (x);
	if (detectorMode == kMeanSquare || detectorMode == kRootMeanSquare)
		x = x * x;
	const float k = (x > envelope) ? attackCoefficient : releaseCoefficient;
	float e = k * (envelope - x) + x;
	if (e > -kSmallestNormal && e < kSmallestNormal)
		e = 0.f;
	if (e < 0.f)
		e = 0.f;
	if (e > 1.f)
		e = 1.f;
	envelope = e;
	if (!dbScale)
		return e;
	const float r = (detectorMode == kRootMeanSquare) ? std::sqrt (e) : e;
	if (r <= 0.f)
		return 0.f;
	const float db = 20.f * std::log10 (r);
	return ((db < -60.f ? -60.f : db) + 60.f) / 60.f;
}

} // namespace VSTGUI
