// Fast base-2 logarithm and power (the fastapprox formulas), single precision.
// The volt/octave parameter taper and the processing loop must use the very
// same approximations so that a host value and its display invert each other.
#pragma once

#include <cstdint>
#include <cstring>

namespace Vire2VUR3 {

inline float fastlog2 (float v)
{
	std::uint32_t i;
	std::memcpy (&i, &v, sizeof (i));
	const std::uint32_t mantissaBits = (i & 0x007FFFFFu) | 0x3F000000u;
	float m;
	std::memcpy (&m, &mantissaBits, sizeof (m));
	float y = static_cast<float> (i);
	y *= 1.1920928955078125e-7f;
	return y - 124.22552f - 1.4980303f * m - 1.72588f / (m + 0.35208872f);
}

inline float fastpow2 (float p)
{
	const float offset = (p < 0.f) ? 1.f : 0.f;
	float q = (p < -126.f) ? -126.f : p;
	// Above 2^127 the bit pattern overflows; NaN lands here too. Keeps the
	// integer conversions below defined.
	if (!(q <= 127.f))
		q = 127.f;
	const int w = static_cast<int> (q);
	const float z = q - static_cast<float> (w) + offset;
	const std::uint32_t bits = static_cast<std::uint32_t> (
	    (q + 121.274055f + 27.728024f / (4.8425255f - z) - 1.4901291f * z) * 8388608.f);
	float result;
	std::memcpy (&result, &bits, sizeof (result));
	return result;
}

} // namespace Vire2VUR3
