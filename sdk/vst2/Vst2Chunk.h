// The VST 2 chunk of a wrapped plug-in: the component state and then the
// controller state, each preceded by its length as a little-endian int64.
#pragma once

#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <cstdint>
#include <vector>

namespace Steinberg {
namespace Vst {

class Vst2Chunk
{
public:
	// Fills out with the chunk; false (out empty) when the component cannot
	// write its state. A controller that writes nothing gives length 0.
	static bool write (IComponent* component, IEditController* controller, std::vector<char>& out);

	// Checks the whole layout first: a chunk whose lengths do not add up to its
	// size exactly is refused before anything is restored.
	static bool read (const void* data, int64_t size, IComponent* component, IEditController* controller);

	static constexpr int64_t kLengthFieldSize = 8;
};

} // namespace Vst
} // namespace Steinberg
