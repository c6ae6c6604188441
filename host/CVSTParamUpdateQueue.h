// One parameter's sample-accurate values inside the current block, linearly
// interpolated between the host's points, for effects that read automation
// themselves.
#pragma once

#include "effect/IParamUpdateQueue.h"

#include "pluginterfaces/vst/ivstparameterchanges.h"

namespace Vire2VUR3 {

class CVSTParamUpdateQueue : public IParamUpdateQueue
{
public:
	// granularity points at the owner's update granularity: between segment
	// ends, values are handed out only at frames that are multiples of it
	// (never when it is 0).
	CVSTParamUpdateQueue (const Steinberg::int32* granularity, double minimum, double maximum);
	~CVSTParamUpdateQueue () override;

	int32_t getParameterIndex () override;
	bool getValueAtOffset (int32_t sampleOffset, double unused, double* value) override;
	bool getNextValue (double* value) override;

	// Called by the processing loop at the start of each block in which the
	// parameter changes. Segments carry over from the previous block.
	void beginBlock (Steinberg::int32 numSamples, Steinberg::Vst::IParamValueQueue* queue);

	double getMinimum () const { return minimum; }
	double getMaximum () const { return maximum; }

private:
	bool lookUp (Steinberg::int32 offset, double* value);
	bool readPoint (Steinberg::int32 index, Steinberg::int32& offset, double& value) const;
	bool moveToNextSegment ();
	void setLine ();

	Steinberg::int32 sampleCount;
	double lastValue;
	double maximum;
	double minimum;
	double slope;
	double intercept;
	const Steinberg::int32* granularity;
	Steinberg::int32 nextPoint;
	Steinberg::int32 pointCount;
	Steinberg::Vst::IParamValueQueue* hostQueue;
	Steinberg::int32 segmentStart;
	Steinberg::int32 segmentEnd;
	double startValue;
	double endValue;
	Steinberg::int32 currentOffset;
};

} // namespace Vire2VUR3
