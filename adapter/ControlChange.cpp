#include "ControlChange.h"

#include "Tapers.h"

namespace Vire2VUR3 {

double controlFractionOfHostValue (const ControlDescriptor& d, double hostValue)
{
	if (d.logTaper)
		return logTaperFraction (hostValue);
	if (d.voltOctaveTaper && d.dataType != kDataEnumIndex)
		return voltOctaveFraction (hostValue, d.minValue, d.maxValue);
	return hostValue;
}

double controlFractionOfPlain (const ControlDescriptor& d, double plain)
{
	const double range = static_cast<double> (d.maxValue) - d.minValue;
	if (!(range > 0.))
		return 0.;
	return clampNormalized ((plain - d.minValue) / range);
}

float presetFraction (const ControlDescriptor& d, int slot)
{
	if (slot < 0 || slot >= kPresetSlotCount)
		return 0.f;
	const double range = static_cast<double> (d.maxValue) - d.minValue;
	return range != 0. ? static_cast<float> ((d.presetValues[slot] - d.minValue) / range) : 0.f;
}

} // namespace Vire2VUR3
