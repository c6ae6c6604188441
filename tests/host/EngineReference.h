// The effect engine driven directly, the way the VST 3 adapter drives it: the reference that audio
// rendered through the bundle must equal bit for bit.
#pragma once

#include "effect/CStDelayFil.h"

#include "pluginterfaces/vst/vsttypes.h"

#include <memory>
#include <vector>

namespace TarnwickHostTest {

class EngineReference
{
public:
	EngineReference (double sampleRate, int channels);

	// A host parameter change (the block's last value), applied before the next block's frames.
	void change (Steinberg::Vst::ParamID id, double normalized);
	void noteOn (int frameOffset, int channel, int pitch, float velocity);

	// One block; events given by noteOn since the last block fire at their frames.
	void processBlock (const std::vector<std::vector<float>>& input,
	                   std::vector<std::vector<float>>& output, size_t start, size_t frames);
	// A block the adapter does not hand to the effect (bypass, silence): nothing happens.
	void skipBlock () { pendingNotes.clear (); }

	CStDelayFil& effect () { return *fx; }

private:
	struct Note
	{
		int offset;
		int channel;
		int pitch;
		float velocity;
	};
	std::unique_ptr<CStDelayFil> fx; // large: kept off the stack
	int channels;
	std::vector<Note> pendingNotes;
};

} // namespace TarnwickHostTest
