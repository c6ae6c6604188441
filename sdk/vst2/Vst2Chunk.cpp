#include "Vst2Chunk.h"

#include "public.sdk/source/common/memorystream.h"

#include <cstring>

namespace Steinberg {
namespace Vst {

namespace {

void appendLength (std::vector<char>& out, int64_t length)
{
	auto value = static_cast<uint64_t> (length);
	for (int i = 0; i < 8; ++i)
	{
		out.push_back (static_cast<char> (value & 0xFF));
		value >>= 8;
	}
}

int64_t readLength (const unsigned char* bytes)
{
	uint64_t value = 0;
	for (int i = 7; i >= 0; --i)
		value = (value << 8) | bytes[i];
	return static_cast<int64_t> (value);
}

bool appendState (std::vector<char>& out, MemoryStream& stream)
{
	int64 end = 0;
	stream.seek (0, IBStream::kIBSeekEnd, &end);
	if (end < 0)
		return false;
	appendLength (out, end);
	const char* bytes = stream.getData ();
	if (end > 0 && bytes == nullptr)
		return false;
	out.insert (out.end (), bytes, bytes + end);
	return true;
}

} // namespace

bool Vst2Chunk::write (IComponent* component, IEditController* controller, std::vector<char>& out)
{
	out.clear ();
	if (component == nullptr)
		return false;

	MemoryStream componentState;
	if (component->getState (&componentState) != kResultOk || !appendState (out, componentState))
	{
		out.clear ();
		return false;
	}

	MemoryStream controllerState;
	if (controller == nullptr || controller->getState (&controllerState) != kResultOk)
		appendLength (out, 0);
	else if (!appendState (out, controllerState))
	{
		out.clear ();
		return false;
	}
	return true;
}

bool Vst2Chunk::read (const void* data, int64_t size, IComponent* component, IEditController* controller)
{
	if (data == nullptr || component == nullptr || size < 2 * kLengthFieldSize)
		return false;
	const auto* bytes = static_cast<const unsigned char*> (data);

	const int64_t componentSize = readLength (bytes);
	if (componentSize < 0 || componentSize > size - 2 * kLengthFieldSize)
		return false;
	const unsigned char* componentBytes = bytes + kLengthFieldSize;
	const int64_t controllerSize = readLength (componentBytes + componentSize);
	if (controllerSize != size - 2 * kLengthFieldSize - componentSize)
		return false;
	const unsigned char* controllerBytes = componentBytes + componentSize + kLengthFieldSize;

	// MemoryStream only reads from memory it is given; the casts do not lead to writes.
	MemoryStream componentState (const_cast<unsigned char*> (componentBytes), componentSize);
	if (component->setState (&componentState) != kResultOk)
	{
		// The component may have taken part of the state before refusing the rest:
		// the controller follows what the component now holds.
		MemoryStream current;
		if (controller != nullptr && component->getState (&current) == kResultOk)
		{
			current.seek (0, IBStream::kIBSeekSet, nullptr);
			controller->setComponentState (&current);
		}
		return false;
	}

	if (controller != nullptr)
	{
		MemoryStream componentStateAgain (const_cast<unsigned char*> (componentBytes), componentSize);
		controller->setComponentState (&componentStateAgain);
		if (controllerSize > 0)
		{
			MemoryStream controllerState (const_cast<unsigned char*> (controllerBytes), controllerSize);
			controller->setState (&controllerState);
		}
	}
	return true;
}

} // namespace Vst
} // namespace Steinberg
