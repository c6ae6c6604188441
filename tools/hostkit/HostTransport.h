// The host's transport: a ProcessContext for each block, advanced by the frames processed.
#pragma once

#include "pluginterfaces/vst/ivstprocesscontext.h"

namespace Tarnwick {
namespace HostKit {

class HostTransport
{
public:
	explicit HostTransport (double sampleRate, double tempo = 120.0, Steinberg::int32 numerator = 4,
	                        Steinberg::int32 denominator = 4);

	void setPlaying (bool playing);
	void setTempo (double bpm);
	void setPosition (Steinberg::int64 projectTimeSamples);

	// The context for the next block.
	Steinberg::Vst::ProcessContext* context () { return &processContext; }
	// Moves the play position on after a block (only while playing).
	void advance (Steinberg::int32 frames);

private:
	void updateMusicalPosition ();

	Steinberg::Vst::ProcessContext processContext {};
};

} // namespace HostKit
} // namespace Tarnwick
