// Pieces shared by the adapter's own parameter classes.
#pragma once

#include "pluginterfaces/vst/ivsteditcontroller.h"

#include "adapter/ControlChange.h"

#include <cmath>

namespace Vire2VUR3 {

// Fills a parameter's information as the SDK's range parameter does: title and
// units copied (at most 128 units each), id, step count, flags and unit.
void fillParameterInfo (Steinberg::Vst::ParameterInfo& info, const Steinberg::Vst::TChar* title,
                        Steinberg::Vst::ParamID tag, const Steinberg::Vst::TChar* units,
                        Steinberg::int32 stepCount, Steinberg::int32 flags,
                        Steinberg::Vst::UnitID unitID);

} // namespace Vire2VUR3
