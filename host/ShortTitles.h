// Short titles of the parameters, for hosts with little room: VST 3 hosts read them from
// the parameter info, the VST 2 wrapper makes its 8-byte names of them.
#pragma once

#include "public.sdk/source/vst/vstparameters.h"

namespace Vire2VUR3 {

// At most 7 bytes each, so that they fit a VST 2 name with its terminator.
constexpr Steinberg::int32 kShortTitleBytes = 7;

// Gives every parameter whose title is longer than that a short title of its own; parameters
// with a title not listed keep an empty one (hosts then shorten the title themselves).
void assignShortTitles (Steinberg::Vst::ParameterContainer& parameters);

} // namespace Vire2VUR3
