#include "SavedState.h"

#include "effect/CPlugIn.h"

#include "base/source/fstreamer.h"

#include <cmath>

namespace Vire2VUR3 {

using namespace Steinberg;

namespace {

constexpr int64 kCurrentVersion = 1;

double clampToRange (double value, double low, double high)
{
	if (low > high)
		return value;
	if (value < low)
		return low;
	if (value > high)
		return high;
	return value;
}

bool readJoystickValue (IBStreamer& streamer, float& value)
{
	if (!streamer.readFloat (value) || !std::isfinite (value))
		return false;
	value = static_cast<float> (clampToRange (value, -1., 1.));
	return true;
}

} // namespace

bool SavedState::write (IBStream* stream, const CPlugIn& effect, bool bypass, const float* controlValues)
{
	if (!stream)
		return false;
	IBStreamer streamer (stream, kLittleEndian);
	if (!streamer.writeInt64 (kCurrentVersion))
		return false;
	const int count = effect.controlCount ();
	for (int i = 0; i < count; ++i)
	{
		const ControlDescriptor* d = effect.controlAt (i);
		if (!d)
			continue;
		const float value = controlValues ? controlValues[i] : effect.getPlainValue (i);
		bool written = true;
		switch (d->dataType)
		{
			case kDataInt32:
				written = streamer.writeInt32 (std::isfinite (value) && std::fabs (value) < 2147483520.f
				                                   ? static_cast<int32> (value)
				                                   : 0);
				break;
			case kDataFloat: written = streamer.writeFloat (value); break;
			case kDataDouble: written = streamer.writeDouble (value); break;
			case kDataEnumIndex:
				written = streamer.writeInt32u (value > 0.f && value < 4294967040.f
				                                    ? static_cast<uint32> (value)
				                                    : 0);
				break;
			default: break;
		}
		if (!written)
			return false;
	}
	float x = 0.f;
	float y = 0.f;
	effect.getJoystickValues (x, y);
	return streamer.writeInt16 (bypass ? 1 : 0) && streamer.writeFloat (x) && streamer.writeFloat (y);
}

bool SavedState::read (IBStream* stream, const CPlugIn& effect)
{
	controlValues.clear ();
	hasValue.clear ();
	hasJoystick = false;
	if (!stream)
		return false;
	IBStreamer streamer (stream, kLittleEndian);
	if (!streamer.readInt64 (version))
		return false;
	// Only versions this code wrote are understood.
	if (version != 0 && version != kCurrentVersion)
		return false;

	const int count = effect.controlCount ();
	controlValues.assign (static_cast<size_t> (count > 0 ? count : 0), 0.);
	hasValue.assign (controlValues.size (), false);
	for (int i = 0; i < count; ++i)
	{
		const ControlDescriptor* d = effect.controlAt (i);
		if (!d)
			continue;
		double value = 0.;
		switch (d->dataType)
		{
			case kDataInt32:
			{
				int32 field = 0;
				if (!streamer.readInt32 (field))
					return false;
				value = field;
				break;
			}
			case kDataFloat:
			{
				float field = 0.f;
				if (!streamer.readFloat (field))
					return false;
				value = field;
				break;
			}
			case kDataDouble:
				if (!streamer.readDouble (value))
					return false;
				break;
			case kDataEnumIndex:
			{
				uint32 field = 0;
				if (!streamer.readInt32u (field))
					return false;
				value = field;
				break;
			}
			default:
				continue;
		}
		if (!std::isfinite (value))
			return false;
		controlValues[static_cast<size_t> (i)] = clampToRange (value, d->minValue, d->maxValue);
		hasValue[static_cast<size_t> (i)] = true;
	}

	int16 bypassField = 0;
	if (!streamer.readInt16 (bypassField))
		return false;
	bypass = bypassField != 0;
	if (version == 0)
		return true;
	if (!readJoystickValue (streamer, joystickX) || !readJoystickValue (streamer, joystickY))
		return false;
	hasJoystick = true;
	return true;
}

} // namespace Vire2VUR3
