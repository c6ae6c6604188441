// Host parameter with a logarithmic taper over a plain range.
#pragma once

#include "TaperedRangeParameter.h"

namespace Vire2VUR3 {

class LogParameter : public TaperedRangeParameter
{
public:
	LogParameter (const Steinberg::Vst::TChar* title, Steinberg::Vst::ParamID tag,
	        const Steinberg::Vst::TChar* units = nullptr,
	        Steinberg::Vst::ParamValue minPlain = 0., Steinberg::Vst::ParamValue maxPlain = 1.,
	        Steinberg::Vst::ParamValue defaultValuePlain = 0., Steinberg::int32 stepCount = 0,
	        Steinberg::int32 flags = Steinberg::Vst::ParameterInfo::kCanAutomate,
	        Steinberg::Vst::UnitID unitID = Steinberg::Vst::kRootUnitId);
	~LogParameter () override;

	Steinberg::Vst::ParamValue toPlain (Steinberg::Vst::ParamValue valueNormalized) const override;
	Steinberg::Vst::ParamValue toNormalized (Steinberg::Vst::ParamValue plainValue) const override;

	OBJ_METHODS (LogParameter, TaperedRangeParameter)
};

} // namespace Vire2VUR3
