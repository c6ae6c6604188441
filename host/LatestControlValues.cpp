#include "LatestControlValues.h"

#include "effect/CPlugIn.h"

#include <cstring>
#include <new>

namespace Vire2VUR3 {

using namespace Steinberg;

uint64 LatestControlValues::pack (float value, uint32 waiting)
{
	uint32 bits = 0;
	std::memcpy (&bits, &value, sizeof (bits));
	return (static_cast<uint64> (waiting) << 32) | bits;
}

float LatestControlValues::valueOf (uint64 word)
{
	const uint32 bits = static_cast<uint32> (word);
	float value = 0.f;
	std::memcpy (&value, &bits, sizeof (value));
	return value;
}

uint32 LatestControlValues::waitingOf (uint64 word)
{
	return static_cast<uint32> (word >> 32);
}

void LatestControlValues::reset (const CPlugIn& effect, bool bypass)
{
	const int32 controls = effect.controlCount ();
	if (controls != size || !words)
	{
		// Without memory for them the saved state takes the effect's own values.
		words.reset (controls >= 0 ? new (std::nothrow) std::atomic<uint64>[static_cast<size_t> (controls) + 1]
		                           : nullptr);
		size = words ? controls : 0;
	}
	if (!words)
		return;
	for (int32 i = 0; i < size; ++i)
		words[static_cast<size_t> (i)].store (pack (effect.getPlainValue (i), 0));
	words[static_cast<size_t> (size)].store (pack (bypass ? 1.f : 0.f, 0));
}

void LatestControlValues::setFromHost (int32 position, float value)
{
	if (position >= 0 && position < size)
		hostWrite (position, value);
}

void LatestControlValues::setFromBlock (int32 position, float value)
{
	if (position >= 0 && position < size)
		blockWrite (position, value);
}

float LatestControlValues::value (int32 position) const
{
	if (position < 0 || position >= size)
		return 0.f;
	return read (position);
}

std::vector<float> LatestControlValues::values () const
{
	std::vector<float> result (static_cast<size_t> (size));
	for (int32 i = 0; i < size; ++i)
		result[static_cast<size_t> (i)] = read (i);
	return result;
}

void LatestControlValues::setBypassFromHost (bool bypass)
{
	if (words)
		hostWrite (size, bypass ? 1.f : 0.f);
}

void LatestControlValues::setBypassFromBlock (bool bypass)
{
	if (words)
		blockWrite (size, bypass ? 1.f : 0.f);
}

bool LatestControlValues::bypass (bool fallback) const
{
	return words ? read (size) != 0.f : fallback;
}

void LatestControlValues::hostWrite (int32 index, float value)
{
	words[static_cast<size_t> (index)].store (pack (value, kPatience));
}

void LatestControlValues::blockWrite (int32 index, float value)
{
	std::atomic<uint64>& word = words[static_cast<size_t> (index)];
	uint64 seen = word.load ();
	const uint32 waiting = waitingOf (seen);
	// Another value while one from the host waits: a change queued before it.
	const uint64 next = waiting > 0 && value != valueOf (seen) ? pack (valueOf (seen), waiting - 1)
	                                                           : pack (value, 0);
	// Should the host set a value meanwhile, the host's value stands.
	if (next != seen)
		word.compare_exchange_strong (seen, next);
}

float LatestControlValues::read (int32 index) const
{
	return valueOf (words[static_cast<size_t> (index)].load ());
}

} // namespace Vire2VUR3
