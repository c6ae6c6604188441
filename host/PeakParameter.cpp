#include "PeakParameter.h"

#include "ParameterText.h"
#include "RangedParameterInfo.h"

#include <cmath>
#include <cstdio>

namespace Vire2VUR3 {

using namespace Steinberg;
using namespace Steinberg::Vst;

PeakParameter::PeakParameter (int32 flags, ParamID id, const TChar* title)
{
	fillParameterInfo (info, title, id, nullptr, 0, flags, 0);
	info.defaultNormalizedValue = 0.5;
	valueNormalized = 1.0;
}

PeakParameter::~PeakParameter () = default;

void PeakParameter::toString (ParamValue valueNormalized, String128 string) const
{
	if (valueNormalized > 0.0001)
	{
		char text[64];
		std::snprintf (text, sizeof (text), "%.3f",
		               20. * std::log10 (static_cast<float> (valueNormalized)));
		copyUtf8 (text, string, 128);
	}
	else
	{
		string[0] = '-';
		string[1] = 0x221E; // infinity sign
		string[2] = 0;
	}
}

bool PeakParameter::fromString (const TChar*, ParamValue&) const
{
	return false;
}

} // namespace Vire2VUR3
