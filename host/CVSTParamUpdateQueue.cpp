#include "CVSTParamUpdateQueue.h"

#include "RangedParameterInfo.h"

namespace Vire2VUR3 {

using namespace Steinberg;
using namespace Steinberg::Vst;

CVSTParamUpdateQueue::CVSTParamUpdateQueue (const int32* theGranularity, double theMinimum,
                                            double theMaximum)
: sampleCount (0)
, lastValue (0.)
, maximum (theMaximum)
, minimum (theMinimum)
, slope (1.)
, intercept (0.)
, granularity (theGranularity)
, nextPoint (0)
, pointCount (0)
, hostQueue (nullptr)
, segmentStart (0)
, segmentEnd (0)
, startValue (0.)
, endValue (0.)
, currentOffset (0)
{
}

CVSTParamUpdateQueue::~CVSTParamUpdateQueue () = default;

void CVSTParamUpdateQueue::beginBlock (int32 numSamples, IParamValueQueue* queue)
{
	sampleCount = numSamples > 0 ? numSamples : 0;
	hostQueue = queue;
	pointCount = queue ? queue->getPointCount () : 0;
	nextPoint = 0;
	currentOffset = 0;
}

int32_t CVSTParamUpdateQueue::getParameterIndex ()
{
	return hostQueue ? static_cast<int32_t> (hostQueue->getParameterId ()) : -1;
}

bool CVSTParamUpdateQueue::getValueAtOffset (int32_t sampleOffset, double, double* value)
{
	currentOffset = sampleOffset;
	return lookUp (sampleOffset, value);
}

bool CVSTParamUpdateQueue::getNextValue (double* value)
{
	const bool found = lookUp (currentOffset, value);
	++currentOffset;
	return found;
}

void CVSTParamUpdateQueue::setLine ()
{
	// A segment of length zero (or running backwards) is a jump: its end value
	// holds from there on.
	if (segmentEnd > segmentStart)
	{
		slope = (endValue - startValue) / static_cast<float> (segmentEnd - segmentStart);
		intercept = startValue - segmentStart * slope;
	}
	else
	{
		slope = 0.;
		intercept = endValue;
	}
}

bool CVSTParamUpdateQueue::readPoint (int32 index, int32& offset, double& value) const
{
	ParamValue x = 0.;
	if (!hostQueue || hostQueue->getPoint (index, offset, x) != kResultOk)
		return false;
	value = clampNormalized (x);
	return true;
}

bool CVSTParamUpdateQueue::moveToNextSegment ()
{
	int32 offset = 0;
	double x = 0.;
	if (!readPoint (nextPoint, offset, x))
	{
		// After the block's last point the value holds; never extrapolate.
		if (nextPoint > 0 || !hostQueue)
		{
			startValue = endValue;
			segmentStart = segmentEnd;
			segmentEnd = sampleCount;
			slope = 0.;
			intercept = endValue;
		}
		return false;
	}
	if (nextPoint == 0 && offset == 0)
	{
		segmentStart = 0;
		startValue = x;
		if (pointCount < 2)
		{
			segmentEnd = sampleCount;
			endValue = x;
		}
		else
		{
			++nextPoint;
			int32 secondOffset = 0;
			double secondValue = 0.;
			if (readPoint (nextPoint, secondOffset, secondValue))
			{
				segmentEnd = secondOffset;
				endValue = secondValue;
			}
			else
			{
				segmentEnd = sampleCount;
				endValue = x;
			}
		}
	}
	else
	{
		// The block's first segment starts at frame 0 from the value held at
		// the end of the previous block; later ones where the last one ended.
		segmentStart = nextPoint == 0 ? 0 : segmentEnd;
		startValue = endValue;
		segmentEnd = offset;
		endValue = x;
	}
	++nextPoint;
	setLine ();
	return true;
}

bool CVSTParamUpdateQueue::lookUp (int32 s, double* value)
{
	if (!value || s < 0 || s >= sampleCount)
		return false;
	const int32 g = granularity ? *granularity : 0;

	// The value comes from the segment in force before this frame moves on.
	double v;
	if (s == segmentStart)
		v = startValue;
	else if (s == segmentEnd)
		v = endValue;
	else
		v = s * slope + intercept;

	if (s == 0 || s == segmentEnd)
	{
		// Points that share this frame collapse into one jump.
		bool moved = moveToNextSegment ();
		while (moved && segmentEnd == s && nextPoint < pointCount)
			moved = moveToNextSegment ();
	}

	const bool onSegmentEnd = s == segmentStart || s == segmentEnd;
	if (!onSegmentEnd && (g == 0 || s % g != 0))
		return false;
	if (v == lastValue)
		return false;
	lastValue = v;
	*value = v;
	return true;
}

} // namespace Vire2VUR3
