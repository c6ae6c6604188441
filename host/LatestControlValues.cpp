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

void LatestControlValues::reset (const CPlugIn& effect)
{
	const int32 controls = effect.controlCount ();
	if (controls != size || !words)
	{
		// Without memory for them the saved state takes the effect's own values.
		words.reset (controls > 0 ? new (std::nothrow) std::atomic<uint64>[static_cast<size_t> (controls)]
		                          : nullptr);
		size = words ? controls : 0;
	}
	for (int32 i = 0; i < size; ++i)
		words[static_cast<size_t> (i)].store (pack (effect.getPlainValue (i), 0));
}

void LatestControlValues::setFromHost (int32 position, float value)
{
	if (position < 0 || position >= size)
		return;
	words[static_cast<size_t> (position)].store (pack (value, kPatience));
}

void LatestControlValues::setFromBlock (int32 position, float value)
{
	if (position < 0 || position >= size)
		return;
	std::atomic<uint64>& word = words[static_cast<size_t> (position)];
	uint64 seen = word.load ();
	const uint32 waiting = waitingOf (seen);
	// Another value while one from the host waits: a change queued before it.
	const uint64 next = waiting > 0 && value != valueOf (seen) ? pack (valueOf (seen), waiting - 1)
	                                                           : pack (value, 0);
	// Should the host set a value meanwhile, the host's value stands.
	if (next != seen)
		word.compare_exchange_strong (seen, next);
}

float LatestControlValues::value (int32 position) const
{
	if (position < 0 || position >= size)
		return 0.f;
	return valueOf (words[static_cast<size_t> (position)].load ());
}

std::vector<float> LatestControlValues::values () const
{
	std::vector<float> result (static_cast<size_t> (size));
	for (int32 i = 0; i < size; ++i)
		result[static_cast<size_t> (i)] = value (i);
	return result;
}

} // namespace Vire2VUR3
