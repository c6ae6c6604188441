#include "ClipRun.h"

#include "ProgressBar.h"
#include "RenderTiming.h"
#include "TailTracker.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace Tarnwick {
namespace Render {

bool runClip (const AudioClip& input, const ClipRunSettings& settings, const BlockProcess& process,
              AudioClip& output, RenderReport& report, std::string& error)
{
    report = RenderReport ();
    const int channels = settings.channels;
    // Input channels as the bus sees them: a mono file feeds both sides of a stereo bus.
    std::vector<const float*> sources (static_cast<std::size_t> (channels));
    for (int c = 0; c < channels; ++c)
        sources[static_cast<std::size_t> (c)] =
            input.channels[static_cast<std::size_t> (std::min (c, input.channelCount () - 1))].data ();

    std::vector<std::vector<float>> silence (static_cast<std::size_t> (channels), std::vector<float> (kBlockFrames, 0.f));
    std::vector<std::vector<float>> scratch (static_cast<std::size_t> (channels), std::vector<float> (kBlockFrames, 0.f));
    std::vector<const float*> inPointers (static_cast<std::size_t> (channels));
    std::vector<float*> outPointers (static_cast<std::size_t> (channels));
    auto pointSilence = [&] () {
        for (std::size_t c = 0; c < silence.size (); ++c)
        {
            std::fill (silence[c].begin (), silence[c].end (), 0.f);
            inPointers[c] = silence[c].data ();
            outPointers[c] = scratch[c].data ();
        }
    };
    const std::string processError = "the plug-in failed to process a block";

    // Run-in: the settings arrive with the first block and the smoothing settles on silence.
    for (long done = 0, total = settleFrames (input.sampleRate); done < total; done += kBlockFrames)
    {
        pointSilence ();
        if (!process (inPointers.data (), outPointers.data (),
                      static_cast<int> (std::min<long> (kBlockFrames, total - done))))
        {
            error = processError;
            return false;
        }
    }

    const std::size_t inputFrames = input.frameCount ();
    output = AudioClip (input.sampleRate, channels, inputFrames);
    {
        ProgressBar progress (stderr, settings.showProgress, settings.progressLabel);
        for (std::size_t start = 0; start < inputFrames; start += kBlockFrames)
        {
            const auto count = static_cast<int> (std::min<std::size_t> (kBlockFrames, inputFrames - start));
            for (std::size_t c = 0; c < static_cast<std::size_t> (channels); ++c)
            {
                inPointers[c] = sources[c] + start;
                outPointers[c] = output.channels[c].data () + start;
            }
            if (!process (inPointers.data (), outPointers.data (), count))
            {
                error = processError;
                return false;
            }
            progress.update (start + static_cast<std::size_t> (count), inputFrames);
        }
    }

    // Tail: silence in until the output has stayed below the threshold long enough, or the cap.
    TailTracker tail (input.sampleRate, settings.maxTailSeconds);
    for (;;)
    {
        const auto count = static_cast<int> (tail.nextBlockFrames (kBlockFrames));
        if (count == 0)
            break;
        pointSilence ();
        if (!process (inPointers.data (), outPointers.data (), count))
        {
            error = processError;
            return false;
        }
        tail.observe (outPointers.data (), channels, static_cast<std::size_t> (count));
        for (std::size_t c = 0; c < static_cast<std::size_t> (channels); ++c)
            output.channels[c].insert (output.channels[c].end (), scratch[c].begin (), scratch[c].begin () + count);
    }

    const std::size_t kept = tail.keptFrames ();
    output.resizeFrames (inputFrames + kept);
    report.tailSeconds = static_cast<double> (kept) / input.sampleRate;
    report.tailCapped = tail.endedByCap ();
    if (report.tailCapped)
    {
        // Echoes still sounding at the cap: fade them out instead of cutting them off.
        const auto fade = std::min (kept, static_cast<std::size_t> (kCapFadeSeconds * input.sampleRate));
        const std::size_t end = output.frameCount ();
        for (std::size_t i = 0; i < fade; ++i)
        {
            const float gain = static_cast<float> (i) / static_cast<float> (fade);
            for (auto& channel : output.channels)
                channel[end - 1 - i] *= gain;
        }
    }

    if (!allSamplesFinite (output))
    {
        error = "the plug-in produced samples that are not finite numbers";
        return false;
    }
    return true;
}

} // namespace Render
} // namespace Tarnwick
