#include "TailTracker.h"

#include <algorithm>
#include <cmath>

namespace Tarnwick {
namespace Render {

namespace {
std::size_t secondsToFrames (double seconds, double sampleRate)
{
    return static_cast<std::size_t> (std::max (0.0, std::ceil (seconds * sampleRate)));
}
} // namespace

TailTracker::TailTracker (double sampleRate, double maxSeconds, double quietSeconds, double thresholdDb)
: thresholdLinear (static_cast<float> (std::pow (10.0, thresholdDb / 20.0)))
, quietFrames (secondsToFrames (quietSeconds, sampleRate))
, maxFrames (secondsToFrames (maxSeconds, sampleRate))
, marginFrames (secondsToFrames (kMarginSeconds, sampleRate))
{
}

std::size_t TailTracker::nextBlockFrames (std::size_t maxBlock) const
{
    if (finished ())
        return 0;
    return std::min (maxBlock, maxFrames - rendered);
}

void TailTracker::observe (const float* const* channels, int channelCount, std::size_t frames)
{
    for (std::size_t i = 0; i < frames; ++i)
    {
        for (int c = 0; c < channelCount; ++c)
        {
            // A NaN counts as loud: it must not end the tail early and hide itself.
            const float magnitude = std::fabs (channels[c][i]);
            if (!(magnitude < thresholdLinear))
            {
                loudEnd = rendered + i + 1;
                sawLoud = true;
                break;
            }
        }
    }
    rendered += frames;
}

bool TailTracker::finished () const
{
    if (rendered >= maxFrames)
        return true;
    return rendered - loudEnd >= quietFrames;
}

std::size_t TailTracker::keptFrames () const
{
    if (!sawLoud)
        return 0;
    return std::min (rendered, loudEnd + marginFrames);
}

} // namespace Render
} // namespace Tarnwick
