// Read-only meter parameter shown in decibels.
#pragma once

#include "public.sdk/source/vst/vstparameters.h"

namespace Vire2VUR3 {

class PeakParameter : public Steinberg::Vst::Parameter
{
public:
	PeakParameter (Steinberg::int32 flags, Steinberg::Vst::ParamID id,
	               const Steinberg::Vst::TChar* title);
	~PeakParameter () override;

	void toString (Steinberg::Vst::ParamValue valueNormalized,
	               Steinberg::Vst::String128 string) const override;
	// Meters take no typed values.
	bool fromString (const Steinberg::Vst::TChar* string,
	                 Steinberg::Vst::ParamValue& valueNormalized) const override;

	OBJ_METHODS (PeakParameter, Parameter)
};

} // namespace Vire2VUR3
