// The value each control was last asked for, as the value its variable settles at: what the
// host set on the controller side, a restore wrote or a program change chose, or what a block's
// parameter changes brought. Shared between the host's threads and the audio thread without
// locks (one atomic word per control, and one for the adapter's bypass switch), so that a saved
// state carries a value no block has carried yet.
#pragma once

#include "pluginterfaces/base/ftypes.h"

#include <atomic>
#include <memory>
#include <vector>

class CPlugIn;

namespace Vire2VUR3 {

class LatestControlValues
{
public:
	// Main thread, before processing: the effect's present values and bypass, nothing waiting.
	void reset (const CPlugIn& effect, bool bypass);
	Steinberg::int32 count () const { return size; }

	// Host side (any of the host's threads). The value then stands against blocks that carry
	// another value for the control (changes queued before it) until a block brings it, or
	// until kPatience such blocks have gone by (automation the host plays on its own).
	void setFromHost (Steinberg::int32 position, float value);
	// Audio thread: a block's change applied to the control. Lock-free, no allocation.
	void setFromBlock (Steinberg::int32 position, float value);

	float value (Steinberg::int32 position) const;
	std::vector<float> values () const;

	// The bypass switch the same way; without memory for the words, fallback is answered.
	void setBypassFromHost (bool bypass);
	void setBypassFromBlock (bool bypass);
	bool bypass (bool fallback) const;

	static constexpr Steinberg::uint32 kPatience = 4;

private:
	// Low 32 bits: the value's float bits; above them: blocks the value still waits.
	static Steinberg::uint64 pack (float value, Steinberg::uint32 waiting);
	static float valueOf (Steinberg::uint64 word);
	static Steinberg::uint32 waitingOf (Steinberg::uint64 word);
	void hostWrite (Steinberg::int32 index, float value);
	void blockWrite (Steinberg::int32 index, float value);
	float read (Steinberg::int32 index) const;

	// size controls, then the bypass word.
	std::unique_ptr<std::atomic<Steinberg::uint64>[]> words;
	Steinberg::int32 size = 0;
	static_assert (std::atomic<Steinberg::uint64>::is_always_lock_free, "the audio thread must not lock");
};

} // namespace Vire2VUR3
