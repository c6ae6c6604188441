// Host parameter with a logarithmic taper over a plain range.
#pragma once

#include "public.sdk/source/vst/vstparameters.h"

namespace Vire2VUR3 {

class LogParameter : public Steinberg::Vst::Parameter
{
public:
	LogParameter (const Steinberg::Vst::TChar* title, Steinberg::Vst::ParamID tag,
	              const Steinberg::Vst::TChar* units = nullptr,
	              Steinberg::Vst::ParamValue minPlain = 0., Steinberg::Vst::ParamValue maxPlain = 1.,
	              Steinberg::Vst::ParamValue defaultValuePlain = 0., Steinberg::int32 stepCount = 0,
	              Steinberg::int32 flags = Steinberg::Vst::ParameterInfo::kCanAutomate,
	              Steinberg::Vst::UnitID unitID = Steinberg::Vst::kRootUnitId);
	~LogParameter () override;

	void toString (Steinberg::Vst::ParamValue valueNormalized,
	               Steinberg::Vst::String128 string) const override;
	bool fromString (const Steinberg::Vst::TChar* string,
	                 Steinberg::Vst::ParamValue& valueNormalized) const override;
	Steinberg::Vst::ParamValue toPlain (Steinberg::Vst::ParamValue valueNormalized) const override;
	Steinberg::Vst::ParamValue toNormalized (Steinberg::Vst::ParamValue plainValue) const override;

	virtual Steinberg::Vst::ParamValue getMin () const { return minPlain; }
	virtual void setMin (Steinberg::Vst::ParamValue value) { minPlain = value; }
	virtual Steinberg::Vst::ParamValue getMax () const { return maxPlain; }
	virtual void setMax (Steinberg::Vst::ParamValue value) { maxPlain = value; }

	OBJ_METHODS (LogParameter, Parameter)

protected:
	Steinberg::Vst::ParamValue minPlain;
	Steinberg::Vst::ParamValue maxPlain;
};

} // namespace Vire2VUR3
