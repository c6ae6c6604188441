// The Processor's saved state: the shared state bytes (StateImage) read from and
// written to a host's stream.
#pragma once

#include "adapter/StateFormat.h"

#include "pluginterfaces/base/ibstream.h"

class CPlugIn;

namespace Vire2VUR3 {

class SavedState : public StateImage
{
public:
	// Writes the current state of effect (see StateImage::write).
	static bool write (Steinberg::IBStream* stream, const CPlugIn& effect, bool bypass,
	                   const float* controlValues = nullptr, const float* hostValues = nullptr);

	// Reads a whole stream laid out for effect's controls (see StateImage::read).
	bool read (Steinberg::IBStream* stream, const CPlugIn& effect);
};

} // namespace Vire2VUR3
