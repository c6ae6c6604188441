#include "TaperedRangeParameter.h"

#include "ParameterText.h"
#include "RangedParameterInfo.h"

namespace Vire2VUR3 {

using namespace Steinberg;
using namespace Steinberg::Vst;

TaperedRangeParameter::TaperedRangeParameter (const TChar* title, ParamID tag, const TChar* units,
                                              ParamValue minPlainValue, ParamValue maxPlainValue,
                                              int32 stepCount, int32 flags, UnitID unitID)
: minPlain (minPlainValue), maxPlain (maxPlainValue)
{
	fillParameterInfo (info, title, tag, units, stepCount, flags, unitID);
}

TaperedRangeParameter::~TaperedRangeParameter () = default;

void TaperedRangeParameter::setPlainDefault (ParamValue defaultValuePlain)
{
	info.defaultNormalizedValue = valueNormalized = toNormalized (defaultValuePlain);
}

void TaperedRangeParameter::toString (ParamValue valueNormalized, String128 string) const
{
	printPlainValue (toPlain (valueNormalized), precision, string);
}

bool TaperedRangeParameter::fromString (const TChar* string, ParamValue& valueNormalized) const
{
	double plain = 0.;
	if (!scanPlainValue (string, plain))
		return false;
	valueNormalized = clampNormalized (toNormalized (plain));
	return true;
}

} // namespace Vire2VUR3
