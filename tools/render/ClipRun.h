// Runs one clip through a plug-in instance, whatever its format, as a DAW plays a track
// through it: a short silent run-in while the plug-in's smoothing settles (the settings
// arrive with its first block), the input in blocks, then a tail of silence until the
// echoes have died away.
#pragma once

#include "AudioClip.h"

#include <functional>
#include <string>

namespace Tarnwick {
namespace Render {

struct RenderReport
{
    double tailSeconds = 0.0;
    bool tailCapped = false; // the echoes were still sounding at the cap and were faded out
};

struct ClipRunSettings
{
    int channels = 2;         // 1 or 2; a mono input feeds both sides of a stereo run
    double maxTailSeconds = 30.0;
    bool showProgress = false;
    std::string progressLabel = "rendering";
};

// Processes one block of `frames` frames (at most kBlockFrames); false on failure.
using BlockProcess = std::function<bool (const float* const* inputs, float* const* outputs, int frames)>;

// Fade applied to the end of a tail cut at the cap.
constexpr double kCapFadeSeconds = 1.0;

bool runClip (const AudioClip& input, const ClipRunSettings& settings, const BlockProcess& process,
              AudioClip& output, RenderReport& report, std::string& error);

} // namespace Render
} // namespace Tarnwick
