// A fine, repeatable grain laid over painted metal so large areas do not look flat.
#pragma once

#include <cstdint>

namespace Tarnwick {
namespace Artwork {

class Canvas;

// A small xorshift generator: the same seed gives the same grain everywhere.
class GrainSource
{
public:
	explicit GrainSource (uint32_t seed) : state (seed ? seed : 0x9E3779B9u) {}
	uint32_t next ()
	{
		state ^= state << 13;
		state ^= state >> 17;
		state ^= state << 5;
		return state;
	}

private:
	uint32_t state;
};

// Adds up to +/- amplitude levels of grain to every opaque pixel of the canvas,
// with a slight horizontal streak (brushed look).
void addGrain (Canvas& canvas, uint32_t seed, int amplitude);

} // namespace Artwork
} // namespace Tarnwick
