// How a host's value for one control becomes the linear fraction of the
// control's range that the effect takes (setNormalizedValue). Shared by the
// VST 3 adapter (normalized values on the control's taper) and the LV2 adapter
// (plain port values), so that the same setting reaches the effect the same way.
#pragma once

#include "effect/ControlDescriptor.h"

namespace Vire2VUR3 {

// A host's normalized value (0..1) on the control's taper.
double controlFractionOfHostValue (const ControlDescriptor& d, double hostValue);

// A plain value, as the VST 3 range parameter normalizes it: (plain - min) / (max - min),
// kept inside 0..1; 0 for an empty range.
double controlFractionOfPlain (const ControlDescriptor& d, double plain);

// The fraction a program change to preset `slot` writes into the control.
float presetFraction (const ControlDescriptor& d, int slot);

// A normalized value kept inside 0..1; anything that is not a number becomes 0.
inline double clampNormalized (double value)
{
	if (!(value > 0.))
		return 0.;
	if (value > 1.)
		return 1.;
	return value;
}

} // namespace Vire2VUR3
