// Host parameter with a volt/octave (octave-scaled) taper over a plain range.
#pragma once

#include "TaperedRangeParameter.h"

namespace Vire2VUR3 {

class VoltOctaveParameter : public TaperedRangeParameter
{
public:
	VoltOctaveParameter (const Steinberg::Vst::TChar* title, Steinberg::Vst::ParamID tag,
	        const Steinberg::Vst::TChar* units = nullptr,
	        Steinberg::Vst::ParamValue minPlain = 0., Steinberg::Vst::ParamValue maxPlain = 1.,
	        Steinberg::Vst::ParamValue defaultValuePlain = 0., Steinberg::int32 stepCount = 0,
	        Steinberg::int32 flags = Steinberg::Vst::ParameterInfo::kCanAutomate,
	        Steinberg::Vst::UnitID unitID = Steinberg::Vst::kRootUnitId);
	~VoltOctaveParameter () override;

	Steinberg::Vst::ParamValue toPlain (Steinberg::Vst::ParamValue valueNormalized) const override;
	Steinberg::Vst::ParamValue toNormalized (Steinberg::Vst::ParamValue plainValue) const override;

	OBJ_METHODS (VoltOctaveParameter, TaperedRangeParameter)
};

} // namespace Vire2VUR3
