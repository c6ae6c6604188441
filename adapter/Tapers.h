// How a host's normalized value becomes the linear fraction of a control's
// range that the effect takes, and back (program changes). The display side
// of the same tapers is in LogParameter and VoltOctaveParameter.
#pragma once

#include "FastApprox.h"

#include <cmath>

namespace Vire2VUR3 {

// Logarithmic taper: host value v (0..1) to fraction.
inline float logTaperFraction (double v)
{
	return static_cast<float> (std::log10 (static_cast<float> (v) * 9.f + 1.f));
}

// Logarithmic taper: fraction f to host value.
inline float logTaperHostValue (float f)
{
	return (std::pow (10.f, f) - 1.f) * 0.11111111f;
}

// Volt/octave taper: host value v (0..1) to fraction of min..max.
inline float voltOctaveFraction (double v, float min, float max)
{
	return (min * fastpow2 (fastlog2 (max / min) * static_cast<float> (v)) - min) / (max - min);
}

// Volt/octave taper: plain value to host value.
inline float voltOctaveHostValue (float plain, float min, float max)
{
	const float reciprocal = 1.f / min;
	return fastlog2 (plain * reciprocal) / fastlog2 (max * reciprocal);
}

} // namespace Vire2VUR3
