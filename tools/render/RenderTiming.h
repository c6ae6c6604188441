// Timing shared by every rendering path (the renderer and the tests that compare against it).
#pragma once

namespace Tarnwick {
namespace Render {

// Frames handed to the plug-in per process call.
constexpr int kBlockFrames = 512;

// Silence processed after the preset and parameter settings and before the input, so that the
// plug-in's parameter smoothing has reached the chosen values when the first sample arrives
// (smoothing takes 100 ms; a second leaves it settled exactly).
constexpr double kSettleSeconds = 1.0;

inline long settleFrames (int sampleRate)
{
    return static_cast<long> (kSettleSeconds * sampleRate);
}

} // namespace Render
} // namespace Tarnwick
