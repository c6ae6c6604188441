#include "StateFormat.h"

#include "effect/CPlugIn.h"

#include <cmath>
#include <cstring>

namespace Vire2VUR3 {

namespace {

constexpr int64_t kCurrentVersion = 1;

// Little-endian fields of 2, 4 or 8 bytes.
template <typename T>
bool writeField (StateByteWriter& writer, T value)
{
	uint64_t bits = 0;
	std::memcpy (&bits, &value, sizeof (T));
	uint8_t bytes[sizeof (T)];
	for (std::size_t i = 0; i < sizeof (T); ++i)
		bytes[i] = static_cast<uint8_t> (bits >> (8 * i));
	return writer.write (bytes, sizeof (T));
}

template <typename T>
bool readField (StateByteReader& reader, T& value)
{
	uint8_t bytes[sizeof (T)];
	if (!reader.read (bytes, sizeof (T)))
		return false;
	uint64_t bits = 0;
	for (std::size_t i = 0; i < sizeof (T); ++i)
		bits |= static_cast<uint64_t> (bytes[i]) << (8 * i);
	std::memcpy (&value, &bits, sizeof (T));
	return true;
}

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

bool readJoystickValue (StateByteReader& reader, float& value)
{
	if (!readField (reader, value) || !std::isfinite (value))
		return false;
	value = static_cast<float> (clampToRange (value, -1., 1.));
	return true;
}

} // namespace

bool StateImage::write (StateByteWriter& writer, const CPlugIn& effect, bool bypass,
                        const float* controlValues)
{
	if (!writeField (writer, kCurrentVersion))
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
				written = writeField (writer, std::isfinite (value) && std::fabs (value) < 2147483520.f
				                                  ? static_cast<int32_t> (value)
				                                  : int32_t (0));
				break;
			case kDataFloat: written = writeField (writer, value); break;
			case kDataDouble: written = writeField (writer, static_cast<double> (value)); break;
			case kDataEnumIndex:
				written = writeField (writer, value > 0.f && value < 4294967040.f ? static_cast<uint32_t> (value)
				                                                                   : uint32_t (0));
				break;
			default: break;
		}
		if (!written)
			return false;
	}
	float x = 0.f;
	float y = 0.f;
	effect.getJoystickValues (x, y);
	return writeField (writer, static_cast<int16_t> (bypass ? 1 : 0)) && writeField (writer, x) &&
	       writeField (writer, y);
}

bool StateImage::read (StateByteReader& reader, const CPlugIn& effect)
{
	controlValues.clear ();
	hasValue.clear ();
	hasJoystick = false;
	if (!readField (reader, version))
		return false;
	// Only versions this code wrote are understood.
	if (version != 0 && version != kCurrentVersion)
		return false;

	const int count = effect.controlCount ();
	controlValues.assign (static_cast<std::size_t> (count > 0 ? count : 0), 0.);
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
				int32_t field = 0;
				if (!readField (reader, field))
					return false;
				value = field;
				break;
			}
			case kDataFloat:
			{
				float field = 0.f;
				if (!readField (reader, field))
					return false;
				value = field;
				break;
			}
			case kDataDouble:
				if (!readField (reader, value))
					return false;
				break;
			case kDataEnumIndex:
			{
				uint32_t field = 0;
				if (!readField (reader, field))
					return false;
				value = field;
				break;
			}
			default:
				continue;
		}
		if (!std::isfinite (value))
			return false;
		controlValues[static_cast<std::size_t> (i)] = clampToRange (value, d->minValue, d->maxValue);
		hasValue[static_cast<std::size_t> (i)] = true;
	}

	int16_t bypassField = 0;
	if (!readField (reader, bypassField))
		return false;
	bypass = bypassField != 0;
	if (version == 0)
		return true;
	if (!readJoystickValue (reader, joystickX) || !readJoystickValue (reader, joystickY))
		return false;
	hasJoystick = true;
	return true;
}

void StateImage::applyTo (CPlugIn& effect) const
{
	const int count = static_cast<int> (controlValues.size ());
	for (int i = 0; i < count; ++i)
	{
		ControlDescriptor* d = effect.controlAt (i);
		if (!d || !hasValue[static_cast<std::size_t> (i)])
			continue;
		// Restored values land at once, without gliding.
		const bool smoothing = d->smoothingEnabled;
		d->smoothingEnabled = false;
		effect.setPlainValue (i, static_cast<float> (controlValues[static_cast<std::size_t> (i)]));
		d->smoothingEnabled = smoothing;
	}
	if (hasJoystick)
	{
		effect.setJoystickX (joystickX, 1);
		effect.setJoystickY (joystickY, 1);
	}
}

bool MemoryStateReader::read (void* out, std::size_t size)
{
	if (size > left)
		return false;
	std::memcpy (out, data, size);
	data += size;
	left -= size;
	return true;
}

bool MemoryStateWriter::write (const void* data, std::size_t size)
{
	const uint8_t* begin = static_cast<const uint8_t*> (data);
	bytes.insert (bytes.end (), begin, begin + size);
	return true;
}

} // namespace Vire2VUR3
