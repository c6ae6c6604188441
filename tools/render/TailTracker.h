// Decides how long to keep rendering after the input has ended: until the output has stayed
// below a threshold for a while (longer than the longest echo gap), or until a cap.
#pragma once

#include <cstddef>

namespace Tarnwick {
namespace Render {

class TailTracker
{
public:
    static constexpr double kDefaultThresholdDb = -90.0;
    static constexpr double kDefaultQuietSeconds = 2.5; // the longest delay is 2001 ms
    static constexpr double kDefaultMaxSeconds = 30.0;
    static constexpr double kMarginSeconds = 0.05;

    TailTracker (double sampleRate, double maxSeconds = kDefaultMaxSeconds,
                 double quietSeconds = kDefaultQuietSeconds, double thresholdDb = kDefaultThresholdDb);

    // Frames to render in the next step (never more than maxBlock, never past the cap).
    std::size_t nextBlockFrames (std::size_t maxBlock) const;

    // Looks at rendered tail frames, channel by channel; frames beyond those the tracker
    // asked for are counted too.
    void observe (const float* const* channels, int channelCount, std::size_t frames);

    bool finished () const;
    bool reachedCap () const { return rendered >= maxFrames; }
    // The cap ended the tail while the output was still sounding.
    bool endedByCap () const { return reachedCap () && sawLoud && rendered - loudEnd < quietFrames; }
    std::size_t renderedFrames () const { return rendered; }

    // Tail frames worth keeping: up to the last sample above the threshold plus a short margin.
    std::size_t keptFrames () const;

    float threshold () const { return thresholdLinear; }

private:
    float thresholdLinear;
    std::size_t quietFrames;
    std::size_t maxFrames;
    std::size_t marginFrames;
    std::size_t rendered = 0;
    std::size_t loudEnd = 0; // one past the last frame above the threshold
    bool sawLoud = false;
};

} // namespace Render
} // namespace Tarnwick
