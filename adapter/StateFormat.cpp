#include "StateFormat.h"

#include "effect/CPlugIn.h"

#include <cmath>
#include <cstring>

namespace Vire2VUR3 {

namespace {

// The first part's version: what the first release wrote, and reads.
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

bool readClampedFloat (StateByteReader& reader, float& value, double low, double high)
{
	if (!readField (reader, value) || !std::isfinite (value))
		return false;
	value = static_cast<float> (clampToRange (value, low, high));
	return true;
}

bool writeControl (StateByteWriter& writer, const ControlDescriptor& d, float value)
{
	switch (d.dataType)
	{
		case kDataInt32:
			return writeField (writer, std::isfinite (value) && std::fabs (value) < 2147483520.f
			                               ? static_cast<int32_t> (value)
			                               : int32_t (0));
		case kDataFloat: return writeField (writer, value);
		case kDataDouble: return writeField (writer, static_cast<double> (value));
		case kDataEnumIndex:
			return writeField (writer, value > 0.f && value < 4294967040.f ? static_cast<uint32_t> (value)
			                                                                : uint32_t (0));
		default: return true;
	}
}

// False for a short read or a value that is not a number; `present` false for a variable type
// that has no field.
bool readControl (StateByteReader& reader, const ControlDescriptor& d, double& value, bool& present)
{
	present = true;
	switch (d.dataType)
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
		default: present = false; return true;
	}
	if (!std::isfinite (value))
		return false;
	value = clampToRange (value, d.minValue, d.maxValue);
	return true;
}

} // namespace

bool StateImage::write (StateByteWriter& writer, const CPlugIn& effect, bool bypass,
                        const float* controlValues, const float* hostValues)
{
	if (!writeField (writer, kCurrentVersion))
		return false;
	const int count = effect.controlCount ();
	const int firstPart = effect.controlsOfFirstRelease ();
	auto writeControls = [&] (int begin, int end) {
		for (int i = begin; i < end; ++i)
			if (const ControlDescriptor* d = effect.controlAt (i))
				if (!writeControl (writer, *d, controlValues ? controlValues[i] : effect.getPlainValue (i)))
					return false;
		return true;
	};
	float x = 0.f;
	float y = 0.f;
	effect.getJoystickValues (x, y);
	if (!writeControls (0, firstPart) || !writeField (writer, static_cast<int16_t> (bypass ? 1 : 0)) ||
	    !writeField (writer, x) || !writeField (writer, y))
		return false;

	if (!writeField (writer, kTailVersion) || !writeControls (firstPart, count))
		return false;
	for (int k = 0; k < kHostValueCount; ++k)
		if (!writeField (writer, hostValues ? hostValues[k] : 0.f))
			return false;
	return true;
}

bool StateImage::read (StateByteReader& reader, const CPlugIn& effect)
{
	controlValues.clear ();
	hasValue.clear ();
	hasJoystick = false;
	tailVersion = 0;
	hasUnreadFields = false;
	hasHostValues = false;
	if (!readField (reader, version))
		return false;
	// Only versions this code wrote are understood.
	if (version != 0 && version != kCurrentVersion)
		return false;

	const int count = effect.controlCount ();
	const int firstPart = effect.controlsOfFirstRelease ();
	controlValues.assign (static_cast<std::size_t> (count > 0 ? count : 0), 0.);
	hasValue.assign (controlValues.size (), false);
	auto readControls = [&] (int begin, int end) {
		for (int i = begin; i < end; ++i)
		{
			const ControlDescriptor* d = effect.controlAt (i);
			bool present = false;
			if (d && !readControl (reader, *d, controlValues[static_cast<std::size_t> (i)], present))
				return false;
			hasValue[static_cast<std::size_t> (i)] = d && present;
		}
		return true;
	};
	if (!readControls (0, firstPart))
		return false;

	int16_t bypassField = 0;
	if (!readField (reader, bypassField))
		return false;
	bypass = bypassField != 0;
	if (version == 0)
		return true;
	if (!readClampedFloat (reader, joystickX, -1., 1.) || !readClampedFloat (reader, joystickY, -1., 1.))
		return false;
	hasJoystick = true;

	// Without the tail: what it holds takes its defaults.
	hasHostValues = true;
	for (int k = 0; k < kHostValueCount; ++k)
		hostValues[k] = 0.f;
	for (int i = firstPart; i < count; ++i)
		if (const ControlDescriptor* d = effect.controlAt (i))
		{
			controlValues[static_cast<std::size_t> (i)] = clampToRange (d->defaultValue, d->minValue, d->maxValue);
			hasValue[static_cast<std::size_t> (i)] = true;
		}
	uint8_t firstByte = 0;
	if (!reader.read (&firstByte, 1))
		return true;
	uint8_t rest[3] = {};
	if (!reader.read (rest, 3))
		return false;
	tailVersion = static_cast<int32_t> (static_cast<uint32_t> (firstByte) | static_cast<uint32_t> (rest[0]) << 8 |
	                                    static_cast<uint32_t> (rest[1]) << 16 | static_cast<uint32_t> (rest[2]) << 24);
	if (tailVersion < kTailVersion || !readControls (firstPart, count))
		return false;
	for (int k = 0; k < kHostValueCount; ++k)
		if (!readClampedFloat (reader, hostValues[k], 0., 1.))
			return false;
	hasUnreadFields = tailVersion > kTailVersion;
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
