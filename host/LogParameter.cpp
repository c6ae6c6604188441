#include "LogParameter.h"

#include "ParameterText.h"
#include "RangedParameterInfo.h"

#include <cmath>

namespace Vire2VUR3 {

using namespace Steinberg;
using namespace Steinberg::Vst;

LogParameter::LogParameter (const TChar* title, ParamID tag, const TChar* units,
                            ParamValue minPlainValue, ParamValue maxPlainValue,
                            ParamValue defaultValuePlain, int32 stepCount, int32 flags,
                            UnitID unitID)
: minPlain (minPlainValue), maxPlain (maxPlainValue)
{
	fillParameterInfo (info, title, tag, units, stepCount, flags, unitID);
	info.defaultNormalizedValue = valueNormalized = toNormalized (defaultValuePlain);
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

void LogParameter::toString (ParamValue valueNormalized, String128 string) const
{
	printPlainValue (toPlain (valueNormalized), precision, string);
}

bool LogParameter::fromString (const TChar* string, ParamValue& valueNormalized) const
{
	double plain = 0.;
	if (!scanPlainValue (string, plain))
		return false;
	valueNormalized = clampNormalized (toNormalized (plain));
	return true;
}

} // namespace Vire2VUR3
