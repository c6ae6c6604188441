#include "Grain.h"

#include "Canvas.h"

#include <vector>

namespace Tarnwick {
namespace Artwork {

static uint8_t clampChannel (int v, int limit)
{
	if (v < 0)
		return 0;
	if (v > limit)
		return static_cast<uint8_t> (limit);
	return static_cast<uint8_t> (v);
}

void addGrain (Canvas& canvas, uint32_t seed, int amplitude)
{
	cairo_surface_t* surface = canvas.surface ();
	cairo_surface_flush (surface);
	unsigned char* data = cairo_image_surface_get_data (surface);
	const int stride = cairo_image_surface_get_stride (surface);
	const int width = canvas.pixelWidth ();
	const int height = canvas.pixelHeight ();
	GrainSource source (seed);
	std::vector<int> row (static_cast<size_t> (width), 0);
	for (int y = 0; y < height; ++y)
	{
		// Each row is a blur of the row's own noise along x: streaks, not dots.
		int carry = 0;
		for (int x = 0; x < width; ++x)
		{
			const int n = static_cast<int> (source.next () % static_cast<uint32_t> (2 * amplitude + 1)) - amplitude;
			carry = (carry * 3 + n * 5) / 8;
			row[static_cast<size_t> (x)] = carry;
		}
		uint32_t* pixels = reinterpret_cast<uint32_t*> (data + y * stride);
		for (int x = 0; x < width; ++x)
		{
			const uint32_t p = pixels[x];
			const int a = static_cast<int> (p >> 24);
			if (a != 255)
				continue;
			const int d = row[static_cast<size_t> (x)];
			const uint8_t r = clampChannel (static_cast<int> ((p >> 16) & 0xFF) + d, 255);
			const uint8_t g = clampChannel (static_cast<int> ((p >> 8) & 0xFF) + d, 255);
			const uint8_t b = clampChannel (static_cast<int> (p & 0xFF) + d, 255);
			pixels[x] = (0xFFu << 24) | (uint32_t (r) << 16) | (uint32_t (g) << 8) | uint32_t (b);
		}
	}
	cairo_surface_mark_dirty (surface);
}

} // namespace Artwork
} // namespace Tarnwick
