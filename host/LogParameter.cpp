#include "LogParameter.h"

#include <cmath>

namespace Vire2VUR3 {

using namespace Steinberg;
using namespace Steinberg::Vst;

LogParameter::LogParameter (const TChar* title, ParamID tag, const TChar* units,
                            ParamValue minPlainValue, ParamValue maxPlainValue,
                            ParamValue defaultValuePlain, int32 stepCount, int32 flags,
                            UnitID unitID)
: TaperedRangeParameter (title, tag, units, minPlainValue, maxPlainValue, stepCount, flags, unitID)
{
	setPlainDefault (defaultValuePlain);
}

LogParameter::~LogParameter () = default;

ParamValue LogParameter::toNormalized (ParamValue plainValue) const
{
	const double range = maxPlain - minPlain;
	const double x = range != 0. ? (plainValue - minPlain) / range : 0.;
	return static_cast<float> (std::pow (10., (static_cast<float> (x) - 1.) * 2.4));
}

ParamValue LogParameter::toPlain (ParamValue valueNormalized) const
{
	const float n = static_cast<float> (valueNormalized);
	float e = 0.f;
	if (n > 0.f)
		e = static_cast<float> (std::log10 (n) * 0.4166666666666667 + 1.0);
	return minPlain + (maxPlain - minPlain) * e;
}

} // namespace Vire2VUR3
