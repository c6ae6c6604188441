#include "RangedParameterInfo.h"

#include "pluginterfaces/base/ustring.h"

namespace Vire2VUR3 {

using namespace Steinberg;
using namespace Steinberg::Vst;

void fillParameterInfo (ParameterInfo& info, const TChar* title, ParamID tag, const TChar* units,
                        int32 stepCount, int32 flags, UnitID unitID)
{
	if (title)
		UString (info.title, str16BufferSize (String128)).assign (title);
	if (units)
		UString (info.units, str16BufferSize (String128)).assign (units);
	info.stepCount = stepCount;
	info.flags = flags;
	info.id = tag;
	info.unitId = unitID;
}

} // namespace Vire2VUR3
