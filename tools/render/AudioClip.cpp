#include "AudioClip.h"

#include <cmath>

namespace Tarnwick {
namespace Render {

float peakLevel (const AudioClip& clip)
{
    float peak = 0.f;
    for (const auto& channel : clip.channels)
        for (float sample : channel)
            peak = std::fmax (peak, std::fabs (sample));
    return peak;
}

bool allSamplesFinite (const AudioClip& clip)
{
    for (const auto& channel : clip.channels)
        for (float sample : channel)
            if (!std::isfinite (sample))
                return false;
    return true;
}

} // namespace Render
} // namespace Tarnwick
