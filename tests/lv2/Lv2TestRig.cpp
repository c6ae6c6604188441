#include "Lv2TestRig.h"

#include "lv2/TarnwickLv2Uris.h"

#include <algorithm>
#include <cmath>

namespace Tarnwick {
namespace Lv2Test {

Lv2Host::Lv2World& bundleWorld ()
{
	static Lv2Host::Lv2World world (TARNWICK_TEST_LV2_BUNDLE_DIR, TARNWICK_LV2_URI);
	return world;
}

Signal testSignal (std::size_t frames)
{
	Signal signal (2, std::vector<float> (frames, 0.f));
	for (std::size_t i = 0; i < frames; ++i)
	{
		const double t = static_cast<double> (i) / kRate;
		signal[0][i] = static_cast<float> (0.4 * std::sin (2. * M_PI * 220. * t) * std::exp (-3. * t));
		signal[1][i] = static_cast<float> (0.3 * std::sin (2. * M_PI * 331. * t) * std::exp (-2. * t));
		if (i % 9600 == 0)
			signal[0][i] += 0.5f;
		if (i % 7200 == 100)
			signal[1][i] -= 0.5f;
	}
	return signal;
}

Signal silence (std::size_t frames, int channels)
{
	return Signal (static_cast<std::size_t> (channels), std::vector<float> (frames, 0.f));
}

Signal runInBlocks (Lv2Host::Lv2Instance& instance, const Signal& input, const std::vector<uint32_t>& blocks)
{
	Signal output (input.size (), std::vector<float> (input[0].size (), 0.f));
	const int channels = static_cast<int> (input.size ());
	std::size_t done = 0;
	for (std::size_t k = 0; done < input[0].size (); ++k)
	{
		const uint32_t frames =
		    static_cast<uint32_t> (std::min<std::size_t> (blocks[k % blocks.size ()], input[0].size () - done));
		const float* in[2] = {input[0].data () + done, channels > 1 ? input[1].data () + done : nullptr};
		float* out[2] = {output[0].data () + done, channels > 1 ? output[1].data () + done : nullptr};
		instance.run (in, out, channels, frames);
		done += frames;
	}
	return output;
}

bool allFinite (const Signal& signal)
{
	for (const auto& channel : signal)
		for (float sample : channel)
			if (!std::isfinite (sample))
				return false;
	return true;
}

Lv2Host::UridMap& sharedMap ()
{
	static Lv2Host::UridMap map;
	return map;
}

TestInstance::TestInstance (double rate) : map (sharedMap ()), instance (bundleWorld (), rate, &map)
{
	instance.activate ();
}

} // namespace Lv2Test
} // namespace Tarnwick
