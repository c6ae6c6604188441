// A host parameter over a plain range whose taper a subclass defines: the range,
// its accessors (shaped like the SDK's RangeParameter) and the plain-value texts.
#pragma once

#include "public.sdk/source/vst/vstparameters.h"

namespace Vire2VUR3 {

class TaperedRangeParameter : public Steinberg::Vst::Parameter
{
public:
	~TaperedRangeParameter () override;

	void toString (Steinberg::Vst::ParamValue valueNormalized,
	               Steinberg::Vst::String128 string) const override;
	bool fromString (const Steinberg::Vst::TChar* string,
	                 Steinberg::Vst::ParamValue& valueNormalized) const override;

	virtual Steinberg::Vst::ParamValue getMin () const { return minPlain; }
	virtual void setMin (Steinberg::Vst::ParamValue value) { minPlain = value; }
	virtual Steinberg::Vst::ParamValue getMax () const { return maxPlain; }
	virtual void setMax (Steinberg::Vst::ParamValue value) { maxPlain = value; }

	OBJ_METHODS (TaperedRangeParameter, Parameter)

protected:
	// Subclasses set the default from their own toNormalized, which this
	// constructor cannot reach yet.
	TaperedRangeParameter (const Steinberg::Vst::TChar* title, Steinberg::Vst::ParamID tag,
	                       const Steinberg::Vst::TChar* units,
	                       Steinberg::Vst::ParamValue minPlainValue,
	                       Steinberg::Vst::ParamValue maxPlainValue, Steinberg::int32 stepCount,
	                       Steinberg::int32 flags, Steinberg::Vst::UnitID unitID);
	void setPlainDefault (Steinberg::Vst::ParamValue defaultValuePlain);

	Steinberg::Vst::ParamValue minPlain;
	Steinberg::Vst::ParamValue maxPlain;
};

} // namespace Vire2VUR3
