// The built-in demo signal: plucked notes, a bar of drums and a speech-like burst, with
// silent gaps in between so that echoes and the filter can be heard on their own.
#pragma once

#include "AudioClip.h"

namespace Tarnwick {
namespace Render {

class DemoSignal
{
public:
    static constexpr double kLengthSeconds = 6.5;
    static constexpr float kPeakLevel = 0.5f; // -6 dBFS, leaving headroom for feedback

    // Stereo clip at the given rate; identical on every call.
    static AudioClip generate (int sampleRate);
};

} // namespace Render
} // namespace Tarnwick
