#include "VoltOctaveParameter.h"

#include "adapter/FastApprox.h"

namespace Vire2VUR3 {

using namespace Steinberg;
using namespace Steinberg::Vst;

VoltOctaveParameter::VoltOctaveParameter (const TChar* title, ParamID tag, const TChar* units,
                                          ParamValue minPlainValue, ParamValue maxPlainValue,
                                          ParamValue defaultValuePlain, int32 stepCount,
                                          int32 flags, UnitID unitID)
: TaperedRangeParameter (title, tag, units, minPlainValue, maxPlainValue, stepCount, flags, unitID)
{
	setPlainDefault (defaultValuePlain);
}

VoltOctaveParameter::~VoltOctaveParameter () = default;

ParamValue VoltOctaveParameter::toNormalized (ParamValue plainValue) const
{
	const float octaves = fastlog2 (static_cast<float> (maxPlain / minPlain));
	return fastlog2 (static_cast<float> (plainValue / minPlain)) / octaves;
}

ParamValue VoltOctaveParameter::toPlain (ParamValue valueNormalized) const
{
	const float octaves = fastlog2 (static_cast<float> (maxPlain / minPlain));
	const float p = static_cast<float> (minPlain) *
	                fastpow2 (octaves * static_cast<float> (valueNormalized));
	const float fraction = static_cast<float> ((p - minPlain) / (maxPlain - minPlain));
	return minPlain + (maxPlain - minPlain) * fraction;
}

} // namespace Vire2VUR3
