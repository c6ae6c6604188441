// A block of de-interleaved float audio held in memory, as read from or written to a file.
#pragma once

#include <cstddef>
#include <vector>

namespace Tarnwick {
namespace Render {

struct AudioClip
{
    int sampleRate = 48000;
    std::vector<std::vector<float>> channels; // one vector per channel, all of equal length

    AudioClip () = default;
    AudioClip (int rate, int channelCount, std::size_t frameCount)
    : sampleRate (rate), channels (static_cast<std::size_t> (channelCount), std::vector<float> (frameCount, 0.f))
    {
    }

    int channelCount () const { return static_cast<int> (channels.size ()); }
    std::size_t frameCount () const { return channels.empty () ? 0 : channels[0].size (); }

    void resizeFrames (std::size_t frameCount)
    {
        for (auto& channel : channels)
            channel.resize (frameCount, 0.f);
    }
};

// Largest absolute sample value over all channels (0 for an empty clip).
float peakLevel (const AudioClip& clip);

// True when every sample is a finite number.
bool allSamplesFinite (const AudioClip& clip);

} // namespace Render
} // namespace Tarnwick
