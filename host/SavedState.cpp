#include "SavedState.h"

namespace Vire2VUR3 {

using namespace Steinberg;

namespace {

class StreamReader : public StateByteReader
{
public:
	explicit StreamReader (IBStream& stream) : stream (stream) {}
	bool read (void* data, std::size_t size) override
	{
		int32 done = 0;
		return stream.read (data, static_cast<int32> (size), &done) == kResultTrue &&
		       done == static_cast<int32> (size);
	}

private:
	IBStream& stream;
};

class StreamWriter : public StateByteWriter
{
public:
	explicit StreamWriter (IBStream& stream) : stream (stream) {}
	bool write (const void* data, std::size_t size) override
	{
		int32 done = 0;
		return stream.write (const_cast<void*> (data), static_cast<int32> (size), &done) == kResultTrue &&
		       done == static_cast<int32> (size);
	}

private:
	IBStream& stream;
};

} // namespace

bool SavedState::write (IBStream* stream, const CPlugIn& effect, bool bypass, const float* controlValues,
                        const float* hostValues)
{
	if (!stream)
		return false;
	StreamWriter writer (*stream);
	return StateImage::write (writer, effect, bypass, controlValues, hostValues);
}

bool SavedState::read (IBStream* stream, const CPlugIn& effect)
{
	controlValues.clear ();
	hasValue.clear ();
	hasJoystick = false;
	if (!stream)
		return false;
	StreamReader reader (*stream);
	return StateImage::read (reader, effect);
}

} // namespace Vire2VUR3
